// The wavelength and intensity under the mouse cursor, read from the plot
// box that the last redraw laid out.
#pragma once

#include <string>

#include "plot/redraw_layout.h"
#include "store/workspace.h"

namespace wendrel {

enum class MousePointer { Arrow = 1, Cross = 2 };

struct CursorReadout {
    // Inside the plot box: the cross pointer and fresh read-outs. Outside
    // (a point on the box's edge counts as outside): the arrow, and the
    // read-out labels keep what they show.
    bool Inside = false;
    MousePointer Pointer = MousePointer::Arrow;
    float Wavelength = 0;  // Angstroms
    float Intensity = 0;   // the intensity axis's value, percent of continuum
    // 8 characters with 2 decimals; in a view whose wavelength ticks need
    // d > 1 decimals (plot/tick_rule.h), 7 + d characters with d + 1 decimals.
    std::string WavelengthCaption;
    std::string IntensityCaption;   // 8 characters, no decimals
};

// x and y are twips on the plot window's drawing surface. A box of no width
// or height has no inside, so nothing divides by its size.
CursorReadout ReadCursor(const Workspace& ws, const PlotLayout& layout, float x, float y);

}  // namespace wendrel
