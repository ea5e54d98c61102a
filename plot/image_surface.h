// A plot surface that draws into an image, for the plot window, printing and
// headless rendering. QtGui only: no widgets.
//
// Coordinates are the plot's twips; twips (x, y) fall in image pixel
// (floor(x / twipsPerPixel), floor(y / twipsPerPixel)), see plot/device_column.h.
// Horizontal and vertical lines light exactly the pixels they meet (both ends
// included), one pixel thick; any other line is drawn by QPainter without
// antialiasing. TwipsPerColumn() is twipsPerPixel, so the redraw draws dense
// curves as per-column envelopes and the picture is the same as drawing every
// segment.
//
// Labels are not drawn into the image: SetLabel records each label's place and
// caption (as the window's label controls would hold them), and PaintLabels or
// ImageWithLabels put them on top as black text, so a window, a printout and a
// headless render show the same picture. Cls() clears the image, not the labels.
//
// Typical use by a window:
//   ImageSurface surface(QSize(w, h), TwipsPerPixel(), [this] { show(); raise(); });
//   surface.SetOuterWidth(outerWidthTwips);
//   RedrawPlot(workspace, surface);            // then paint surface.Image() and the labels
#pragma once

#include <QColor>
#include <QFont>
#include <QImage>
#include <QSize>
#include <functional>
#include <map>
#include <optional>
#include <string>

#include "plot/plot_surface.h"

class QPainter;

namespace wendrel {

class ImageSurface : public PlotSurface {
public:
    static constexpr int kDashCells = 4;
    static constexpr int kGapCells = 3;
    using ShowHandler = std::function<void()>;

    struct PlacedLabel {
        double left = 0;  // twips
        double top = 0;   // twips
        std::string caption;
    };

    // An image of `pixelSize` device pixels, each `twipsPerPixel` twips wide and
    // high, filled with the background (white unless SetBackground says
    // otherwise). `onShow` runs on Show(); without one Show() does nothing.
    ImageSurface(QSize pixelSize, double twipsPerPixel, ShowHandler onShow = {});

    // PlotSurface
    void Show() override;
    void Cls() override;
    void SetForeColor(int32_t color) override;
    void Line(float x1, float y1, float x2, float y2) override;
    // Horizontal and vertical dashed lines light runs of kDashCells cells with
    // gaps of kGapCells, counted from the line's first cell; others are drawn
    // by QPainter's dash line.
    void DashedLine(float x1, float y1, float x2, float y2) override;
    // In the label font (LabelFont), drawn into the image.
    void CentredText(float x, float baseline, const std::string& text) override;
    void SetLabel(PlotLabel label, double left, double top, const std::string& caption) override;
    // The value given to SetOuterWidth, else the image's width in twips.
    double OuterWidth() const override;
    double TwipsPerColumn() const override { return twipsPerPixel_; }

    void SetShowHandler(ShowHandler onShow) { onShow_ = std::move(onShow); }
    // A new image of this size, filled with the background; labels are kept.
    void Resize(QSize pixelSize);
    void SetTwipsPerPixel(double twipsPerPixel) { twipsPerPixel_ = twipsPerPixel; }
    double TwipsPerPixel() const { return twipsPerPixel_; }
    // Takes effect at the next Cls() or Resize().
    void SetBackground(const QColor& color) { background_ = color; }
    void SetOuterWidth(double twips) { outerWidth_ = twips; }
    // Font of the painted labels; by default the application font at 8 points
    // (160 twips) on this surface's scale.
    void SetLabelFont(const QFont& font) { labelFont_ = font; }
    QFont LabelFont() const;

    const QImage& Image() const { return image_; }
    QColor ForeColor() const { return foreColor_; }
    const std::map<PlotLabel, PlacedLabel>& Labels() const { return labels_; }

    // Paints every label's caption at its place, its top-left corner at the
    // label's left and top, on a painter whose coordinates are this image's
    // pixels (scale the painter to paint them larger, as for a printer).
    void PaintLabels(QPainter& painter) const;
    // A copy of the image with the labels painted on it.
    QImage ImageWithLabels() const;

    // The colour of a value red + 256 * green + 65536 * blue.
    static QColor ColorOf(int32_t value);

private:
    void FillCells(int64_t col0, int64_t col1, int64_t row0, int64_t row1);

    QImage image_;
    double twipsPerPixel_;
    ShowHandler onShow_;
    QColor background_ = Qt::white;
    QColor foreColor_ = Qt::black;
    QRgb foreRgb_ = qRgb(0, 0, 0);
    std::optional<double> outerWidth_;
    std::optional<QFont> labelFont_;
    std::map<PlotLabel, PlacedLabel> labels_;
};

}  // namespace wendrel
