#include "plot/number_format.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <locale>

namespace wendrel {
namespace {

struct DoubleText {
    double value;
    const char* text;
};

TEST(PlainNumberText, DoublesUpToFifteenDigits) {
    const DoubleText cases[] = {
        {0, " 0"},
        {-0.0, " 0"},
        {0.5, " .5"},
        {-0.25, "-.25"},
        {100, " 100"},
        {6562.817, " 6562.817"},
        {-6562.5, "-6562.5"},
        {0.1 + 0.2, " .3"},
        {1.0 / 3, " .333333333333333"},
        {2.0 / 3, " .666666666666667"},
        {123456789012345.0, " 123456789012345"},
        {0.0001, " .0001"},
        {0.000123, " .000123"},
        {1.5e-5, " 1.5E-05"},
        {-1e-5, "-1E-05"},
        {1e15, " 1E+15"},
        {1e16, " 1E+16"},
        {1234567890123456.0, " 1.23456789012346E+15"},
        {1e100, " 1E+100"},
        {2.5e-300, " 2.5E-300"},
    };
    for (const auto& c : cases) EXPECT_EQ(PlainNumberText(c.value), c.text) << c.value;
}

TEST(PlainNumberText, FloatsUpToSevenDigits) {
    const struct {
        float value;
        const char* text;
    } cases[] = {
        {0.1f, " .1"},          {0.2f, " .2"},           {6562.5f, " 6562.5"},
        {1234567.f, " 1234567"}, {1e7f, " 1E+07"},        {-0.05f, "-.05"},
        {1.0f / 3, " .3333333"}, {6562.817f, " 6562.817"}, {2e-5f, " 2E-05"},
    };
    for (const auto& c : cases) EXPECT_EQ(PlainNumberText(c.value), c.text) << c.value;
}

TEST(PlainNumberText, IntegersWithAllDigits) {
    EXPECT_EQ(PlainNumberText(7), " 7");
    EXPECT_EQ(PlainNumberText(-75), "-75");
    EXPECT_EQ(PlainNumberText(0), " 0");
    EXPECT_EQ(PlainNumberText(int64_t{1234567890123456789}), " 1234567890123456789");
}

TEST(PlainNumberText, NotFiniteValues) {
    EXPECT_EQ(PlainNumberText(std::numeric_limits<double>::quiet_NaN()), " NaN");
    EXPECT_EQ(PlainNumberText(-std::numeric_limits<double>::infinity()), "-Inf");
}

TEST(PlainNumberText, PointWhateverTheLocale) {
    struct Comma : std::numpunct<char> {
        char do_decimal_point() const override { return ','; }
    };
    const std::locale before = std::locale::global(std::locale(std::locale::classic(), new Comma));
    EXPECT_EQ(PlainNumberText(6562.5), " 6562.5");
    EXPECT_EQ(FormatNum(1.5, 8, 2), "1.50    ");
    std::locale::global(before);
}

TEST(WithoutLeadingBlanks, RemovesOnlyLeadingBlanks) {
    EXPECT_EQ(WithoutLeadingBlanks(" .5 "), ".5 ");
    EXPECT_EQ(WithoutLeadingBlanks("   "), "");
    EXPECT_EQ(WithoutLeadingBlanks("-3"), "-3");
}

struct FormatCase {
    double value;
    int width;
    int decimals;
    const char* text;
};

TEST(FormatNum, WorkedExamples) {
    const FormatCase cases[] = {
        {120, 6, 0, " 120  "},
        {20, 6, 0, " 20   "},
        {0, 6, 0, "0     "},
        {0.4, 8, 0, "0       "},
        {98.6, 8, 0, " 99     "},
        {6562.817, 8, 2, " 6562.82"},
        {6500, 8, 2, "6500.00 "},
        {1.5, 8, 2, "1.50    "},
        {0.5, 8, 2, "0.5     "},
        {-0.5, 8, 1, "-0.5    "},
        {12345.678, 8, 2, " 12345.6"},
        {1234567, 6, 0, " 0D+07"},
        {100000, 6, 0, " 0D+06"},
        // Read-out values as 32-bit floats widened to 64 bits.
        {static_cast<double>(6500.28466796875f), 8, 2, " 6500.28"},
        {static_cast<double>(0.18f), 8, 0, "0       "},
        {static_cast<double>(60.0f), 8, 0, " 60     "},
        // Halves go up, also for negative values.
        {2.5, 6, 0, " 3    "},
        {-2.5, 6, 0, "-2    "},
    };
    for (const auto& c : cases)
        EXPECT_EQ(FormatNum(c.value, c.width, c.decimals), c.text) << c.value << " " << c.width << " " << c.decimals;
}

TEST(FormatExp, WorkedExamples) {
    const FormatCase cases[] = {
        {12345, 8, 2, " .12D+05"},
        {-12345, 8, 2, "-.12D+05"},
        {0.00012345, 8, 2, " .12D-03"},
        {5, 8, 2, ".50 D+01"},
        {0, 8, 2, ".00D+00 "},
        {1234567, 6, 0, " 0D+07"},
        // Decimals that do not fit are lowered to width - 6.
        {12345, 8, 5, " .12D+05"},
        // Exact powers of ten keep the mantissa below 1.
        {1000, 8, 2, ".10 D+04"},
        {0.001, 8, 2, ".10 D-02"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(FormatExp(c.value, c.width, c.decimals), c.text) << c.value << " " << c.width << " " << c.decimals;
}

TEST(FormatExp, ExponentsBeyondTwoDigitsAreKeptWhole) {
    EXPECT_EQ(FormatExp(1.5e200, 8, 2), " .15D+201");
    EXPECT_EQ(FormatExp(-1.7e308, 8, 2), "-.17D+309");
}

TEST(PadNum, FillsOnTheLeft) {
    EXPECT_EQ(PadNum(7, 2, '0'), "07");
    EXPECT_EQ(PadNum(123, 2, '0'), "123");
    EXPECT_EQ(PadNum(5, 4, ' '), "   5");
}

// Widths below 6 would hand the exponent form a negative count of decimals;
// the texts still come out, whatever the width.
TEST(FormatNum, NarrowFieldsAlwaysGiveAText) {
    for (int width = -3; width <= 8; ++width)
        for (const double v : {1e30, -5e20, 123456.0, -0.999, 1e-300, 1.7e308})
            EXPECT_TRUE(width <= 0 || !FormatNum(v, width, 2).empty()) << v << " " << width;
    EXPECT_EQ(FormatNum(123456, 4, 0), " 0D+06");
    EXPECT_EQ(FormatNum(1.7e308, 8, 2).substr(0, 4), " 1.7");
}

TEST(FormatNum, NotFiniteValuesFillTheField) {
    EXPECT_EQ(FormatNum(std::numeric_limits<double>::quiet_NaN(), 8, 2), "NaN     ");
    EXPECT_EQ(FormatExp(std::numeric_limits<double>::infinity(), 8, 2), "Inf     ");
    EXPECT_EQ(FormatExp(-std::numeric_limits<double>::infinity(), 8, 2), "-Inf    ");
}

}  // namespace
}  // namespace wendrel
