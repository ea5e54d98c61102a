#include "plot/intensity_scale.h"

#include <algorithm>
#include <cmath>

namespace wendrel {

double LargestFluxMax(const Workspace& ws) {
    double largest = 0;
    bool any = false;
    for (int i = 1; i <= kMaxSlots; ++i) {
        const Row& s = ws.slot(i);
        if (!s.Loaded()) continue;
        largest = any ? std::max(largest, s->FluxMax) : s->FluxMax;
        any = true;
    }
    return largest;
}

std::string FluxTitle(const Workspace& ws) {
    const std::string* unit = nullptr;
    for (int i = 1; i <= kMaxSlots; ++i) {
        const Row& s = ws.slot(i);
        if (!s.Loaded()) continue;
        if (unit && *unit != s->FluxUnit) return "Flux (mixed units)";
        unit = &s->FluxUnit;
    }
    return !unit || unit->empty() ? "Flux" : "Flux (" + *unit + ")";
}

}  // namespace wendrel
