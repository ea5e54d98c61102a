// The continuum level: median of the maxima of 50-pixel blocks.
#include <gtest/gtest.h>

#include <cmath>

#include "fits/continuum_level.h"

namespace wendrel {
namespace {

// Blocks of 50 pixels (the last one of lastLength) with the given maxima.
Slot WithBlockMaxima(const std::vector<double>& maxima, int lastLength = 50) {
    Slot s;
    for (size_t b = 0; b < maxima.size(); ++b) {
        const int length = b + 1 == maxima.size() ? lastLength : 50;
        for (int i = 0; i < length; ++i) s.Flux.push_back(i == length / 2 ? maxima[b] : maxima[b] - 1 - i);
    }
    return s;
}

TEST(FindLevel, IsTheMedianOfTheBlockMaximaFromZeroUp) {
    const struct { std::vector<double> maxima; int lastLength; double level; } cases[] = {
        {{10, 30, 20}, 20, 20}, {{10, 30}, 50, 20}, {{4, 7, 1, 6, 2, 5, 3}, 50, 4}, {{5, 1}, 1, 3},
        {{-3, -3, 8}, 50, 0},  // maxima start at zero
        {{1.5e308, 1.7e308}, 50, 1.6e308}, {{}, 50, 0}};
    for (const auto& c : cases) EXPECT_DOUBLE_EQ(FindLevel(WithBlockMaxima(c.maxima, c.lastLength)), c.level);
}

TEST(FindLevel, BlankPixelsTakeNoPart) {
    Slot s = WithBlockMaxima({10, 30, 20});
    s.Flux[25] = NAN;  // the maximum of block 1 is gone: 9 is left
    EXPECT_EQ(FindLevel(s), 20);
    std::fill(s.Flux.begin() + 100, s.Flux.end(), NAN);  // block 3 gives no maximum at all
    EXPECT_EQ(FindLevel(s), (9 + 30) / 2.0);
}

}  // namespace
}  // namespace wendrel
