#include "gui/plot/figure_command.h"

#include <qcustomplot.h>
#include <QApplication>
#include <QFont>
#include <QPainter>
#include <memory>

#include "gui/plot/figure_file.h"
#include "gui/plot/map_plot.h"
#include "gui/plot/plot_painter.h"

namespace zephalo::gui {

namespace {

// The application a figure needs (fonts, and widgets for the map), started
// offscreen unless the user chose a platform.
class FigureApplication {
public:
    FigureApplication() {
        if (QCoreApplication::instance()) return;
        if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
        m_app = std::make_unique<QApplication>(m_argc, m_argv);
    }

private:
    int m_argc = 1;
    char m_name[12] = "zephalo-cli";
    char* m_argv[2] = {m_name, nullptr};
    std::unique_ptr<QApplication> m_app;
};

core::Status write(const std::filesystem::path& file, int width, int height,
                   const FigurePainter& paint, std::string_view title) {
    const auto format = core::plot::figureFormatOf(file);
    if (!format) return core::Status::failure(file.string());
    return writeFigure(file, *format, QSize(width, height), paint,
                       QString::fromUtf8(title.data(), static_cast<qsizetype>(title.size())));
}

}  // namespace

core::Status writePanelFigure(const core::plot::Picture& picture, const std::filesystem::path& file,
                              int width, int height) {
    FigureApplication application;
    return write(
        file, width, height,
        [&](QCPPainter& painter, const QRect& bounds, const QFont& font) {
            paintPlot(painter, layoutPlot(bounds, font, picture, true), picture, PlotView{});
        },
        picture.title);
}

core::Status writeMapFigure(const core::rixs::RixsPlane& plane, std::optional<double> measured,
                            const std::filesystem::path& file, int width, int height) {
    FigureApplication application;
    QCustomPlot plot;
    MapPlot map(&plot);
    map.show(plane, measured);
    return write(
        file, width, height,
        [&](QCPPainter& painter, const QRect& bounds, const QFont& font) {
            plot.setFont(font);
            plot.toPainter(&painter, bounds.width(), bounds.height());
        },
        map.title());
}

}  // namespace zephalo::gui
