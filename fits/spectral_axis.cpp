#include "fits/spectral_axis.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <utility>

namespace wendrel {

namespace {

std::string Upper(std::string_view text) {
    const size_t first = text.find_first_not_of(' ');
    if (first == std::string_view::npos) return {};
    text = text.substr(first, text.find_last_not_of(' ') - first + 1);
    std::string upper(text);
    std::transform(upper.begin(), upper.end(), upper.begin(), [](unsigned char c) { return std::toupper(c); });
    return upper;
}

}  // namespace

std::optional<double> AngstromsPerUnit(std::string_view unit) {
    static constexpr std::array<std::pair<std::string_view, double>, 14> kUnits = {{
        {"", 1}, {"ANGSTROM", 1}, {"ANGSTROMS", 1}, {"AA", 1}, {"A", 1}, {"PIXEL", 1}, {"PIXELS", 1},
        {"NM", 10}, {"UM", 1e4}, {"MICRON", 1e4}, {"MICRONS", 1e4}, {"MM", 1e7}, {"CM", 1e8}, {"M", 1e10},
    }};
    const std::string name = Upper(unit);
    for (const auto& [known, angstroms] : kUnits)
        if (name == known) return angstroms;
    return std::nullopt;
}

std::string NonWavelengthAxis(std::string_view ctype) {
    std::string type = Upper(ctype);
    type = type.substr(0, type.find('-'));
    const bool pairOfAngles = type.size() == 4 && (type.ends_with("LON") || type.ends_with("LAT") ||
                                                   type.ends_with("LN") || type.ends_with("LT"));
    if (type == "RA" || type == "DEC" || pairOfAngles) return "a position on the sky";
    for (const char* spectral : {"FREQ", "ENER", "WAVN", "VRAD", "VOPT", "ZOPT", "VELO", "BETA"})
        if (type == spectral) return "a frequency, energy, wavenumber, velocity or redshift";
    return {};
}

std::string MediumOfAxis(std::string_view ctype, bool iraf) {
    std::string type = Upper(ctype);
    type = type.substr(0, type.find('-'));
    if (type == "WAVE") return "vacuum";
    if (type == "AWAV" || iraf) return "air";
    return {};
}

}  // namespace wendrel
