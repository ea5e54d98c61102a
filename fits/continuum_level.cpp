#include "fits/continuum_level.h"

#include <algorithm>
#include <limits>
#include <numeric>
#include <vector>

namespace wendrel {

double FindLevel(const Slot& slot) {
    std::vector<double> blockMax;
    blockMax.reserve(slot.Flux.size() / kLevelBlockLength + 1);
    AppendBlockMaxima(slot.Flux, blockMax);
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
    // Four running maxima, so that the comparisons need not wait for each other.
    double m0 = floor, m1 = floor, m2 = floor, m3 = floor;
    size_t i = 0;
    for (; i + 4 <= values.size(); i += 4) {
        m0 = values[i] > m0 ? values[i] : m0;  // a NaN never compares larger
        m1 = values[i + 1] > m1 ? values[i + 1] : m1;
        m2 = values[i + 2] > m2 ? values[i + 2] : m2;
        m3 = values[i + 3] > m3 ? values[i + 3] : m3;
    }
    for (; i < values.size(); ++i) m0 = values[i] > m0 ? values[i] : m0;
    return std::max(std::max(m0, m1), std::max(m2, m3));
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
