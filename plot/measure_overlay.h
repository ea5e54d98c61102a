// The line measured last (Workspace::Measured) drawn over the plot.
#pragma once

#include "plot/plot_surface.h"
#include "plot/redraw_layout.h"
#include "store/workspace.h"

namespace wendrel {

// The colour of a fitted profile's components: grey.
inline constexpr int32_t kFitComponentColor = 128 + 256 * 128 + 65536 * 128;

// Dashed lines across the box in the slot's colour at the span's ends and
// the continuum between them in black, at the slot's wavelengths as drawn and
// in the shown scale less the slot's offset, all cut to the box. Draws
// nothing when nothing is measured or its slot is no longer loaded. A fit's
// profile is drawn in black over its components in grey, each on the continuum.
void DrawMeasuredSpan(const Workspace& ws, const PlotLayout& layout, PlotSurface& surface);

}  // namespace wendrel
