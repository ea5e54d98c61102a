// The plot surface that paints through a QPainter: onto the plot window's
// image, a headless render, an SVG drawing or a PDF page. QtGui only: no
// widgets.
//
// The painter's units are the target's: one unit is `twipsPerUnit` twips of
// the plot (a pixel of the window's image, an SVG pixel). Every line is cut
// to the target, with a margin of two units, before it is painted: an SVG
// drawing does not honour the painter's clip.
//
// On a raster target (Cells) twips (x, y) fall in cell (floor(x /
// twipsPerUnit), floor(y / twipsPerUnit)), see plot/device_column.h.
// Horizontal and vertical lines fill exactly the cells they meet (both ends
// included), one cell thick, dashes kDashUnits cells with gaps of kGapUnits
// counted from the line's first cell; any other line is a cosmetic line
// without antialiasing through the middles of its cells. TwipsPerColumn() is
// one cell, so that the envelopes of dense curves give the same picture as
// drawing every segment.
//
// Filled rectangles cover the cells their corners span on a raster, and the
// same area, those cells' far edges included, on a vector target.
//
// On a vector target (Floating) lines are one unit wide with square ends,
// running half a unit past their twips, through the cells the raster would
// light; dashes of kDashUnits with gaps of kGapUnits start at the top or left
// end. Lines that join in one colour are painted as one polyline.
// TwipsPerColumn() is a quarter unit, so dense curves are drawn as envelopes
// at four times the window's resolution.
//
// Typical use:
//   QPainter painter(&image);
//   PlotLayout layout;
//   {
//       PainterSurface surface(painter, image.size(), twipsPerPixel, PainterSurface::Cells);
//       layout = RedrawPlot(ws, surface, area);
//   }
//   PaintPlotLabels(painter, layout, twipsPerPixel, LabelFont(twipsPerPixel));
#pragma once

#include <QColor>
#include <QFont>
#include <QPolygonF>
#include <QSizeF>
#include <optional>

#include "plot/plot_surface.h"
#include "plot/redraw_layout.h"

class QImage;
class QPainter;

namespace wendrel {

class PainterSurface : public PlotSurface {
public:
    enum Target { Cells, Floating };
    static constexpr int kDashUnits = 4;
    static constexpr int kGapUnits = 3;

    // Paints on `painter` (whose state it restores when it goes) over a
    // target `size` units large; texts in `textFont`, LabelFont by default.
    PainterSurface(QPainter& painter, QSizeF size, double twipsPerUnit, Target target);
    PainterSurface(QPainter& painter, QSizeF size, double twipsPerUnit, Target target, const QFont& textFont);
    ~PainterSurface() override;
    PainterSurface(const PainterSurface&) = delete;
    PainterSurface& operator=(const PainterSurface&) = delete;

    void SetForeColor(int32_t color) override;
    void Line(float x1, float y1, float x2, float y2) override;
    void DashedLine(float x1, float y1, float x2, float y2) override;
    void CentredText(float x, float baseline, const std::string& text) override;
    double TextWidth(const std::string& text) const override;
    double TextAscent() const override;
    double TextDescent() const override;
    // Axis-aligned lines on a raster grow right and down by width - 1 cells.
    void SetLineWidth(int units) override;
    void FillRect(float x1, float y1, float x2, float y2) override;
    double TwipsPerColumn() const override { return target_ == Cells ? twipsPerUnit_ : twipsPerUnit_ / 4; }

private:
    void FillCells(int64_t col0, int64_t col1, int64_t row0, int64_t row1);
    void FloatingLine(float x1, float y1, float x2, float y2, bool dashed);
    void FlushPolyline();

    QPainter& painter_;
    QImage* image_ = nullptr;  // the painter's image, when cells can be written directly
    QSizeF size_;
    double twipsPerUnit_;
    Target target_;
    mutable std::optional<QFont> textFont_;  // LabelFont when none is given
    QColor color_ = Qt::black;
    int lineWidth_ = 1;
    QPolygonF polyline_;  // joined floating lines not yet painted
};

// The colour of a value red + 256 * green + 65536 * blue.
QColor ColorOf(int32_t value);

// The application font at 8 points (160 twips) on a surface of `twipsPerUnit`.
QFont LabelFont(double twipsPerUnit);

// Paints each label of the layout that has a caption in black, its top-left
// corner at the label's place, on a painter in units of `twipsPerUnit` twips.
void PaintPlotLabels(QPainter& painter, const PlotLayout& layout, double twipsPerUnit, const QFont& font);

}  // namespace wendrel
