// The band of +-1 sigma about a spectrum's values, by value blocks as the
// curves' extremes are (store/value_blocks.h): per kValueBlock pixels the
// lowest value - sigma and the highest value + sigma, made once at load, so
// that the band's extent over a long run of pixels costs a look at its whole
// blocks and at the pixels of two partial ones.
#pragma once

#include <cstdint>
#include <span>
#include <vector>

#include "store/spectrum.h"

namespace wendrel {

// The band of one scale: pixel p reaches from factor * (Flux - Sigma) to
// factor * (Flux + Sigma), with factor 1 in flux and 100 / Level in percent.
struct BandValues {
    std::span<const double> flux, sigma;
    double factor = 1;
    std::span<const ValueExtent> blocks;  // BandBlocksOf(flux, sigma, factor), or empty
};

// One extent per kValueBlock pixels: low the lowest finite factor * (flux -
// sigma), high the highest finite factor * (flux + sigma); blank where some
// pixel's band is not finite (a blank pixel or an unknown sigma).
std::vector<ValueExtent> BandBlocksOf(std::span<const double> flux, std::span<const double> sigma, double factor);

// Sets the spectrum's FluxBandBlocks and PctBandBlocks from its Flux, Sigma
// and Level; both empty when it has no Sigma.
void TakeBandBlocks(Spectrum& s);

// The band of the spectrum in flux or in percent; empty spans when it has no Sigma.
BandValues BandValuesOf(const Spectrum& s, bool inFlux);

// The band's extent over pixels from .. to - 1 (0-based), whole blocks from
// band.blocks when they are the band's, the rest pixel by pixel where the
// block they lie in could widen it (as ExtentOf).
ValueExtent BandExtentOf(const BandValues& band, int64_t from, int64_t to);

}  // namespace wendrel
