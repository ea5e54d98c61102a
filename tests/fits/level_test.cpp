// The continuum level: median of the maxima of 50-pixel blocks.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

#include "fits/continuum_level.h"

namespace wendrel {
namespace {

constexpr double kBlank = NAN;

// A slot whose blocks have the given maxima, each block full of smaller values.
Slot WithBlockMaxima(const std::vector<double>& maxima, int lastBlockLength = 50) {
    Slot s;
    for (size_t b = 0; b < maxima.size(); ++b) {
        const int length = b + 1 == maxima.size() ? lastBlockLength : 50;
        for (int i = 0; i < length; ++i) s.Flux.push_back(i == length / 2 ? maxima[b] : maxima[b] - 1 - i);
    }
    return s;
}

TEST(FindLevel, IsTheMedianOfTheBlockMaxima) {
    const struct { std::vector<double> maxima; int lastBlockLength; double level; } cases[] = {
        {{10, 30, 20}, 20, 20},            // 120 pixels: three blocks, the last of 20
        {{10, 30}, 50, 20},                // 100 pixels: mean of the two
        {{10, 30, 20}, 50, 20},
        {{4, 7, 1, 6, 2, 5, 3}, 50, 4},    // odd count in any order
        {{5}, 50, 5},                      // 50 pixels: one block
        {{5, 1}, 1, 3},                    // 51 pixels: the last block has one pixel
    };
    for (const auto& c : cases) EXPECT_EQ(FindLevel(WithBlockMaxima(c.maxima, c.lastBlockLength)), c.level);
}

TEST(FindLevel, BlockMaximaStartAtZero) {
    Slot s;
    s.Flux.assign(150, -3);
    EXPECT_EQ(FindLevel(s), 0);
    s.Flux[120] = 8;  // one positive block of three: the median is still 0
    EXPECT_EQ(FindLevel(s), 0);
    s.Flux[20] = 6;
    EXPECT_EQ(FindLevel(s), 6);
}

TEST(FindLevel, BlankPixelsTakeNoPart) {
    Slot s = WithBlockMaxima({10, 30, 20});
    s.Flux[25] = kBlank;  // the maximum of block 1 is gone: 9 is left
    EXPECT_EQ(FindLevel(s), 20);
    std::fill(s.Flux.begin() + 100, s.Flux.end(), kBlank);  // block 3 gives no maximum at all
    EXPECT_EQ(FindLevel(s), (9 + 30) / 2.0);
    std::fill(s.Flux.begin(), s.Flux.end(), kBlank);
    EXPECT_EQ(FindLevel(s), 0);
}

TEST(FindLevel, NoPixelsGiveZero) { EXPECT_EQ(FindLevel(Slot{}), 0); }

TEST(FindLevel, MeanOfHugeMaximaStaysFinite) {
    EXPECT_DOUBLE_EQ(FindLevel(WithBlockMaxima({1.5e308, 1.7e308})), 1.6e308);
}

TEST(MedianOf, SortsInPlaceAndTakesTheMiddle) {
    std::vector<double> odd = {3, 1, 2};
    EXPECT_EQ(MedianOf(odd), 2);
    EXPECT_TRUE(std::is_sorted(odd.begin(), odd.end()));
    std::vector<double> even = {4, 1, 3, 2};
    EXPECT_EQ(MedianOf(even), 2.5);
    std::vector<double> none;
    EXPECT_EQ(MedianOf(none), 0);
}

}  // namespace
}  // namespace wendrel
