// Pixel decoding beyond what cfitsio checks, and the percent values.
#include <gtest/gtest.h>

#include <cmath>

#include "tests/fits/fits_test_support.h"

namespace wendrel::testing {
namespace {

TEST_F(FitsFileTest, DecodesUnsignedAndBlankPixels) {
    using std::string;
    const struct { int bitpix; std::vector<std::string> scaling; string bytes; std::vector<double> values; } cases[] = {
        {16, {}, string("\xFF\xFF\x00\x01\x80\x00", 6), {65535, 1, 32768}},
        {16, {RealCard("BZERO", 0)}, string("\xFF\xFF\x00\x02", 4), {65535, 2}},
        {16, {RealCard("BSCALE", 2)}, string("\xFF\xFF\x00\x03", 4), {131070, 6}},
        {-32, {}, string("\x7F\xC0\x00\x00\x7F\x80\x00\x00\xFF\x80\x00\x00\xFF\xFF\xFF\xFF\x00\x00\x00\x01", 20),
         {NAN, NAN, NAN, NAN, std::ldexp(1.0, -149)}},
        {-32, {RealCard("BZERO", 1), RealCard("BSCALE", 2)}, string("\x3F\x80\x00\x00\x7F\xC0\x00\x00", 8), {3, NAN}},
        {-64, {}, string("\x7F\xF0\x00\x00\x00\x00\x00\x00\x7F\xF8\x00\x00\x00\x00\x00\x01\x40\x00\x00\x00\x00\x00\x00\x00", 24),
         {NAN, NAN, 2}},
        {-64, {RealCard("BSCALE", 10)}, string("\x7F\xEF\xFF\xFF\xFF\xFF\xFF\xFF\x40\x00\x00\x00\x00\x00\x00\x00", 16),
         {NAN, 20}},  // scaled beyond the double range
    };
    for (const auto& c : cases) {
        SpectrumFile s;
        s.bitpix = c.bitpix;
        s.extraCards = c.scaling;
        FitsBytes file = SpectrumCards(s);
        file.cards[3] = IntCard("NAXIS1", std::ssize(c.values));
        file.data = c.bytes;
        ASSERT_TRUE(Load(ToBytes(file))) << c.bitpix << " " << c.values.size();
        EXPECT_TRUE(SameValues(S().Flux, c.values)) << c.bitpix << " " << c.values.size();
        // 16-bit data without a BZERO other than 0 warn that they are read unsigned.
        EXPECT_EQ(ui_.messages, std::vector<std::string>(c.bitpix == 16, kSignedDataMessage)) << c.bitpix << " " << c.values.size();
    }
}

TEST_F(FitsFileTest, PercentIsFluxTimes100OverTheLevelAndBlanksTakeNoPart) {
    ASSERT_TRUE(Load(FloatSpectrum({3, -6, 7.5, 0})));
    EXPECT_EQ(S().FluxPct, (std::vector<double>{3 * 100 / 7.5, -6 * 100 / 7.5, 100, 0}));
    std::vector<double> values = Ramp(60);
    values[10] = NAN;
    values[59] = INFINITY;
    ASSERT_TRUE(Load(FloatSpectrum(values)));
    EXPECT_TRUE(std::isnan(S().Flux[59]));
    EXPECT_TRUE(std::isnan(S().FluxPct[10]) && std::isnan(S().FluxPct[59]));
    // Block 2 holds 51..59 and two blanks: its maximum is 59, not infinity.
    EXPECT_EQ(S().Level, (50 + 59) / 2.0);
    EXPECT_EQ(S().PctMax, 59 * 100 / 54.5);
}

TEST_F(FitsFileTest, OnlyTheFirstNaxis1PixelsAreRead) {
    FitsBytes file = SpectrumCards({-32, Ramp(10), {}, {}, {}, 4000, 1, {IntCard("NAXIS", 2), IntCard("NAXIS2", 3)}});
    file.cards[3] = IntCard("NAXIS1", 4);
    ASSERT_TRUE(Load(ToBytes(file)));
    EXPECT_EQ(S().Flux, (std::vector<double>{1, 2, 3, 4}));
}

}  // namespace
}  // namespace wendrel::testing
