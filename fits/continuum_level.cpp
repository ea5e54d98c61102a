#include "fits/continuum_level.h"

#include <algorithm>
#include <cmath>
#include <numeric>
#include <vector>

namespace wendrel {

double FindLevel(const Slot& slot) {
    const std::span<const double> flux(slot.Flux);
    std::vector<double> blockMax;
    blockMax.reserve(flux.size() / kLevelBlockLength + 1);
    for (size_t start = 0; start < flux.size(); start += kLevelBlockLength) {
        const auto block = flux.subspan(start, std::min<size_t>(kLevelBlockLength, flux.size() - start));
        double largest = 0;
        bool anyValue = false;
        for (const double v : block) {
            if (std::isnan(v)) continue;
            anyValue = true;
            if (v > largest) largest = v;
        }
        if (anyValue) blockMax.push_back(largest);
    }
    return MedianOf(blockMax);
}

double MedianOf(std::span<double> values) {
    const size_t m = values.size();
    if (m == 0) return 0;
    QuickSort(values);
    if (m % 2 == 0) return std::midpoint(values[m / 2 - 1], values[m / 2]);  // no overflow for huge values
    return values[m / 2];
}

void QuickSort(std::span<double> values) { std::sort(values.begin(), values.end()); }

}  // namespace wendrel
