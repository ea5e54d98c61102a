#include "tools/info_compare_options.h"

#include <charconv>
#include <cmath>

#include "app/row_smoothing.h"
#include "tools/whole_number.h"

namespace wendrel {

namespace {

std::optional<int> RowNumber(std::string_view text) {
    const auto row = WholeNumber<int>(text);
    if (!row || *row < 1 || *row > kMaxSlots) return std::nullopt;
    return row;
}

std::string SetCombination(InfoComparisons& c, std::string_view value, RowCombination kind, std::string_view option) {
    const size_t comma = value.find(',');
    const auto a = RowNumber(value.substr(0, comma));
    const auto b = comma == std::string_view::npos ? std::nullopt : RowNumber(value.substr(comma + 1));
    if (!a || !b || *a == *b)
        return std::string(option) + " needs A,B, the numbers of two different files on the command line, e.g. " +
               std::string(option) + " 1,2; got \"" + std::string(value) + "\"";
    c.combine.push_back({kind, *a, *b});
    return {};
}

}  // namespace

std::string SetXcorr(InfoComparisons& c, std::string_view value) {
    c.xcorrTemplate = RowNumber(value);
    if (c.xcorrTemplate) return {};
    return "--xcorr needs the number of the template's file on the command line (1 to 10); got \"" +
           std::string(value) + "\"";
}

std::string SetXcorrRange(InfoComparisons& c, std::string_view value) {
    const size_t colon = value.find(':');
    const auto low = WholeNumber<double>(value.substr(0, colon));
    const auto high = colon == std::string_view::npos ? std::nullopt : WholeNumber<double>(value.substr(colon + 1));
    if (!low || !high || !std::isfinite(*low) || !std::isfinite(*high) || !(*low < *high) || !(*low > -299792.458))
        return "--xcorr-range needs LOW:HIGH, two velocities in km/s with LOW below HIGH and above -c, e.g. "
               "--xcorr-range -2000:30000; got \"" + std::string(value) + "\"";
    c.xcorrRange = {*low, *high};
    c.xcorrRangeGiven = true;
    return {};
}

std::string SetSmooth(InfoComparisons& c, std::string_view value) {
    const size_t first = value.find(':');
    const size_t second = first == std::string_view::npos ? first : value.find(':', first + 1);
    const auto row = RowNumber(value.substr(0, first));
    const auto kernel = second == std::string_view::npos
                            ? std::nullopt
                            : SmoothingKernelOfKey(value.substr(first + 1, second - first - 1));
    const auto width = second == std::string_view::npos ? std::nullopt : WholeNumber<double>(value.substr(second + 1));
    if (!row || !kernel || !width || !(*width > 0) || !std::isfinite(*width))
        return "--smooth needs ROW:KIND:WIDTH, a file's number on the command line, boxcar or median (WIDTH in "
               "pixels), gauss (FWHM in Angstroms) or gausskms (FWHM in km/s), and a positive width, e.g. "
               "--smooth 2:gausskms:150; got \"" + std::string(value) + "\"";
    c.smooth.push_back({*row, {*kernel, *width}});
    return {};
}

std::string SetRatio(InfoComparisons& c, std::string_view value) {
    return SetCombination(c, value, RowCombination::Ratio, "--ratio");
}

std::string SetDifference(InfoComparisons& c, std::string_view value) {
    return SetCombination(c, value, RowCombination::Difference, "--difference");
}

std::string ComparisonsError(const InfoComparisons& c, size_t files) {
    if (c.xcorrRangeGiven && !c.xcorrTemplate) return "--xcorr-range shapes --xcorr, which was not asked for";
    const auto beyond = [files](int row) { return static_cast<size_t>(row) > files; };
    if (c.xcorrTemplate && beyond(*c.xcorrTemplate))
        return "--xcorr names file " + std::to_string(*c.xcorrTemplate) + " of " + std::to_string(files) + " files";
    for (const auto& s : c.smooth)
        if (beyond(s.row)) return "--smooth names file " + std::to_string(s.row) + " of " + std::to_string(files) + " files";
    for (const CombinedRows& r : c.combine)
        if (beyond(r.A) || beyond(r.B))
            return "--ratio and --difference name files " + std::to_string(r.A) + " and " + std::to_string(r.B) +
                   " of " + std::to_string(files) + " files";
    return {};
}

}  // namespace wendrel
