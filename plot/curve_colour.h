// The colour a row's curve, its zero-level marker and its legend bar are
// drawn in: the row's own colour, or its High Contrast colour while the view
// asks for that palette.
#pragma once

#include <cstdint>

#include "plot/curve_palettes.h"
#include "store/workspace.h"

namespace wendrel {

inline int32_t CurveColour(const Workspace& ws, int slot) {
    if (!ws.View.Look.HighContrast || slot < 1 || slot > kMaxSlots) return ws.slot(slot).SlotColor;
    return PaletteColours(CurvePalette::HighContrast)[static_cast<size_t>(slot - 1)];
}

}  // namespace wendrel
