// The intensity scale the plot shows its curves in: percent of each
// spectrum's continuum level (the default), or the flux as the file stores
// it. A slot's Offset moves its curve down by Offset percent of the level, or
// in flux by Offset percent of the largest flux maximum of the loaded slots.
#pragma once

#include <cstddef>
#include <string>

#include "store/workspace.h"

namespace wendrel {

// The largest FluxMax of the loaded slots; 0 when none is loaded.
double LargestFluxMax(const Workspace& ws);

// The intensity axis's title in flux: "Flux (UNIT)" with the FluxUnit of
// the loaded slots, "Flux (mixed units)" when they differ, "Flux" when none
// names one.
std::string FluxTitle(const Workspace& ws);

// The value of the slot's pixel at `index` (0-based) in the shown scale,
// without its offset: FluxPct, or Flux when the workspace shows flux. NaN
// for a blank pixel.
inline double ShownValue(const Workspace& ws, const Row& s, size_t index) {
    return ws.View.ScaleFlux ? s->Flux[index] : s->FluxPct[index];
}

// How far down the slot's offset moves its curve, in the shown scale's
// units (0 while the curves are not stacked); `largestFlux` is LargestFluxMax(ws), passed in so that a redraw
// works it out once.
inline double OffsetShift(const Workspace& ws, const Row& s, double largestFlux) {
    if (!ws.View.Look.StackCurves) return 0;
    return ws.View.ScaleFlux ? s.Offset * largestFlux / 100 : s.Offset;
}

}  // namespace wendrel
