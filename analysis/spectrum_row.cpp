#include "analysis/spectrum_row.h"

#include <cmath>

namespace wendrel {

RowData::RowData(const Spectrum& s)
    : Centres(PixelCentresOf(s)), Row{Centres, s.Flux, s.Sigma, MediumOfText(s.Medium)} {}

std::vector<double> PixelCentresOf(const Spectrum& s) {
    if (!s.PixelCentre.empty()) return s.PixelCentre;
    std::vector<double> centres(s.Flux.size());
    for (size_t i = 0; i < centres.size(); ++i) centres[i] = s.Lambda0 + static_cast<double>(i) * s.DLambda;
    return centres;
}

std::vector<double> PixelEdgesOfCentres(std::span<const double> centres) {
    const size_t n = centres.size();
    if (n == 0) return {};
    if (n == 1) return {centres[0] - 0.5, centres[0] + 0.5};
    std::vector<double> edges(n + 1);
    for (size_t i = 1; i < n; ++i) edges[i] = 0.5 * (centres[i - 1] + centres[i]);
    edges[0] = centres[0] - (edges[1] - centres[0]);
    edges[n] = centres[n - 1] + (centres[n - 1] - edges[n - 1]);
    return edges;
}

std::string RowFault(const SpectrumRow& row, std::string_view name, size_t fewest) {
    const std::string named(name);
    if (row.Flux.size() != row.Wavelength.size())
        return "The " + named + " has " + std::to_string(row.Flux.size()) + " flux values for " +
               std::to_string(row.Wavelength.size()) + " wavelengths.";
    if (!row.Sigma.empty() && row.Sigma.size() != row.Flux.size())
        return "The " + named + " has " + std::to_string(row.Sigma.size()) + " uncertainties for " +
               std::to_string(row.Flux.size()) + " pixels.";
    if (row.Flux.size() < fewest)
        return "The " + named + " has " + std::to_string(row.Flux.size()) + " pixels, fewer than the " +
               std::to_string(fewest) + " needed.";
    for (size_t i = 0; i < row.Wavelength.size(); ++i)
        if (!std::isfinite(row.Wavelength[i]) || (i > 0 && !(row.Wavelength[i] > row.Wavelength[i - 1])))
            return "The " + named + "'s wavelengths do not rise at pixel " + std::to_string(i + 1) + ".";
    return {};
}

}  // namespace wendrel
