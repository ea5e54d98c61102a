// wendrel-info's options that compare rows: --xcorr ROW with --xcorr-range
// LOW:HIGH, --smooth ROW:KIND:WIDTH, --ratio A,B and --difference A,B. Rows
// are numbered as the files on the command line.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "analysis/cross_correlation.h"
#include "store/row_derivation.h"

namespace wendrel {

struct InfoComparisons {
    std::optional<int> xcorrTemplate;  // --xcorr ROW
    VelocitySearch xcorrRange;         // --xcorr-range LOW:HIGH (km/s)
    bool xcorrRangeGiven = false;
    struct SmoothRequest {
        int row = 0;
        Smoothing how;
    };
    std::vector<SmoothRequest> smooth;  // each --smooth, in order
    std::vector<CombinedRows> combine;  // each --ratio and --difference
};

std::string SetXcorr(InfoComparisons& c, std::string_view value);
std::string SetXcorrRange(InfoComparisons& c, std::string_view value);
std::string SetSmooth(InfoComparisons& c, std::string_view value);
std::string SetRatio(InfoComparisons& c, std::string_view value);
std::string SetDifference(InfoComparisons& c, std::string_view value);

// What is wrong with the comparisons for `files` files (a row beyond them,
// --xcorr-range without --xcorr); empty when they make sense.
std::string ComparisonsError(const InfoComparisons& c, size_t files);

}  // namespace wendrel
