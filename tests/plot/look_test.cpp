// The plot's looks (store/plot_look.h) against a recording surface: texts
// that never overlap, the legend's corner and outside place, unstacked curves.
#include <gtest/gtest.h>

#include "plot/curve_palettes.h"
#include "plot/renderer.h"
#include "tests/plot/plot_test_support.h"

namespace wendrel::testing {
namespace {

// A drawn text's rectangle, with the recording surface's sizes.
struct TextRect {
    double left, top, right, bottom;
    std::string text;
    bool Meets(const TextRect& o) const { return left < o.right && o.left < right && top < o.bottom && o.top < bottom; }
};

std::vector<TextRect> Texts(const RecordingSurface& s) {
    std::vector<TextRect> rects;
    for (const Drawn& d : s.drawn)
        if (d.kind == Drawn::Text) {
            const double half = s.TextWidth(d.text) / 2;
            rects.push_back({d.x1 - half, d.y1 - s.TextAscent(), d.x1 + half, d.y1 + s.TextDescent(), d.text});
        }
    return rects;
}

// No two texts overlap, and none crosses an edge of the box.
void ExpectApart(const std::vector<TextRect>& texts, const PlotLayout& l, const std::string& what) {
    const TextRect edges[] = {{double(l.x0), double(l.y0), double(l.x1), double(l.y0), "top"},
                              {double(l.x0), double(l.y1), double(l.x1), double(l.y1), "bottom"},
                              {double(l.x0), double(l.y0), double(l.x0), double(l.y1), "left"},
                              {double(l.x1), double(l.y0), double(l.x1), double(l.y1), "right"}};
    for (size_t i = 0; i < texts.size(); ++i) {
        for (size_t j = i + 1; j < texts.size(); ++j)
            EXPECT_FALSE(texts[i].Meets(texts[j])) << what << ": \"" << texts[i].text << "\" meets \"" << texts[j].text << "\"";
        for (const TextRect& e : edges)
            EXPECT_FALSE(texts[i].left <= e.right && e.left <= texts[i].right && texts[i].top <= e.bottom && e.top <= texts[i].bottom)
                << what << ": \"" << texts[i].text << "\" meets the box";
    }
}

Workspace FluxWorkspace(double left, double right, double low, double high) {
    Workspace ws = PlotWorkspace(left, right);
    Spectrum& s = Load(ws, 1, left, (right - left) / 100, std::vector<double>(100, 50));
    s.Flux.assign(100, (low + high) / 2);
    s.FluxBlocks = BlockExtentsOf(s.Flux);
    s.FluxMax = high;
    std::tie(ws.View.ScaleFlux, ws.View.Intensity, ws.View.IntensityLow, ws.View.IntensityHigh) =
        std::tuple(true, PlotView::IntensityRange::Fixed, low, high);
    return ws;
}

// Every tick labelled over spans of 0.01 .. 1e5 A and fluxes of 1e-17 .. 1e5: every
// label apart, titles with units and the axis's exponent; classic flux labels clear of the box.
TEST(PlotLook, EveryTickLabelsNeverOverlapEachOtherOrTheBox) {
    for (const double span : {0.01, 0.7, 130.0, 4e3, 1e5})
        for (const auto& [low, high] : {std::pair(0.0, 1e-17), std::pair(-3.2e-15, 1.1e-14), std::pair(-2.5, 7.5), std::pair(0.0, 1e5)}) {
            Workspace ws = FluxWorkspace(1000, 1000 + span, low, high);
            ws.View.Look.AxisLabels = PlotLook::Axes::Every;
            RecordingSurface s;
            const PlotLayout l = RedrawPlot(ws, s, kArea);
            const std::vector<TextRect> texts = Texts(s);
            const std::string what = "span " + std::to_string(span) + ", flux to " + std::to_string(high);
            EXPECT_GE(texts.size(), 6u) << what;
            ExpectApart(texts, l, what);
            EXPECT_TRUE(std::ranges::any_of(texts, [](const TextRect& t) { return t.text.starts_with("Wavelength (Å)"); }));
            EXPECT_EQ(std::ranges::count_if(texts, [&](const TextRect& t) { return t.text.starts_with("Flux") &&
                          (high < 0.01 ? t.text.find("×10⁻") != std::string::npos : t.text == "Flux"); }), 1) << what;

            ws.View.Look.AxisLabels = PlotLook::Axes::Classic;
            const PlotLayout classic = RedrawPlot(ws, s, kArea);
            const PlacedLabel& top = classic.labels.at(PlotLabel::IntensityTopTick);
            for (PlotLabel label : {PlotLabel::IntensityTopTick, PlotLabel::IntensityBottomTick})
                EXPECT_LT(s.TextWidth(classic.labels.at(label).caption), classic.x0) << what;
            EXPECT_LE(classic.labels.at(PlotLabel::IntensityTitle).top + 240, top.top) << what;
        }
}

// Crowded line names stack into rows without overlapping, and the box moves down for them.
TEST(PlotLook, MarkNamesStackInRowsAboveTheBox) {
    Workspace ws = PlotWorkspace(3600, 6700);
    Load(ws, 1, 3600, 31, std::vector<double>(100, 50));
    ws.View.LineMarkSets = {"balmer", "cahk", "hei", "mgb", "nad"};
    RecordingSurface s;
    const PlotLayout l = RedrawPlot(ws, s, kArea);
    std::vector<TextRect> names;
    for (const TextRect& t : Texts(s))
        if (t.bottom <= l.y0) names.push_back(t);
    EXPECT_GT(l.y0, kY0);
    EXPECT_GT(names.size(), 8u);
    ExpectApart(names, l, "line names");
}

// The legend takes the corner without curves; outside, the box narrows for it; High Contrast recolours.
TEST(PlotLook, LegendCornerOutsidePlaceAndPalette) {
    Workspace ws = PlotWorkspace(5000, 6000);
    std::vector<double> pct(1000, 50);
    for (size_t p = 500; p < pct.size(); ++p) pct[p] = p % 2 ? 100 : 0;  // the right half fills the box's height
    Load(ws, 1, 5000, 1, pct).ObjectName = "star";
    std::tie(ws.View.ShowLegend, ws.View.Look.HighContrast) = std::tuple(true, true);
    RecordingSurface s;
    PlotLayout l = RedrawPlot(ws, s, kArea);
    ASSERT_EQ(l.legend.size(), 1u);
    EXPECT_LT(l.legend[0].x1, (l.x0 + l.x1) / 2);
    EXPECT_LT(l.legend[0].y0, (l.y0 + l.y1) / 2);
    EXPECT_FALSE(s.In(kHighContrastColours[0]).empty());
    EXPECT_TRUE(s.In(ws.slot(1).SlotColor).empty());

    ws.View.Look.LegendOutside = true;
    l = RedrawPlot(ws, s, kArea);
    EXPECT_LT(l.x1, kX1 - 500);
    EXPECT_GT(l.legend[0].x0, l.x1);
    EXPECT_LE(l.legend[0].x1, kArea.width);
}

// Unstacked, a curve with an offset draws at its values and its zero marker at 0.
TEST(PlotLook, UnstackedCurvesDrawAtOffsetZero) {
    Workspace ws = PlotWorkspace(5000, 5010);
    Load(ws, 1, 5000, 1, std::vector<double>(10, 80));
    ws.slot(1).Offset = 50;
    ws.View.Look.StackCurves = false;
    RecordingSurface s;
    const PlotLayout l = RedrawPlot(ws, s, kArea);
    const std::vector<Drawn> curve = s.In(ws.slot(1).SlotColor);
    const auto y = [&](double v) { return float(l.y1 - (l.y1 - l.y0) * (v - l.yMin) / (l.yMax - l.yMin)); };
    EXPECT_EQ(curve.front().y1, y(80));
    EXPECT_EQ(curve.back().y1, y(0));
    EXPECT_GE(l.yMax, 80);  // the axis reaches the unshifted curve
}

}  // namespace
}  // namespace wendrel::testing
