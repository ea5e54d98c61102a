// Axis labels, names of marked lines, the legend's corner, curve palettes and read-out digits.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

#include "plot/axis_labels.h"
#include "plot/colour_vision.h"
#include "plot/curve_palettes.h"
#include "plot/legend_corner.h"
#include "plot/mark_name_rows.h"
#include "plot/readout_digits.h"

namespace wendrel {
namespace {

// 7 pixels a character, a character of several UTF-8 bytes counting once.
double SevenPerCharacter(std::string_view text) {
    return 7.0 * static_cast<double>(std::count_if(text.begin(), text.end(), [](char c) { return (c & 0xC0) != 0x80; }));
}

TEST(AxisLabels, FewestDecimalsAndOneExponentPerAxis) {
    const struct { double lo, hi; int most; const char* labels; int exponent; const char* suffix; } cases[] = {
        {6562.80, 6562.81, 6, "6562.800 6562.802 6562.804 6562.806 6562.808 6562.810", 0, ""},
        {1000, 101000, 6, "20000 40000 60000 80000 100000", 0, ""},
        {-0.3, 0.1, 5, "-0.3 -0.2 -0.1 0 0.1", 0, ""},
        {-250, -50, 5, "-250 -200 -150 -100 -50", 0, ""},
        {0, 250000, 5, "0 100000 200000", 0, ""},
        {1e-13, 2e-13, 3, "1.0 1.5 2.0", -13, "×10⁻¹³"},
        {-1e-17, 3e-17, 5, "-1 0 1 2 3", -17, "×10⁻¹⁷"},
        {2e6, 3e6, 3, "2.0 2.5 3.0", 6, "×10⁶"}};
    for (const auto& c : cases) {
        const AxisLabelling axis = LabelAxis(c.lo, c.hi, c.most);
        std::string labels;
        for (const AxisTick& t : axis.major) labels += (labels.empty() ? "" : " ") + t.text;
        EXPECT_EQ(labels, c.labels) << c.lo;
        EXPECT_EQ(axis.exponent, c.exponent) << c.lo;
        EXPECT_EQ(axis.titleSuffix, c.suffix) << c.lo;
    }
    const AxisLabelling flux = LabelAxis(1e-13, 2e-13, 3);  // minor ticks every 1e-14, none on a major tick
    EXPECT_EQ(flux.minor.size(), 8u);
    EXPECT_DOUBLE_EQ(flux.minor.front(), 1.1e-13);
    for (const auto& [lo, hi] : {std::pair{1.0, 1.0}, {NAN, 1.0}, {2.0, 1.0}, {1e5, 1e5 + 1e-12}})
        EXPECT_FALSE(LabelAxis(lo, hi).valid) << lo;
}

TEST(AxisLabels, StrideKeepsLabelsApart) {
    const AxisLabelling axis = LabelAxis(6562.80, 6562.81, 6);  // six labels of 56 pixels
    for (const auto& [pixels, stride] : {std::pair{600.0, 1}, {200.0, 2}, {60.0, 5}, {10.0, 10}})
        EXPECT_EQ(LabelStride(axis, 6562.80, 6562.81, pixels, SevenPerCharacter, 3), stride) << pixels;
    EXPECT_FALSE(LabelsApart(axis, 6562.80, 6562.81, 60, SevenPerCharacter, 5, 5));
}

TEST(MarkNameRows, NamesNeverOverlapAndMergeOnlyWhenRowsRunOut) {
    const struct { std::vector<MarkName> marks; int rows; const char* placed; int used; } cases[] = {
        {{{300, "Ca K"}, {100, "He I"}, {200, "Hβ"}}, 4, "0:Ca K 0:He I 0:Hβ", 1},
        {{{100, "Mg b4"}, {103, "Mg b2"}, {108, "Mg b1"}}, 4, "0:Mg b4 1:Mg b2 2:Mg b1", 3},
        {{{100, "Mg b4"}, {103, "Mg b2"}, {108, "Mg b1"}, {112, "Na D2"}, {113, "Na D1"}}, 4,
         "0:Mg b4 1:Mg b2 2:Mg b1 3:Na D -1:", 4},
        {{{100, "Mg b4"}, {103, "Mg b2"}, {108, "Mg b1"}, {112, "Na D2"}, {113, "Na D1"}}, 2,
         "0:Mg b -1: -1: 1:Na D -1:", 2},
        {{{100, "Hα"}, {102, "Hβ"}}, 1, "0:Hα -1:", 1}};  // "H" is too short a merged name
    for (const auto& c : cases) {
        const MarkNameRows stack = StackMarkNames(c.marks, SevenPerCharacter, 3, c.rows);
        std::string placed;
        for (const PlacedMarkName& n : stack.names) placed += (placed.empty() ? "" : " ") + std::to_string(n.row) + ":" + n.text;
        EXPECT_EQ(placed, c.placed);
        EXPECT_EQ(stack.rowsUsed, c.used) << c.placed;
        for (const PlacedMarkName& a : stack.names)
            for (const PlacedMarkName& b : stack.names)
                if (&a != &b && a.row >= 0 && a.row == b.row) {
                    EXPECT_GE(std::abs(a.x - b.x), (SevenPerCharacter(a.text) + SevenPerCharacter(b.text)) / 2 + 3);
                }
    }
    const MarkNameRows merged = StackMarkNames(cases[3].marks, SevenPerCharacter, 3, 2);  // centred on their marks
    EXPECT_EQ(std::vector<double>({merged.names[0].x, merged.names[3].x}), std::vector<double>({104, 112.5}));
}

TEST(LegendCorner, FewestCurveCellsTopRightOnATie) {
    const CellRect box{0, 0, 99, 49};
    // The curve's height left and right of the middle; a column at x = 90 from top to bottom.
    const struct { double leftY, rightY; bool spike; LegendCorner corner; } cases[] = {
        {45, 45, false, LegendCorner::TopRight}, {2, 2, false, LegendCorner::BottomRight},
        {45, 2, false, LegendCorner::TopLeft},   {45, 45, true, LegendCorner::TopLeft},
        {2, 45, false, LegendCorner::TopRight}};
    for (const auto& c : cases) {
        std::vector<CurveColumn> columns;
        for (int x = 0; x <= 99; ++x) columns.push_back({double(x), x < 50 ? c.leftY : c.rightY, x < 50 ? c.leftY : c.rightY});
        if (c.spike) columns[90] = {90, 0, 49};
        EXPECT_EQ(QuietestCorner(box, 20, 10, 1, columns), c.corner) << c.leftY << " " << c.rightY;
    }
    const CellRect r = LegendRect(box, 20, 10, LegendCorner::BottomLeft, 1);
    EXPECT_EQ(std::vector<double>({r.left, r.top, r.right, r.bottom}), std::vector<double>({1, 39, 20, 48}));
}

TEST(CurvePalettes, HighContrastStandsOutAndStaysApartInEveryVision) {
    EXPECT_DOUBLE_EQ(ContrastRatio(RgbColour(0, 0, 0), RgbColour(255, 255, 255)), 21);
    // Red against olive: apart in normal vision, close for deuteranopes; red against a dark yellow for protanopes.
    const auto apart = [](int32_t x, int32_t y, ColourVision v) { return DeltaE76(SeenColour(x, v), SeenColour(y, v)); };
    EXPECT_GT(apart(RgbColour(0xE0, 0, 0), RgbColour(0x90, 0x90, 0), ColourVision::Normal), 80);
    EXPECT_LT(apart(RgbColour(0xE0, 0, 0), RgbColour(0x90, 0x90, 0), ColourVision::Deuteranopia), 6);
    EXPECT_LT(apart(RgbColour(0xFF, 0, 0), RgbColour(0x70, 0x60, 0), ColourVision::Protanopia), 1);
    const auto colours = PaletteColours(CurvePalette::HighContrast);
    for (size_t i = 0; i < colours.size(); ++i) {
        for (const int32_t ground : kCurveGrounds) EXPECT_GE(ContrastRatio(colours[i], ground), 3) << i;
        for (size_t j = 0; j < i; ++j)
            for (const ColourVision v : kColourVisions) EXPECT_GE(apart(colours[i], colours[j], v), 10) << i << " " << j;
    }
    EXPECT_EQ(PaletteColours(CurvePalette::Design)[0], kStartSlotColors[0]);
}

TEST(ReadoutDigits, OnePixelsWorthOfWavelength) {
    const struct { double wavelength, span, pixels; const char* text; } cases[] = {
        {6563.5, 100, 1000, "6563.5"}, {6563.5, 1000, 1000, "6564"},  {6562.8049, 0.01, 500, "6562.80490"},
        {6563.5, 0, 500, "6563.50"},   {-0.0004, 1, 1000, "0.000"},  {6563.5, 3, 1000, "6563.500"}};
    for (const auto& c : cases) EXPECT_EQ(WavelengthReadoutText(c.wavelength, c.span, c.pixels), c.text) << c.span;
    EXPECT_EQ(AxisDigitsText(6562.8037, LabelAxis(6562.80, 6562.81)), "6562.804");
    EXPECT_EQ(AxisDigitsText(1.26e-13, LabelAxis(1e-13, 2e-13, 3)), "1.3e-13");
    EXPECT_EQ(AxisDigitsText(5, LabelAxis(1, 1)), "5");
    // The range dialogs open with the view's ends at the axis's digits.
    EXPECT_EQ(RangeDialogTexts(3800.4, 8100.2), std::pair(std::string("3800"), std::string("8100")));
    EXPECT_EQ(RangeDialogTexts(6562.8037, 6562.8089), std::pair(std::string("6562.804"), std::string("6562.809")));
    EXPECT_EQ(RangeDialogTexts(1.26e-13, 2.04e-13), std::pair(std::string("1.3e-13"), std::string("2.0e-13")));
}

}  // namespace
}  // namespace wendrel
