#include "app/derived_spectrum.h"

#include <cmath>
#include <limits>

#include "fits/continuum_level.h"
#include "fits/percent_values.h"
#include "store/value_blocks.h"

namespace wendrel {

std::shared_ptr<Spectrum> WithPixelValues(const Spectrum& base, std::vector<double> flux,
                                                std::vector<double> sigma, double level) {
    auto made = std::make_shared<Spectrum>(base);
    made->Flux = std::move(flux);
    made->Sigma = std::move(sigma);
    made->Level = level;
    made->FluxPct.assign(made->Flux.size(), 0);
    PercentOfLevel(made->Flux, level, made->FluxPct);
    for (double& v : made->FluxPct)
        if (std::isinf(v)) v = std::numeric_limits<double>::quiet_NaN();
    made->PctMax = LargestOf(made->FluxPct, -9999);
    made->FluxMax = LargestOf(made->Flux, -std::numeric_limits<double>::max());
    made->FluxBlocks = BlockExtentsOf(made->Flux);
    made->PctBlocks = BlockExtentsOf(made->FluxPct);
    return made;
}

}  // namespace wendrel
