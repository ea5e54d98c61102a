// Field-by-field comparison of two workspaces, for checking that a refused
// load left everything as it was.
#pragma once

#include <cmath>
#include <string>
#include <vector>

#include "store/workspace.h"

namespace wendrel::testing {

inline bool Same(double a, double b) { return (std::isnan(a) && std::isnan(b)) || a == b; }
inline bool Same(const std::vector<double>& a, const std::vector<double>& b) {
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i)
        if (!Same(a[i], b[i])) return false;
    return true;
}
template <class T>
bool Same(const T& a, const T& b) { return a == b; }

// The name of the first field that differs ("Slots[3].Flux", "LambdaMin"), or
// an empty text when the two are the same. NaN equals NaN here.
inline std::string WorkspaceDifference(const Workspace& a, const Workspace& b) {
    if (!(static_cast<const Settings&>(a) == static_cast<const Settings&>(b))) return "settings";
#define WENDREL_FIELD(f) if (!Same(x.f, y.f)) return at + #f;
    for (int i = 0; i <= kMaxSlots; ++i) {
        const Slot &x = a.slot(i), &y = b.slot(i);
        const std::string at = "Slots[" + std::to_string(i) + "].";
        WENDREL_FIELD(FileName) WENDREL_FIELD(Loaded) WENDREL_FIELD(ObjectName) WENDREL_FIELD(Bitpix)
        WENDREL_FIELD(Naxis1) WENDREL_FIELD(Bzero) WENDREL_FIELD(Lambda0) WENDREL_FIELD(DLambda)
        WENDREL_FIELD(LambdaStart) WENDREL_FIELD(LambdaEnd) WENDREL_FIELD(Dispersion) WENDREL_FIELD(PixelEdge)
        WENDREL_FIELD(Flux) WENDREL_FIELD(Level) WENDREL_FIELD(FluxPct) WENDREL_FIELD(PctMax) WENDREL_FIELD(Offset)
        WENDREL_FIELD(Velocity) WENDREL_FIELD(SlotColor) WENDREL_FIELD(HdrCard) WENDREL_FIELD(NumCards)
    }
    const Workspace &x = a, &y = b;
    const std::string at;
    WENDREL_FIELD(CurSlot) WENDREL_FIELD(NumSlots) WENDREL_FIELD(FilePath) WENDREL_FIELD(LambdaMin)
    WENDREL_FIELD(LambdaMax) WENDREL_FIELD(PlotLeft) WENDREL_FIELD(PlotRight) WENDREL_FIELD(PlotSpan)
    WENDREL_FIELD(DataReady) WENDREL_FIELD(PlotShown) WENDREL_FIELD(Drawing) WENDREL_FIELD(LineMarkSets)
    WENDREL_FIELD(HdrLoading) WENDREL_FIELD(HelpLoading)
#undef WENDREL_FIELD
    return {};
}

}  // namespace wendrel::testing
