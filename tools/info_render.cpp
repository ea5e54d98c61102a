#include "tools/info_render.h"

#include <QPainter>
#include <cmath>

#include "plot/painter_surface.h"
#include "plot/picture_files.h"
#include "plot/plot_window_size.h"
#include "plot/renderer.h"

namespace wendrel {

namespace {

QSize PictureSize(const RenderShape& shape) {
    return {static_cast<int>(std::lround(OpenedWidth(shape.width) / kRenderTwipsPerPixel)),
            static_cast<int>(std::lround(OpenedHeight(shape.height) / kRenderTwipsPerPixel))};
}

void PaintRendered(QPainter& painter, const Workspace& ws, const RenderShape& shape, PainterSurface::Target target) {
    const int outerWidth = OpenedWidth(shape.width), outerHeight = OpenedHeight(shape.height);
    const QSize pixels = PictureSize(shape);
    const QFont font = LabelFont(kRenderTwipsPerPixel * 8 / shape.fontPoints);
    painter.fillRect(QRect(QPoint(0, 0), pixels), Qt::white);
    PlotLayout layout;
    {
        PainterSurface surface(painter, pixels, kRenderTwipsPerPixel, target, font);
        layout = RedrawPlot(ws, surface, {outerWidth, outerHeight, double(outerWidth)});
    }
    PaintPlotLabels(painter, layout, kRenderTwipsPerPixel, font);
}

}  // namespace

QImage RenderPlotPicture(const Workspace& ws, const RenderShape& shape) {
    QImage image(PictureSize(shape), QImage::Format_RGB32);
    QPainter painter(&image);
    PaintRendered(painter, ws, shape, PainterSurface::Cells);
    painter.end();
    return image;
}

std::string WriteRenderedPicture(const Workspace& ws, const RenderShape& shape, const std::string& path) {
    const QString name = QString::fromStdString(path);
    const std::optional<PictureFormat> format = PictureFormatOf(name);
    if (!format) return SaveFailureMessage(name, "the name must end in .png, .svg or .pdf");
    if (*format == PictureFormat::Png) return WritePng(RenderPlotPicture(ws, shape), name);
    const auto paint = [&](QPainter& painter) { PaintRendered(painter, ws, shape, PainterSurface::Floating); };
    return *format == PictureFormat::Svg ? WriteSvg(PictureSize(shape), paint, name)
                                         : WritePdf(PictureSize(shape), 1440.0 / kRenderTwipsPerPixel, paint, name);
}

}  // namespace wendrel
