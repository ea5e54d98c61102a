#include "plot/plot_layout.h"

#include <algorithm>
#include <limits>

#include "store/rounding.h"

namespace wendrel {

static_assert(kPlotWinMinWidth >= 800 + kMinBoxWidth + 415);

double PlotPictureHeight(const PlotLayout& layout, double labelHeight) {
    double bottom = std::max<double>(layout.y1, layout.textBottom);
    for (const auto& [label, placed] : layout.labels)
        if (!placed.caption.empty()) bottom = std::max(bottom, placed.top + labelHeight);
    return bottom + 60;
}

int StoredTwips(double twips) { return Nearest16(twips); }

int SizeTwips(double twips) {
    return static_cast<int>(std::clamp<int64_t>(RoundHalfEven(twips), std::numeric_limits<int>::min(),
                                                std::numeric_limits<int>::max()));
}

}  // namespace wendrel
