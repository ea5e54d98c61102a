#include "plot/plot_layout.h"

#include <algorithm>

#include "store/rounding.h"

namespace wendrel {

static_assert(kPlotWinMinWidth >= 800 + kMinBoxWidth + 415);

const BottomPlace& PlaceOf(BottomControl control) {
    return *std::find_if(kBottomControls.begin(), kBottomControls.end(),
                         [control](const BottomPlace& p) { return p.Control == control; });
}

int StoredTwips(double twips) { return Nearest16(twips); }

}  // namespace wendrel
