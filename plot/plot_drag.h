// A drag of the mouse across the plot box: what it does by the keys held,
// the band it shows while it lasts, and when it is only a click.
#pragma once

#include "plot/redraw_layout.h"

namespace wendrel {

// Zoom to the dragged wavelengths; with Shift, set the intensity axis to the
// dragged heights; with Ctrl, measure the line between the dragged
// wavelengths; with Shift and Ctrl, fit lines between them.
enum class DragKind { Zoom, IntensityRange, Measure, Fit };

inline DragKind DragKindFor(bool shift, bool control) {
    if (control) return shift ? DragKind::Fit : DragKind::Measure;
    return shift ? DragKind::IntensityRange : DragKind::Zoom;
}

// A drag that moved fewer pixels than this along its axis (across for
// wavelengths, up or down for intensities) is a click.
inline constexpr int kClickPixels = 4;

inline bool IsClick(DragKind kind, int dxPixels, int dyPixels) {
    const int moved = kind == DragKind::IntensityRange ? dyPixels : dxPixels;
    return moved < kClickPixels && moved > -kClickPixels;
}

struct TwipsBand {
    double left = 0, top = 0, right = 0, bottom = 0;
};

// The band from the drag's start to (x, y), in twips, held inside the box:
// between the two x across the box's height for wavelengths, between the two
// y across its width for intensities.
TwipsBand DragBand(const PlotLayout& layout, DragKind kind, double startX, double startY, double x, double y);

}  // namespace wendrel
