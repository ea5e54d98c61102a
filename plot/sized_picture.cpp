#include "plot/sized_picture.h"

#include <QFontMetricsF>
#include <QImage>
#include <cmath>

#include "plot/plot_layout.h"
#include "plot/renderer.h"

namespace wendrel {

namespace {

// Lays the plot out without drawing, to learn where its labels fall.
class LayoutOnlySurface : public PlotSurface {
public:
    LayoutOnlySurface(double twipsPerUnit, const QFont& font) : twipsPerUnit_(twipsPerUnit), metrics_(font) {}
    void SetForeColor(int32_t) override {}
    void Line(float, float, float, float) override {}
    void DashedLine(float, float, float, float) override {}
    void CentredText(float, float, const std::string&) override {}
    double TextWidth(const std::string& text) const override {
        return metrics_.horizontalAdvance(QString::fromStdString(text)) * twipsPerUnit_;
    }
    void FillRect(float, float, float, float) override {}
    double TwipsPerColumn() const override { return twipsPerUnit_; }  // envelopes: fewer calls for nothing

private:
    double twipsPerUnit_;
    QFontMetricsF metrics_;
};

}  // namespace

int PixelsOfInches(double inches, double dpi) { return static_cast<int>(std::lround(inches * dpi)); }

double InchesOfPixels(int pixels, double dpi) { return dpi > 0 ? pixels / dpi : 0; }

std::string PictureRequestProblem(const PictureRequest& r) {
    const auto text = [](double v) { return std::to_string(static_cast<int>(v)); };
    if (r.width < kMinPicturePixels || r.width > kMaxPicturePixels || r.height < kMinPicturePixels ||
        r.height > kMaxPicturePixels)
        return "The picture must be " + text(kMinPicturePixels) + " to " + text(kMaxPicturePixels) +
               " pixels wide and high; " + std::to_string(r.width) + " x " + std::to_string(r.height) +
               " was asked for.";
    if (!(r.dpi >= kMinPictureDpi && r.dpi <= kMaxPictureDpi))
        return "The resolution must be " + text(kMinPictureDpi) + " to " + text(kMaxPictureDpi) + " dots per inch.";
    if (!(r.fontPoints >= kMinFontPoints && r.fontPoints <= kMaxFontPoints))
        return "The font size must be " + text(kMinFontPoints) + " to " + text(kMaxFontPoints) + " points.";
    return {};
}

double PictureTwipsPerPixel(const PictureRequest& r) { return 160.0 * 72.0 / (r.fontPoints * r.dpi); }

void PaintSizedPicture(QPainter& painter, const Workspace& ws, const PictureRequest& request,
                       PainterSurface::Target target) {
    const double t = PictureTwipsPerPixel(request);
    const QFont font = LabelFont(t);
    const double labelHeight = QFontMetricsF(font).height() * t;
    const QSize size(request.width, request.height);
    // The controls' band below the box is left out: the area is as much
    // higher than the picture as a first layout shows.
    const int width = static_cast<int>(std::lround(request.width * t));
    const int height = static_cast<int>(std::lround(request.height * t));
    PlotArea area{width, height, double(width)};
    LayoutOnlySurface measure(t, font);
    area.height += static_cast<int>(std::lround(height - PlotPictureHeight(RedrawPlot(ws, measure, area), labelHeight)));
    painter.fillRect(QRect(QPoint(0, 0), size), Qt::white);
    PlotLayout layout;
    {
        PainterSurface surface(painter, size, t, target, font);
        layout = RedrawPlot(ws, surface, area);
    }
    PaintPlotLabels(painter, layout, t, font);
}

QImage SizedPictureImage(const Workspace& ws, const PictureRequest& request) {
    QImage image(request.width, request.height, QImage::Format_RGB32);
    image.setDevicePixelRatio(1);
    image.setDotsPerMeterX(static_cast<int>(std::lround(request.dpi / 0.0254)));
    image.setDotsPerMeterY(static_cast<int>(std::lround(request.dpi / 0.0254)));
    QPainter painter(&image);
    PaintSizedPicture(painter, ws, request, PainterSurface::Cells);
    return image;
}

}  // namespace wendrel
