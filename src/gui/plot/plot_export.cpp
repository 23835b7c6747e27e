#include "gui/plot/plot_export.h"

#include <qcustomplot.h>
#include <QAction>
#include <QMessageBox>
#include <QPainter>
#include <QWidget>
#include <utility>

#include "core/plot/plot_texts.h"
#include "core/workspace/records.h"
#include "gui/plot/export_captions.h"
#include "gui/plot/figure_file.h"
#include "gui/plot/plot_panel.h"
#include "gui/widgets/message_panel.h"

namespace zephalo::gui {

PlotExporter::PlotExporter(QWidget* plot, SeriesProvider series)
    : QObject(plot), m_plot(plot), m_series(std::move(series)) {
    m_choose = [](QWidget* parent, bool image) { return chooseExportFile(parent, image); };
    m_image = new QAction(toQt(plot::captions::kSaveImage), plot);
    m_data = new QAction(toQt(plot::captions::kSaveData), plot);
    connect(m_image, &QAction::triggered, this, &PlotExporter::saveImage);
    connect(m_data, &QAction::triggered, this, &PlotExporter::saveData);
    plot->addAction(m_image);
    plot->addAction(m_data);
    plot->setContextMenuPolicy(Qt::ActionsContextMenu);
}

std::string PlotExporter::imageBytes(ExportFormat format, QSize size) const {
    const auto figureFormat = format == ExportFormat::Svg   ? core::plot::FigureFormat::Svg
                              : format == ExportFormat::Pdf ? core::plot::FigureFormat::Pdf
                                                            : core::plot::FigureFormat::Png;
    FigurePainter paint;
    if (const auto* panel = qobject_cast<const PlotPanel*>(m_plot)) {
        paint = [panel](QCPPainter& painter, const QRect& bounds, const QFont& font) {
            panel->paintFigure(painter, bounds, font);
        };
    } else if (auto* custom = qobject_cast<QCustomPlot*>(m_plot)) {
        paint = [custom](QCPPainter& painter, const QRect& bounds, const QFont&) {
            custom->toPainter(&painter, bounds.width(), bounds.height());
        };
    } else {
        // Any other widget as it draws itself, stretched over the figure.
        paint = [this](QCPPainter& painter, const QRect& bounds, const QFont&) {
            painter.scale(double(bounds.width()) / m_plot->width(),
                          double(bounds.height()) / m_plot->height());
            m_plot->render(&painter);
        };
    }
    return figureBytes(figureFormat, size, paint, m_plot->window()->windowTitle());
}

void PlotExporter::saveImage() {
    const auto target = m_choose(m_plot, true);
    if (!target) return;
    save(*target, imageBytes(target->format, target->size));
}

void PlotExporter::saveData() {
    const auto target = m_choose(m_plot, false);
    if (!target) return;
    const auto series = m_series ? m_series() : std::vector<core::plot::Series>{};
    save(*target, core::plot::formatSeries(series));
}

void PlotExporter::save(const ExportTarget& target, const std::string& bytes) {
    if (auto status = core::writeTextFileAtomic(target.path, bytes); !status) {
        tell(status.error(), true);
        return;
    }
    tell(core::plot::texts::savedText(core::pathText(target.path)), false);
}

void PlotExporter::tell(const std::string& text, bool failed) {
    if (auto* panel = m_plot->window()->findChild<MessagePanel*>()) {
        panel->setText(text);
    } else if (failed) {
        QMessageBox::warning(m_plot->window(), m_plot->window()->windowTitle(), toQt(text));
    }
}

PlotExporter* attachExport(QWidget* plot, SeriesProvider series) {
    return new PlotExporter(plot, std::move(series));
}

}  // namespace zephalo::gui
