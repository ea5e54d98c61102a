// One spectrum's pixels as the analysis functions take them: the wavelengths
// of the pixel centres in Angstroms (strictly rising), the flux (NaN marks a
// blank pixel) and its 1-sigma uncertainty (empty when unknown, NaN where
// unknown for a pixel), all of one length, and the medium of the wavelengths.
// A row only views its arrays; RowData owns them for a Spectrum.
#pragma once

#include <span>
#include <string>
#include <vector>

#include "analysis/air_vacuum.h"
#include "store/spectrum.h"

namespace wendrel {

struct SpectrumRow {
    std::span<const double> Wavelength;
    std::span<const double> Flux;
    std::span<const double> Sigma;
    Medium WavelengthMedium = Medium::Unknown;
};

// A Spectrum's pixel centres with views of its flux and sigma; keep it alive
// while its Row() is used.
struct RowData {
    explicit RowData(const Spectrum& s);
    RowData(const RowData&) = delete;
    RowData& operator=(const RowData&) = delete;
    std::vector<double> Centres;
    SpectrumRow Row;
};

// The wavelengths of a spectrum's pixel centres (computed on a linear scale,
// PixelCentre otherwise).
std::vector<double> PixelCentresOf(const Spectrum& s);

// Pixel edges for pixel centres: halfway between neighbours, and half a step
// beyond the end pixels (n + 1 values for n centres; empty for none).
std::vector<double> PixelEdgesOfCentres(std::span<const double> centres);

// Why a row cannot be used (sizes differ, fewer than `fewest` pixels,
// wavelengths not finite and rising), as a sentence naming it by `name`;
// empty when it can.
std::string RowFault(const SpectrumRow& row, std::string_view name, size_t fewest = 2);

}  // namespace wendrel
