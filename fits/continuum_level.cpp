#include "fits/continuum_level.h"

#include <algorithm>
#include <cstring>
#include <limits>
#include <numeric>
#include <vector>

namespace wendrel {

double FindLevel(const Spectrum& spectrum) {
    std::vector<double> blockMax;
    blockMax.reserve(spectrum.Flux.size() / kLevelBlockLength + 1);
    AppendBlockMaxima(spectrum.Flux, blockMax);
    return MedianOf(blockMax);
}

void AppendBlockMaxima(std::span<const double> pixels, std::vector<double>& blockMax) {
    constexpr double kNone = -std::numeric_limits<double>::infinity();  // no pixel value is infinite
    for (size_t start = 0; start < pixels.size(); start += kLevelBlockLength) {
        const auto block = pixels.subspan(start, std::min<size_t>(kLevelBlockLength, pixels.size() - start));
        const double largest = LargestOf(block, kNone);
        if (largest != kNone) blockMax.push_back(std::max(largest, 0.0));
    }
}

double LargestOf(std::span<const double> values, double floor) {
    // Four running maxima, so that the comparisons need not wait for each
    // other; value i goes to maximum i % 4. They are held as two pairs, each
    // of which a processor with 128-bit vectors (every x86-64) updates in one
    // instruction, with the same result as two separate maxima.
    using Pair = double __attribute__((vector_size(2 * sizeof(double))));
    Pair low = {floor, floor};   // maxima 0 and 1
    Pair high = {floor, floor};  // maxima 2 and 3
    size_t i = 0;
    for (; i + 4 <= values.size(); i += 4) {
        Pair nextLow, nextHigh;
        std::memcpy(&nextLow, values.data() + i, sizeof nextLow);
        std::memcpy(&nextHigh, values.data() + i + 2, sizeof nextHigh);
        low = nextLow > low ? nextLow : low;  // a NaN never compares larger
        high = nextHigh > high ? nextHigh : high;
    }
    double m0 = low[0];
    for (; i < values.size(); ++i) m0 = values[i] > m0 ? values[i] : m0;
    return std::max(std::max(m0, low[1]), std::max(high[0], high[1]));
}

double MedianOf(std::span<double> values) {
    const size_t m = values.size();
    if (m == 0) return 0;
    // Only the middle needs to be in place; the values below it end up in front.
    const auto middle = values.begin() + static_cast<std::ptrdiff_t>(m / 2);
    std::nth_element(values.begin(), middle, values.end());
    if (m % 2 == 1) return *middle;
    const double below = *std::max_element(values.begin(), middle);
    return std::midpoint(below, *middle);  // no overflow for huge values
}

}  // namespace wendrel
