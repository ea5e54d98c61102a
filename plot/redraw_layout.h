// What one redraw of the plot laid out: the plot box, the intensity range,
// the pixels of each slot in view and the labels it placed. The plot window
// keeps the last one for the cursor read-out and its label controls.
#pragma once

#include <array>
#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "store/workspace.h"

namespace wendrel {

// The outer size, in twips, of the window or picture the plot is drawn on:
// the box keeps fixed margins inside width x height, and the wavelength
// axis title is placed by titleWidth (a window's current outer width, which
// a resize under way may have moved away from width).
struct PlotArea {
    int width = 0, height = 0;
    double titleWidth = 0;
};

// The labels each redraw places around the plot box.
enum class PlotLabel {
    WavelengthFirstTick,
    WavelengthLastTick,
    WavelengthTitle,
    IntensityTopTick,
    IntensityStep,
    IntensityBottomTick,
    IntensityTitle,  // in flux only; empty in percent
};

inline constexpr std::array kPlotLabels = {PlotLabel::WavelengthFirstTick, PlotLabel::WavelengthLastTick,
                                           PlotLabel::WavelengthTitle,     PlotLabel::IntensityTopTick,
                                           PlotLabel::IntensityStep,       PlotLabel::IntensityBottomTick,
                                           PlotLabel::IntensityTitle};

struct PlacedLabel {
    double left = 0;  // twips
    double top = 0;   // twips
    std::string caption;
};

// First and last pixel of a slot inside the plotted range.
struct PixelsShown {
    int64_t first = 0;
    int64_t last = 0;
};

// Where the legend shows a slot, for a click that picks it.
struct LegendEntry {
    int slot = 0;
    int x0 = 0, y0 = 0, x1 = 0, y1 = 0;  // twips
};

struct PlotLayout {
    // The plot box in the plot window's twips.
    int x0 = 0, x1 = 0, y0 = 0, y1 = 0;
    // The intensity axis's range, in the shown scale (plot/intensity_scale.h).
    double yMin = 0, yMax = 0;
    // Indexed by slot number, 1..10; left at 0 for slots not loaded.
    std::array<PixelsShown, kMaxSlots + 1> pixels{};
    // Every label the redraw placed, an axis without ticks with empty captions.
    std::map<PlotLabel, PlacedLabel> labels;
    // The legend's entries, when it is shown.
    std::vector<LegendEntry> legend;
    double legendLeft = 0, legendTop = 0;  // the legend's top-left corner, when it is shown
    // The lowest twip reached by the texts drawn on the surface itself (the
    // axes' labels of the every-tick look); 0 when there are none.
    double textBottom = 0;
};

}  // namespace wendrel
