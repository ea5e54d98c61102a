#include "tools/info_render.h"

#include <QPainter>
#include <QSaveFile>
#include <cmath>

#include "plot/painter_surface.h"
#include "plot/plot_window_size.h"
#include "plot/renderer.h"

namespace wendrel {

QImage RenderPlotPicture(const Workspace& ws, int width, int height) {
    const int outerWidth = OpenedWidth(width), outerHeight = OpenedHeight(height);
    const QSize pixels(static_cast<int>(std::lround(outerWidth / kRenderTwipsPerPixel)),
                       static_cast<int>(std::lround(outerHeight / kRenderTwipsPerPixel)));
    QImage image(pixels, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    PlotLayout layout;
    {
        PainterSurface surface(painter, pixels, kRenderTwipsPerPixel, PainterSurface::Cells);
        layout = RedrawPlot(ws, surface, {outerWidth, outerHeight, double(outerWidth)});
    }
    PaintPlotLabels(painter, layout, kRenderTwipsPerPixel, LabelFont(kRenderTwipsPerPixel));
    painter.end();
    return image;
}

std::string SavePng(const QImage& image, const std::string& path) {
    const QString name = QString::fromStdString(path);
    QSaveFile file(name);
    if (!file.open(QIODevice::WriteOnly)) return "cannot write " + path + ": " + file.errorString().toStdString();
    if (!image.save(&file, "PNG")) {
        file.cancelWriting();
        return "cannot write " + path + ": the picture could not be encoded as PNG";
    }
    if (!file.commit()) return "cannot write " + path + ": " + file.errorString().toStdString();
    return {};
}

}  // namespace wendrel
