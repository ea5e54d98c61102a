#include "plot/number_format.h"

#include <gtest/gtest.h>

#include <cmath>
#include <locale>

namespace wendrel {
namespace {

TEST(NumberFormat, PlainNumberText) {
    const std::pair<double, const char*> doubles[] = {
        {-0.0, " 0"}, {0.5, " .5"}, {-0.25, "-.25"}, {0.1 + 0.2, " .3"}, {2.0 / 3, " .666666666666667"},
        {123456789012345.0, " 123456789012345"}, {0.0001, " .0001"}, {1.5e-5, " 1.5E-05"}, {1e15, " 1E+15"},
        {2.5e-300, " 2.5E-300"}, {NAN, " NaN"}, {-INFINITY, "-Inf"}};
    for (const auto& [value, text] : doubles) EXPECT_EQ(PlainNumberText(value), text) << value;
    EXPECT_EQ(PlainNumberText(1.0f / 3) + PlainNumberText(1e7f) + PlainNumberText(6562.817f), " .3333333 1E+07 6562.817");
    struct Comma : std::numpunct<char> {
        char do_decimal_point() const override { return ','; }
    };
    const std::locale before = std::locale::global(std::locale(std::locale::classic(), new Comma));
    EXPECT_EQ(PlainNumberText(6562.5) + FormatNum(1.5, 8, 2), " 6562.51.50    ");
    std::locale::global(before);
}

struct FormatCase {
    double value;
    int width, decimals;
    const char* text;
};

TEST(NumberFormat, FormatNum) {
    const FormatCase cases[] = {
        {120, 6, 0, " 120  "},    {0, 6, 0, "0     "},       {0.4, 8, 0, "0       "},   {98.6, 8, 0, " 99     "},
        {6562.817, 8, 2, " 6562.82"}, {6500, 8, 2, "6500.00 "}, {0.5, 8, 2, "0.5     "}, {-0.5, 8, 1, "-0.5    "},
        {12345.678, 8, 2, " 12345.6"}, {1234567, 6, 0, " 0D+07"}, {123456, 4, 0, " 0D+06"}, {NAN, 8, 2, "NaN     "},
        {6500.28466796875, 8, 2, " 6500.28"}, {2.5, 6, 0, " 3    "}, {-2.5, 6, 0, "-2    "},  // halves go up
    };
    for (const auto& c : cases) EXPECT_EQ(FormatNum(c.value, c.width, c.decimals), c.text) << c.value << " " << c.width;
    // Widths below 6 would hand the exponent form a negative count of decimals.
    for (int width = 1; width <= 8; ++width)
        for (const double v : {1e30, -5e20, 123456.0, -0.999, 1e-300, 1.7e308}) EXPECT_FALSE(FormatNum(v, width, 2).empty());
}

TEST(NumberFormat, FormatExp) {
    const FormatCase cases[] = {
        {12345, 8, 2, " .12D+05"}, {-12345, 8, 2, "-.12D+05"}, {0.00012345, 8, 2, " .12D-03"}, {5, 8, 2, ".50 D+01"},
        {0, 8, 2, ".00D+00 "},     {12345, 8, 5, " .12D+05"},  {1000, 8, 2, ".10 D+04"},      {0.001, 8, 2, ".10 D-02"},
        {1.5e200, 8, 2, " .15D+201"}, {-1.7e308, 8, 2, "-.17D+309"}, {NAN, 8, 2, "NaN     "}, {INFINITY, 6, 0, "Inf   "},
        {-INFINITY, 8, 2, "-Inf    "}, {NAN, -1, -1, ""},
    };
    for (const auto& c : cases) EXPECT_EQ(FormatExp(c.value, c.width, c.decimals), c.text) << c.value << " " << c.width;
}

}  // namespace
}  // namespace wendrel
