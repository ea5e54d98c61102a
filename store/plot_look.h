// How the plot is drawn, apart from what it shows: the axes' labels, the
// legend's place, the curves' colours and width, and whether the curves
// stand at their offsets. The defaults are the plot's classic look.
#pragma once

namespace wendrel {

struct PlotLook {
    // Classic: three intensity labels and two wavelength labels; Every: a
    // label at every major tick, minor ticks, and axis titles with units.
    enum class Axes { Classic, Every };
    Axes AxisLabels = Axes::Classic;
    // Where the legend goes while PlotView::ShowLegend is on: in the box's
    // quietest corner, or right of the box (which then narrows).
    bool LegendOutside = false;
    // A legend dragged in the window keeps its top-left corner (twips) until
    // the legend's place is chosen again.
    bool LegendMoved = false;
    double LegendLeft = 0, LegendTop = 0;
    // The curves in the High Contrast palette (plot/curve_palettes.h)
    // instead of each row's own colour.
    bool HighContrast = false;
    int LineWidth = 1;  // of the curves, in device pixels: 1 .. kMaxLineWidth
    // Off: every curve at offset 0, whatever the rows' offsets.
    bool StackCurves = true;

    bool operator==(const PlotLook&) const = default;
};

inline constexpr int kMaxLineWidth = 8;

}  // namespace wendrel
