// Field-by-field comparison of two workspaces, for checking that a refused
// load left everything as it was.
#pragma once

#include <cmath>
#include <string>
#include <vector>

#include "store/workspace.h"

namespace wendrel::testing {

namespace detail {

inline bool Same(double a, double b) { return (std::isnan(a) && std::isnan(b)) || a == b; }
inline bool Same(const std::vector<double>& a, const std::vector<double>& b) {
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i)
        if (!Same(a[i], b[i])) return false;
    return true;
}
template <class T>
bool Same(const T& a, const T& b) {
    return a == b;
}

}  // namespace detail

// The name of the first field that differs ("Slots[3].Flux", "LambdaMin"), or
// an empty text when the two workspaces are the same. NaN equals NaN here.
inline std::string WorkspaceDifference(const Workspace& a, const Workspace& b) {
    using detail::Same;
    if (!(static_cast<const Settings&>(a) == static_cast<const Settings&>(b))) return "settings";
    for (int i = 0; i <= kMaxSlots; ++i) {
        const Slot& x = a.slot(i);
        const Slot& y = b.slot(i);
        const std::string at = "Slots[" + std::to_string(i) + "].";
#define WENDREL_SLOT_FIELD(f) \
    if (!Same(x.f, y.f)) return at + #f;
        WENDREL_SLOT_FIELD(FileName)
        WENDREL_SLOT_FIELD(Loaded)
        WENDREL_SLOT_FIELD(ObjectName)
        WENDREL_SLOT_FIELD(Bitpix)
        WENDREL_SLOT_FIELD(Naxis1)
        WENDREL_SLOT_FIELD(Bzero)
        WENDREL_SLOT_FIELD(Lambda0)
        WENDREL_SLOT_FIELD(DLambda)
        WENDREL_SLOT_FIELD(LambdaStart)
        WENDREL_SLOT_FIELD(LambdaEnd)
        WENDREL_SLOT_FIELD(Dispersion)
        WENDREL_SLOT_FIELD(PixelEdge)
        WENDREL_SLOT_FIELD(Flux)
        WENDREL_SLOT_FIELD(Level)
        WENDREL_SLOT_FIELD(FluxPct)
        WENDREL_SLOT_FIELD(PctMax)
        WENDREL_SLOT_FIELD(Offset)
        WENDREL_SLOT_FIELD(Velocity)
        WENDREL_SLOT_FIELD(SlotColor)
        WENDREL_SLOT_FIELD(HdrCard)
        WENDREL_SLOT_FIELD(NumCards)
#undef WENDREL_SLOT_FIELD
    }
#define WENDREL_WORKSPACE_FIELD(f) \
    if (!Same(a.f, b.f)) return #f;
    WENDREL_WORKSPACE_FIELD(CurSlot)
    WENDREL_WORKSPACE_FIELD(NumSlots)
    WENDREL_WORKSPACE_FIELD(FilePath)
    WENDREL_WORKSPACE_FIELD(LambdaMin)
    WENDREL_WORKSPACE_FIELD(LambdaMax)
    WENDREL_WORKSPACE_FIELD(PlotLeft)
    WENDREL_WORKSPACE_FIELD(PlotRight)
    WENDREL_WORKSPACE_FIELD(PlotSpan)
    WENDREL_WORKSPACE_FIELD(DataReady)
    WENDREL_WORKSPACE_FIELD(PlotShown)
    WENDREL_WORKSPACE_FIELD(Drawing)
    WENDREL_WORKSPACE_FIELD(LineMarkSets)
    WENDREL_WORKSPACE_FIELD(HdrLoading)
    WENDREL_WORKSPACE_FIELD(HelpLoading)
#undef WENDREL_WORKSPACE_FIELD
    return {};
}

}  // namespace wendrel::testing
