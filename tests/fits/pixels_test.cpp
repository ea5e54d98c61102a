// Pixel decoding: byte patterns of every BITPIX with BZERO and BSCALE.
#include <gtest/gtest.h>

#include <cmath>

#include "fits/pixel_decoding.h"
#include "tests/fits/fits_test_support.h"

namespace wendrel::testing {
namespace {

constexpr double kBlank = NAN;

struct PixelCase {
    const char* what;
    int bitpix;
    std::vector<std::string> scalingCards;
    std::string bytes;
    std::vector<double> values;
    bool signedWarning = false;
};

class PixelBytesTest : public FitsFileTest {};

TEST_F(PixelBytesTest, DecodesEveryEncoding) {
    using std::string;
    const PixelCase cases[] = {
        {"16 unsigned without BZERO", 16, {}, string("\xFF\xFF\x00\x01\x80\x00", 6), {65535, 1, 32768}, true},
        {"16 with BZERO 0 is read unsigned", 16, {RealCard("BZERO", 0)}, string("\xFF\xFF", 2), {65535}, true},
        {"16 with BZERO 32768", 16, {RealCard("BZERO", 32768)}, string("\x80\x00\x7F\xFF\x00\x00\xFF\xFF", 8),
         {0, 65535, 32768, 32767}},
        {"16 with BZERO 1000", 16, {RealCard("BZERO", 1000)}, string("\x80\x00\x7F\xFF\x00\x05", 6),
         {-31768, 33767, 1005}},
        {"16 without BZERO, with BSCALE", 16, {RealCard("BSCALE", 2)}, string("\xFF\xFF\x00\x03", 4),
         {131070, 6}, true},
        {"16 with BZERO and BSCALE", 16, {RealCard("BZERO", 32768), RealCard("BSCALE", 0.5)},
         string("\x80\x00\x00\x02", 4), {16384, 32769}},
        {"32 signed", 32, {}, string("\xFF\xFF\xFF\xFF\x7F\xFF\xFF\xFF\x80\x00\x00\x00", 12),
         {-1, 2147483647, -2147483648.0}},
        {"32 with BZERO 2^31", 32, {RealCard("BZERO", 2147483648.0)},
         string("\xFF\xFF\xFF\xFF\x80\x00\x00\x00\x00\x00\x00\x01", 12), {2147483647, 0, 2147483649.0}},
        {"32 with BZERO and BSCALE", 32, {RealCard("BZERO", 10), RealCard("BSCALE", 0.5)},
         string("\x00\x00\x00\x04\xFF\xFF\xFF\xFE", 8), {12, 9}},
        {"-32 patterns", -32, {},
         string("\x3F\x80\x00\x00\x00\x00\x00\x00\x00\x00\x00\x01\xC0\x00\x00\x00\x7F\x7F\xFF\xFF", 20),
         {1, 0, std::ldexp(1.0, -149), -2, 3.4028234663852886e38}},
        {"-32 blanks", -32, {},
         string("\x7F\xC0\x00\x00\x7F\x80\x00\x00\xFF\x80\x00\x00\xFF\xFF\xFF\xFF\x40\x00\x00\x00", 20),
         {kBlank, kBlank, kBlank, kBlank, 2}},
        {"-32 scaled", -32, {RealCard("BZERO", 1), RealCard("BSCALE", 2)},
         string("\x3F\x80\x00\x00\x7F\xC0\x00\x00", 8), {3, kBlank}},
        {"-64 patterns", -64, {},
         string("\x3F\xF0\x00\x00\x00\x00\x00\x00\xC0\x00\x00\x00\x00\x00\x00\x00"
                "\x00\x00\x00\x00\x00\x00\x00\x01\x7F\xEF\xFF\xFF\xFF\xFF\xFF\xFF", 32),
         {1, -2, std::ldexp(1.0, -1074), 1.7976931348623157e308}},
        {"-64 blanks", -64, {},
         string("\x7F\xF0\x00\x00\x00\x00\x00\x00\x7F\xF8\x00\x00\x00\x00\x00\x01\x40\x00\x00\x00\x00\x00\x00\x00",
                24),
         {kBlank, kBlank, 2}},
        {"-64 scaled beyond range", -64, {RealCard("BSCALE", 10)},
         string("\x7F\xEF\xFF\xFF\xFF\xFF\xFF\xFF\x40\x00\x00\x00\x00\x00\x00\x00", 16), {kBlank, 20}},
    };
    for (const PixelCase& c : cases) {
        SpectrumFile s;
        s.bitpix = c.bitpix;
        s.extraCards = c.scalingCards;
        FitsBytes file = SpectrumCards(s);
        file.cards[3] = IntCard("NAXIS1", static_cast<int64_t>(c.values.size()));
        file.data = c.bytes;
        ASSERT_TRUE(Load(ToBytes(file))) << c.what;
        EXPECT_TRUE(SameValues(S().Flux, c.values)) << c.what;
        const bool warned = !ui_.messages.empty() && ui_.messages[0] == kSignedDataMessage;
        EXPECT_EQ(warned, c.signedWarning) << c.what;
    }
}

TEST_F(PixelBytesTest, BlankPixelsStayBlankInPercentAndTakeNoPartInTheMaximum) {
    std::vector<double> values = Ramp(60);
    values[10] = NAN;
    values[59] = INFINITY;
    ASSERT_TRUE(Load(FloatSpectrum(values)));
    EXPECT_TRUE(std::isnan(S().Flux[10]));
    EXPECT_TRUE(std::isnan(S().Flux[59]));
    EXPECT_TRUE(std::isnan(S().FluxPct[10]));
    EXPECT_TRUE(std::isnan(S().FluxPct[59]));
    // Block 2 holds 51..59 and two blanks: its maximum is 59, not infinity.
    EXPECT_EQ(S().Level, (50 + 59) / 2.0);
    EXPECT_EQ(S().PctMax, 59 * 100 / 54.5);
}

TEST_F(PixelBytesTest, PercentValuesAreFluxTimes100OverTheLevel) {
    ASSERT_TRUE(Load(FloatSpectrum({3, -6, 7.5, 0})));
    EXPECT_EQ(S().Level, 7.5);
    EXPECT_EQ(S().FluxPct, (std::vector<double>{3 * 100 / 7.5, -6 * 100 / 7.5, 100, 0}));
    EXPECT_EQ(S().PctMax, 100);
}

TEST_F(PixelBytesTest, OnlyTheFirstNaxis1PixelsAreRead) {
    SpectrumFile s;
    s.stored = Ramp(10);
    s.extraCards = {IntCard("NAXIS", 2), IntCard("NAXIS2", 3)};
    FitsBytes file = SpectrumCards(s);
    file.cards[3] = IntCard("NAXIS1", 4);
    ASSERT_TRUE(Load(ToBytes(file)));
    EXPECT_EQ(S().Flux, (std::vector<double>{1, 2, 3, 4}));
}

}  // namespace
}  // namespace wendrel::testing
