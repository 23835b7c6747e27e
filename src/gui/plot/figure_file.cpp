#include "gui/plot/figure_file.h"

#include <qcustomplot.h>
#include <QBuffer>
#include <QFont>
#include <QImage>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QSvgGenerator>
#include <cmath>

#include "core/workspace/records.h"
#include "gui/plot/plot_painter.h"

namespace zephalo::gui {

namespace {

// Pixels per inch of a vector page: a figure of 800 x 600 pixels is a page
// of 800 x 600 at this resolution.
constexpr int kPageDpi = 96;

// Draws the plot scaled from its layout to `width` device units across.
void paintScaled(QCPPainter& painter, double width, QSize size, const FigurePainter& paint) {
    const double scale = width / kFigureLayoutWidth;
    painter.setRenderHint(QPainter::Antialiasing, true);
    painter.setRenderHint(QPainter::TextAntialiasing, true);
    painter.scale(scale, scale);
    QFont font;
    font.setPixelSize(kFigureFontPixels);
    const QRect bounds(0, 0, kFigureLayoutWidth,
                       static_cast<int>(std::lround(size.height() / scale)));
    paint(painter, bounds, font);
}

}  // namespace

std::string figureBytes(core::plot::FigureFormat format, QSize size, const FigurePainter& paint,
                        const QString& title) {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    switch (format) {
        case core::plot::FigureFormat::Png: {
            QImage image(size, QImage::Format_RGB32);
            image.fill(Qt::white);
            QCPPainter painter(&image);
            paintScaled(painter, size.width(), size, paint);
            painter.end();
            image.save(&buffer, "PNG");
            break;
        }
        case core::plot::FigureFormat::Svg: {
            QSvgGenerator generator;
            generator.setOutputDevice(&buffer);
            generator.setSize(size);
            generator.setViewBox(QRect(QPoint(0, 0), size));
            generator.setResolution(kPageDpi);
            generator.setTitle(title);
            QCPPainter painter(&generator);
            paintScaled(painter, size.width(), size, paint);
            break;
        }
        case core::plot::FigureFormat::Pdf: {
            QPdfWriter writer(&buffer);
            writer.setTitle(title);
            writer.setResolution(kPageDpi);
            writer.setPageSize(QPageSize(QSizeF(size) * 72.0 / kPageDpi, QPageSize::Point));
            writer.setPageMargins(QMarginsF(0, 0, 0, 0));
            QCPPainter painter(&writer);
            paintScaled(painter, writer.width(), QSize(writer.width(), writer.height()), paint);
            break;
        }
    }
    buffer.close();
    return bytes.toStdString();
}

core::Status writeFigure(const std::filesystem::path& file, core::plot::FigureFormat format,
                         QSize size, const FigurePainter& paint, const QString& title) {
    return core::writeTextFileAtomic(file, figureBytes(format, size, paint, title));
}

}  // namespace zephalo::gui
