#include "gui/plot/plot_export.h"

#include <QAction>
#include <QBuffer>
#include <QImage>
#include <QMessageBox>
#include <QPainter>
#include <QSvgGenerator>
#include <QWidget>
#include <utility>

#include "core/workspace/records.h"
#include "gui/plot/export_captions.h"
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

std::string PlotExporter::imageBytes(ExportFormat format) const {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    if (format == ExportFormat::Svg) {
        QSvgGenerator generator;
        generator.setOutputDevice(&buffer);
        generator.setSize(m_plot->size());
        generator.setViewBox(QRect(QPoint(0, 0), m_plot->size()));
        generator.setTitle(m_plot->window()->windowTitle());
        QPainter painter(&generator);
        m_plot->render(&painter);
        painter.end();
    } else {
        m_plot->grab().toImage().save(&buffer, "PNG");
    }
    return bytes.toStdString();
}

void PlotExporter::saveImage() {
    const auto target = m_choose(m_plot, true);
    if (!target) return;
    save(*target, imageBytes(target->format));
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
    tell(plot::captions::savedText(core::pathText(target.path)), false);
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
