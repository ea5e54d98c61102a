// The numbers the plot shows: number texts, the axes' ticks and the cursor read-out.
#include <gtest/gtest.h>

#include <cmath>

#include "plot/cursor_readout.h"
#include "plot/number_format.h"
#include "plot/plot_drag.h"
#include "plot/tick_rule.h"
#include "tests/support/row_filling.h"

namespace wendrel {
namespace {

TEST(NumberFormat, PlainNumberText) {
    const std::pair<double, const char*> doubles[] = {
        {-0.0, " 0"}, {0.5, " .5"}, {-0.25, "-.25"}, {0.1 + 0.2, " .3"}, {2.0 / 3, " .666666666666667"},
        {123456789012345.0, " 123456789012345"}, {0.0001, " .0001"}, {1.5e-5, " 1.5E-05"}, {1e15, " 1E+15"},
        {2.5e-300, " 2.5E-300"}, {NAN, " NaN"}, {-INFINITY, "-Inf"}};
    for (const auto& [value, text] : doubles) EXPECT_EQ(PlainNumberText(value), text) << value;
    EXPECT_EQ(PlainNumberText(1.0f / 3) + PlainNumberText(1e7f) + PlainNumberText(6562.817f), " .3333333 1E+07 6562.817");
}

// Three significant digits; a value too small for the plain form takes an exponent, never a bare 0.
TEST(NumberFormat, SignificantText) {
    const std::pair<double, const char*> cases[] = {
        {3.2e-15, "3.20e-15"}, {-3.2e-15, "-3.20e-15"}, {0, "0"}, {0.032, "0.0320"}, {0.009996, "0.0100"},
        {0.00999, "9.99e-03"}, {999.6, "1000"}, {321456, "321000"}, {1.5e6, "1.50e+06"}, {-2.5, "-2.50"}, {NAN, "NaN"}};
    for (const auto& [value, text] : cases) EXPECT_EQ(SignificantText(value), text) << value;
}

struct FormatCase { double value; int width, decimals; const char* text; };

TEST(NumberFormat, FormatNumAndFormatExp) {
    const FormatCase cases[] = {
        {120, 6, 0, " 120  "},    {0, 6, 0, "0     "},       {0.4, 8, 0, "0       "},   {98.6, 8, 0, " 99     "},
        {6562.817, 8, 2, " 6562.82"}, {6500, 8, 2, "6500.00 "}, {0.5, 8, 2, "0.5     "}, {-0.5, 8, 1, "-0.5    "},
        {12345.678, 8, 2, " 12345.6"}, {1234567, 6, 0, " 0D+07"}, {123456, 4, 0, " 0D+06"}, {NAN, 8, 2, "NaN     "},
        {6500.28466796875, 8, 2, " 6500.28"}, {2.5, 6, 0, " 3    "}, {-2.5, 6, 0, "-2    "}};  // halves go up
    for (const auto& c : cases) EXPECT_EQ(FormatNum(c.value, c.width, c.decimals), c.text) << c.value << " " << c.width;
    // Widths below 6 would hand the exponent form a negative count of decimals.
    for (int width = 1; width <= 8; ++width)
        for (const double v : {1e30, -5e20, 123456.0, -0.999, 1e-300, 1.7e308}) EXPECT_FALSE(FormatNum(v, width, 2).empty());
    const FormatCase exponents[] = {
        {12345, 8, 2, " .12D+05"}, {-12345, 8, 2, "-.12D+05"}, {0.00012345, 8, 2, " .12D-03"}, {5, 8, 2, ".50 D+01"},
        {0, 8, 2, ".00D+00 "},     {12345, 8, 5, " .12D+05"},  {1000, 8, 2, ".10 D+04"},      {0.001, 8, 2, ".10 D-02"},
        {1.5e200, 8, 2, " .15D+201"}, {-1.7e308, 8, 2, "-.17D+309"}, {NAN, 8, 2, "NaN     "}, {INFINITY, 6, 0, "Inf   "},
        {-INFINITY, 8, 2, "-Inf    "}, {NAN, -1, -1, ""},
        {555, 8, 2, " .56D+03"}, {-0.555, 8, 2, "-.56D+00"}};  // the mantissa is value / 10^exponent: halves go up
    for (const auto& c : exponents) EXPECT_EQ(FormatExp(c.value, c.width, c.decimals), c.text) << c.value << " " << c.width;
}

TEST(TickRule, StepFromSpanAndTicksInsideTheRange) {
    const std::pair<double, float> cases[] = {
        {300, 50}, {1000, 200}, {700, 100}, {500, 100}, {200, 50}, {120, 20}, {0.5, 0.1f}, {2, 0.5f}, {1, 0.2f},
        {999.9999, 200},  // a hair under a power of ten still counts as that power
        {0, 0}, {-5, 0}, {NAN, 0}, {INFINITY, 0}, {1e-60, 0}, {1e60, 0}};
    for (const auto& [span, step] : cases) EXPECT_EQ(TickStep(span), step) << span;
    const struct { double span, lo, hi; int64_t first, last; const char* label; } ticks[] = {
        {300, 6500, 6800, 130, 136, " 6500"}, {2, 6562.3, 6564.3, 13125, 13128, " 6562."},
        // The 32-bit step lies a hair above 0.1: the right end falls just short of the 500105th step.
        {0.5, 50010, 50010.5, 500100, 500104, " 50010"},
        {300, 100000, 100300, 2000, 2006, " 100000"}, {3e6, 1.5e7, 1.8e7, 30, 36, " 1.5E+07"},  // whole numbers stay whole
        // Six characters would not tell these ticks from their neighbours.
        {0.5, 6562.3, 6562.8, 65623, 65627, " 6562.3"}, {2, 50010.3, 50012, 100021, 100024, " 50010.5"}};
    for (const auto& c : ticks) {
        const AxisTicks t = TicksFor(c.span, c.lo, c.hi);
        EXPECT_EQ(std::tuple(t.valid, t.first, t.last, t.LabelText(t.first)), std::tuple(true, c.first, c.last, c.label));
    }
    EXPECT_FALSE(TicksFor(1e-30, 1e3, 1e3 + 1e-30).valid);  // too fine to mark
    // Where 32-bit values cannot tell neighbouring ticks apart, they still come out distinct and even.
    const AxisTicks t = TicksFor(0.001, 1e6, 1e6 + 0.001);
    ASSERT_TRUE(t.valid && t.wideValues && t.last - t.first >= 2);
    EXPECT_TRUE(t.Value(t.first) >= 1e6 && t.Value(t.last) <= 1e6 + 0.001);
    for (int64_t k = t.first + 1; k <= t.last; ++k) EXPECT_NEAR(t.Value(k) - t.Value(k - 1), t.step, t.step * 1e-3);
}

// A view of 6000 .. 7000 A over the box 800..9585 x 300..6950, intensities 0 .. 120.
TEST(CursorReadout, InsideTheBoxOnly) {
    Workspace ws;
    std::tie(ws.View.PlotLeft, ws.View.PlotRight) = std::tuple(6000, 7000);
    PlotLayout box;
    std::tie(box.x0, box.x1, box.y0, box.y1, box.yMax) = std::tuple(800, 9585, 300, 6950, 120);
    const struct { float x, y, wavelength, intensity; const char* text; } inside[] = {
        {5195, 3625, 6500.2847f, 60, "6500.3 60     "},
        {5192.5f, 6940, 6500, 0.18045113f, "6500.00       "},  // "6500.0", then "0"
        {801, 301, 6000.1138f, 119.98195f, "6000.1 120    "}, {9584, 3625, 6999.8862f, 60, "6999.9 60     "}};
    for (const auto& c : inside) {
        const CursorReadout r = ReadCursor(ws, box, c.x, c.y, 1.5);  // a box of 5857 pixels: 0.17 A each
        EXPECT_TRUE(r.Inside && r.Pointer == MousePointer::Cross && r.WavelengthCaption + r.IntensityCaption == c.text) << c.x;
        EXPECT_FLOAT_EQ(r.Wavelength, c.wavelength) << c.x;
        EXPECT_FLOAT_EQ(r.Intensity, c.intensity) << c.y;
    }
    for (const auto& [x, y] : {std::pair(800, 3625), {9585, 3625}, {5195, 300}, {5195, 6950}, {12000, 3625}}) {
        const CursorReadout r = ReadCursor(ws, box, x, y);
        EXPECT_TRUE(!r.Inside && r.Pointer == MousePointer::Arrow && r.WavelengthCaption.empty()) << x << "," << y;
    }
    std::tie(ws.View.PlotLeft, ws.View.PlotRight) = std::tuple(6562.8, 6562.85);  // 0.00009 A a pixel
    EXPECT_EQ(ReadCursor(ws, box, 5195, 3625).WavelengthCaption, "6562.82501");
    std::tie(ws.View.PlotLeft, ws.View.PlotRight) = std::tuple(6500, 6600);  // 0.17 A a pixel: never "6563."
    EXPECT_EQ(ReadCursor(ws, box, 800 + 8785 * 0.635f, 3625).WavelengthCaption, "6563.5");
    ws.View.XUnit = WavelengthUnit::Micrometre;
    EXPECT_EQ(ReadCursor(ws, box, 800 + 8785 * 0.635f, 3625).WavelengthCaption, "0.65635");
    ws.View.XUnit = WavelengthUnit::Angstrom;
    std::tie(ws.View.PlotLeft, ws.View.PlotRight, ws.View.VelocityRestLambda) = std::tuple(6000, 7000, 6500);
    EXPECT_EQ(ReadCursor(ws, box, 5195, 3625).WavelengthCaption, "13");  // 6500.2847 A: 13.13 km/s, 79 km/s a pixel
    ws.View.VelocityRestLambda = 0;
    // A box without size has no inside: before the first redraw, or upside down.
    EXPECT_FALSE(ReadCursor(ws, PlotLayout{}, 0, 0).Inside);
    box.y1 = 200;
    EXPECT_FALSE(ReadCursor(ws, box, 5195, 250).Inside);
}

// Slot 1: ten pixels of 100 % from 4000 A; slot 2: ten of 50 % from 4005 A,
// drawn 20 higher, its third pixel blank. Which curve is nearest, and its pixel.
TEST(CursorReadout, NearestCurveAndItsPixel) {
    Workspace ws;
    for (int i : {1, 2}) {
        Spectrum& s = Fill(ws.slot(i));
        std::tie(s.ObjectName, s.Naxis1, s.DLambda, ws.slot(i).Offset) = std::tuple("HD " + std::to_string(i), 10, 1, 20 - 20 * i);
        std::tie(s.LambdaStart, s.Lambda0, s.FluxPct) = std::tuple(3995 + 5 * i, 3995.5 + 5 * i, std::vector(10, 150 - 50.0 * i));
        if (i == 2) s.FluxPct[2] = NAN;
    }
    const struct { double wavelength, intensity; int picked, slot; int64_t pixel; const char* caption; } cases[] = {
        {4002.5, 40, 0, 1, 3, "HD 1  4002.50  100.0"}, {4006.5, 80, 0, 2, 2, "HD 2  4006.50  50.0"},
        {4006.5, 90, 0, 1, 7, "HD 1  4006.50  100.0"}, {4007.5, 60, 0, 1, 8, "HD 1  4007.50  100.0"},  // blank: the other
        {4006, 85, 0, 1, 7, "HD 1  4006.50  100.0"},  // a tie, on a pixel edge
        {4006.5, 100, 2, 2, 2, "HD 2  4006.50  50.0"}, {4002.5, 100, 2, 0, 0, ""}, {4020, 100, 0, 0, 0, ""}};
    for (const auto& c : cases) {
        ws.View.PickedSlot = c.picked;
        const auto point = NearestCurve(ws, c.wavelength, c.intensity);
        EXPECT_EQ(point ? std::tuple(point->Slot, point->Pixel, CurveCaption(ws, *point, 2)) : std::tuple(0, int64_t{0}, std::string()),
                  std::tuple(c.slot, c.pixel, std::string(c.caption))) << c.wavelength << " " << c.intensity;
    }
}

TEST(PlotDrag, BandsClicksAndLegendEntries) {
    PlotLayout box;
    std::tie(box.x0, box.x1, box.y0, box.y1) = std::tuple(800, 9585, 300, 4950);
    box.legend = {{3, 7000, 400, 9000, 600}};
    const auto band = [&](DragKind kind) {
        const TwipsBand r = DragBand(box, kind, 2000, 1000, 100, 6000);
        return std::tuple(r.left, r.top, r.right, r.bottom);
    };
    EXPECT_EQ(band(DragKindFor(false, false)), std::tuple(800, 300, 2000, 4950));
    EXPECT_EQ(band(DragKindFor(true, true)), band(DragKind::Measure));
    EXPECT_EQ(band(DragKindFor(true, false)), std::tuple(800, 1000, 9585, 4950));
    EXPECT_TRUE(IsClick(DragKind::Zoom, 3, 50) && !IsClick(DragKind::IntensityRange, 3, 50) && !IsClick(DragKind::Measure, -4, 0));
    EXPECT_EQ(std::pair(LegendSlotAt(box, 8000, 500), LegendSlotAt(box, 8000, 700)), std::pair(3, 0));
}

}  // namespace
}  // namespace wendrel
