// Pixel decoding beyond what cfitsio checks, the continuum level, percent values and reused pixel buffers.
#include <gtest/gtest.h>
#include <cmath>
#include <cstring>
#include <map>

#include "fits/continuum_level.h"
#include "tests/fits/fits_test_support.h"

namespace wendrel::testing {
namespace {

TEST_F(FitsFileTest, DecodesSignedScaledAndBlankPixels) {
    using std::string;
    const struct { int bitpix; std::vector<string> scaling; string bytes; std::vector<double> values; } cases[] = {
        // Integers are two's complement; BZERO and BSCALE scale them; a pixel equal to BLANK is blank.
        {16, {}, string("\xFF\xFF\x00\x01\x80\x00\xFF\xFB", 8), {-1, 1, -32768, -5}},
        {16, {RealCard("BZERO", 0)}, string("\xFF\xFF\x00\x02", 4), {-1, 2}},
        {16, {RealCard("BSCALE", 2)}, string("\xFF\xFF\x00\x03", 4), {-2, 6}},
        {16, {RealCard("BZERO", 32768)}, string("\x80\x00\x7F\xFF", 4), {0, 65535}},
        {16, {RealCard("BZERO", 1000)}, string("\x80\x00\x7F\xFF", 4), {-31768, 33767}},
        {16, {IntCard("BLANK", -5)}, string("\xFF\xFB\x00\x07", 4), {NAN, 7}},
        {16, {RealCard("BZERO", 32768), IntCard("BLANK", 0)}, string("\x00\x00\x80\x01", 4), {NAN, 1}},
        {32, {IntCard("BLANK", -2147483648LL)}, string("\x80\0\0\0\0\0\0\x02", 8), {NAN, 2}},
        {-32, {IntCard("BLANK", 1)}, string("\x3F\x80\0\0\x40\0\0\0", 8), {1, 2}},  // BLANK is for integers only
        {-32, {}, string("\x7F\xC0\x00\x00\x7F\x80\x00\x00\xFF\x80\x00\x00\xFF\xFF\xFF\xFF\x00\x00\x00\x01", 20),
         {NAN, NAN, NAN, NAN, std::ldexp(1.0, -149)}},
        {-32, {RealCard("BZERO", 1), RealCard("BSCALE", 2)}, string("\x3F\x80\x00\x00\x7F\xC0\x00\x00", 8), {3, NAN}},
        {-64, {}, string("\x7F\xF0\0\0\0\0\0\0\x7F\xF8\0\0\0\0\0\x01\x40\0\0\0\0\0\0\0", 24), {NAN, NAN, 2}},
        {-64, {RealCard("BSCALE", 10)}, string("\x7F\xEF\xFF\xFF\xFF\xFF\xFF\xFF\x40\0\0\0\0\0\0\0", 16),
         {NAN, 20}},  // scaled beyond the double range
    };
    for (const auto& c : cases) {
        FitsBytes file = SpectrumCards({c.bitpix, {}, {}, {}, {}, 4000, 1, c.scaling});
        file.cards[3] = IntCard("NAXIS1", std::ssize(c.values));
        file.data = c.bytes;
        SCOPED_TRACE(::testing::PrintToString(c.values));
        ASSERT_TRUE(Load(ToBytes(file)));
        EXPECT_EQ(::testing::PrintToString(S()->Flux), ::testing::PrintToString(c.values));
        EXPECT_TRUE(ui_.messages.empty());
    }
    // Only the first NAXIS1 pixels of an image are read.
    ASSERT_TRUE(Load(FloatSpectrum(Ramp(10), {IntCard("NAXIS", 2), IntCard("NAXIS1", 4), IntCard("NAXIS2", 3)})));
    EXPECT_EQ(S()->Flux, Ramp(4));
}

// Blocks of 50 pixels (the last one of lastLength) with the given maxima; a
// NaN maximum blanks its whole block.
TEST(FindLevel, IsTheMedianOfTheBlockMaximaFromZeroUpWithoutBlanks) {
    const auto level = [](const std::vector<double>& maxima, int lastLength, size_t blank = SIZE_MAX) {
        Spectrum s;
        for (size_t b = 0; b < maxima.size(); ++b)
            for (int i = 0, n = b + 1 == maxima.size() ? lastLength : 50; i < n; ++i)
                s.Flux.push_back(i == n / 2 ? maxima[b] : maxima[b] - 1 - i);
        if (blank < s.Flux.size()) s.Flux[blank] = NAN;
        return FindLevel(s);
    };
    const struct { std::vector<double> maxima; int lastLength; double level; } cases[] = {
        {{10, 30, 20}, 20, 20}, {{10, 30}, 50, 20}, {{4, 7, 1, 6, 2, 5, 3}, 50, 4}, {{5, 1}, 1, 3}, {{-3, -3, 8}, 50, 0},
        {{1.5e308, 1.7e308}, 50, 1.6e308}, {{}, 50, 0}, {{10, 30, NAN}, 50, 20}};
    for (const auto& c : cases) EXPECT_DOUBLE_EQ(level(c.maxima, c.lastLength), c.level);
    EXPECT_EQ(level({10, 30, NAN}, 50, 25), (9 + 30) / 2.0);  // block 1 lost its maximum: 9 is left
}

// So too in the value blocks, whose percent extremes follow from the flux's unless a percent value overflowed.
TEST_F(FitsFileTest, PercentIsFluxTimes100OverTheLevelAndBlanksTakeNoPart) {
    const auto blocksMatch = [&] {
        return S()->FluxBlocks == BlockExtentsOf(S()->Flux) && S()->PctBlocks == BlockExtentsOf(S()->FluxPct);
    };
    ASSERT_TRUE(Load(FloatSpectrum({3, -6, 7.5, 0})));
    EXPECT_EQ(S()->FluxPct, (std::vector<double>{3 * 100 / 7.5, -6 * 100 / 7.5, 100, 0}));
    std::vector<double> values = Ramp(60);
    values[10] = NAN;
    values[59] = INFINITY;
    ASSERT_TRUE(Load(FloatSpectrum(values)));
    EXPECT_TRUE(std::isnan(S()->Flux[59]) && std::isnan(S()->FluxPct[10]) && std::isnan(S()->FluxPct[59]));
    // Block 2 holds 51..59 and two blanks: its maximum is 59.
    EXPECT_TRUE(S()->Level == (50 + 59) / 2.0 && S()->PctMax == 59 * 100 / 54.5 && blocksMatch());
    std::vector<double> tiny(150, 0.01);
    tiny[140] = 1e307;  // 1e311 percent of the level 0.01: blank too
    ASSERT_TRUE(Load(SpectrumBytes({-64, tiny, {}, {}, {}, 4000, 1, {}})));
    EXPECT_TRUE(std::isnan(S()->FluxPct[140]) && S()->PctMax == 100 && blocksMatch());
}

// The reader writes into the pixel buffers of replaced spectra: whatever was
// loaded or refused before, a slot holds what a fresh workspace gets.
TEST_F(FitsFileTest, ReusedBuffersGiveWhatAFreshLoadGives) {
    std::vector<double> large = Ramp(120'003, 5);
    large[7] = NAN;
    const std::string files[] = {FloatSpectrum(large), FloatSpectrum(Ramp(77, 40)), FloatSpectrum(Ramp(8193, 2)),
                                 FloatSpectrum(std::vector<double>(500, -1.0))};  // the last one refused: level 0
    const std::pair<int, int> sequence[] = {{0, 1}, {1, 1}, {2, 2}, {0, 2}, {3, 1}, {1, 3}, {0, 1}, {3, 3}, {2, 1}, {1, 2}};
    std::map<int, std::filesystem::path> loaded;
    for (const auto& [file, into] : sequence) {
        const auto written = Write(files[file], std::to_string(file) + ".fits");
        EXPECT_EQ(LoadFile(written, into), file != 3);
        if (file != 3) loaded[into] = written;
        for (const auto& [slot, path] : loaded) {
            Workspace fresh;
            ASSERT_TRUE(LoadIntoSlot(fresh, slot, path, ui_));
            const Spectrum &expected = fresh.slot(slot).spectrum(), &s = S(slot).spectrum();
            const auto same = [](const auto& a, const auto& b) { return a.size() == b.size() && !std::memcmp(&a[0], &b[0], a.size() * 8); };
            EXPECT_TRUE(same(s.Flux, expected.Flux) && same(s.FluxPct, expected.FluxPct) && s.Level == expected.Level &&
                        s.PctMax == expected.PctMax) << path;
        }
    }
}

}  // namespace
}  // namespace wendrel::testing
