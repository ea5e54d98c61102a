#include "plot/plot_layout.h"

#include "store/rounding.h"

namespace wendrel {

static_assert(kPlotWinMinWidth >= 800 + kMinBoxWidth + 415);

int StoredTwips(double twips) { return Nearest16(twips); }

}  // namespace wendrel
