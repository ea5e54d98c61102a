#include "app/velocity_axis_rows.h"

#include <gtest/gtest.h>

#include <cmath>

#include "app/slot_rows.h"
#include "plot/curve_colour.h"
#include "plot/cursor_readout.h"
#include "plot/renderer.h"
#include "plot/pixel_wavelengths.h"
#include "plot/span_measurement.h"
#include "plot/x_axis_mapping.h"
#include "store/rest_frame.h"
#include "tests/plot/plot_test_support.h"

namespace wendrel {
namespace {

// 401 pixels of 0.2 A (observed) with a Gaussian emission line of sigma 1 A
// on a flat continuum of 100 %, the line's centre on pixel 201, observed from
// a source at `velocity`.
void FillLine(Workspace& ws, int slot, double rest, double velocity) {
    const double centre = rest * RestFrameFactor(velocity), step = 0.2;
    std::vector<double> pct;
    for (int i = 0; i < 401; ++i) pct.push_back(100 + 80 * std::exp(-std::pow((i - 200) * step, 2) / 2));
    Spectrum& s = testing::Load(ws, slot, centre - 200.5 * step, step, pct);
    std::tie(s.FileName, s.Lambda0, s.Flux) = std::tuple("line.fits", centre - 200 * step, pct);
    ws.slot(slot).Velocity = velocity;
}

// H alpha in row 1 (at 500 km/s) and H beta in row 2 (at -300 km/s), each
// about its own rest wavelength: both peaks lie at velocity 0 of the axis,
// a pixel's velocity lies about its own line in each row, the drawn peaks
// lie over each other, and a span dragged
// on the axis measures row 2 in its own rest frame.
TEST(VelocityAxisPerRow, LinesOfTwoRowsMeetAtZeroAndAreMeasuredInTheirRestFrames) {
    Workspace ws;
    FillLine(ws, 1, 6562.80, 500);
    FillLine(ws, 2, 4861.33, -300);
    RecalcLambdaRange(ws);
    SetVelocityAxis(ws, 6562.80, {6562.80, 4861.33});
    EXPECT_EQ(std::tuple(ws.slot(1).AxisScale, ws.slot(2).AxisScale), std::tuple(1.0, 6562.80 / 4861.33));
    EXPECT_EQ(XAxisMapping(ws.View).Title(), "Velocity /km/s about each row's line");
    // The full range and the view hold both rows as drawn.
    EXPECT_EQ(std::tuple(ws.View.PlotLeft, ws.View.PlotRight),
              std::tuple(std::min(ShiftedStart(ws.slot(1)), ShiftedStart(ws.slot(2))),
                         std::max(ShiftedEnd(ws.slot(1)), ShiftedEnd(ws.slot(2)))));

    const XAxisMapping axis(ws.View);
    for (int slot : {1, 2}) {
        ws.View.PickedSlot = slot;
        const std::optional<CurvePoint> peak = NearestCurve(ws, axis.Wavelength(0), 0);
        ASSERT_TRUE(peak) << slot;
        EXPECT_EQ(peak->Pixel, 201) << slot;
        EXPECT_NEAR(axis.Axis(peak->Centre), 0, 1e-6) << slot;
        // 10 pixels on, 2 A observed: c 2 / (lambda_i (1 + v/c)) about the row's own line.
        const double rest = slot == 1 ? 6562.80 : 4861.33, v = ws.slot(slot).Velocity;
        const double tenOn = RestWavelength(ws.slot(slot), ObservedPixelCentre(ws.slot(slot).spectrum(), 211));
        EXPECT_NEAR(axis.Axis(tenOn), kSpeedOfLight * 2 / (rest * RestFrameFactor(v)), 1e-6) << slot;
    }

    // As drawn, the highest treads of the two curves (not their zero-level
    // markers right of the box) lie over each other.
    testing::RecordingSurface surface;
    const PlotLayout layout = RedrawPlot(ws, surface, testing::kArea);
    std::vector<float> peakX;
    for (int slot : {1, 2}) {
        std::vector<testing::Drawn> treads = surface.In(CurveColour(ws, slot));
        std::erase_if(treads, [&](const testing::Drawn& d) { return d.y1 != d.y2 || d.x2 >= layout.x1; });
        ASSERT_FALSE(treads.empty()) << slot;
        const testing::Drawn& top = *std::ranges::min_element(treads, {}, &testing::Drawn::y1);
        peakX.push_back((top.x1 + top.x2) / 2);
    }
    EXPECT_NEAR(peakX[0], peakX[1], 2);

    ws.View.PickedSlot = 2;
    const SpanMeasurement m = MeasureDraggedSpan(ws, axis.Wavelength(-400), axis.Wavelength(400), 150);
    ASSERT_EQ(m.Refusal, "");
    EXPECT_NE(m.Text.find("Centroid   4861.330 +- "), std::string::npos) << m.Text;
    EXPECT_EQ(ws.View.Measured.Slot, 2);
    EXPECT_NEAR(ws.View.Measured.Left, 4861.33 * RestFrameFactor(-300) * (1 - 400 / kSpeedOfLight), 1e-9);

    SetVelocityAxis(ws, 0, {6562.80, 4861.33});  // back to wavelengths: the rows' own go too
    EXPECT_EQ(std::tuple(ws.slot(2).AxisScale, ws.View.VelocityRowRest.size()), std::tuple(1.0, size_t{0}));
    EXPECT_EQ(ws.View.PlotLeft, ShiftedStart(ws.slot(2)));
}

TEST(VelocityAxisPerRow, ReadsRestWavelengthsSeparatedByCommas) {
    std::vector<double> rests{1};
    EXPECT_EQ(ReadVelocityRests(" 6562.80,4861.33 ", rests), "");
    EXPECT_EQ(rests, (std::vector<double>{6562.80, 4861.33}));
    for (const char* refused : {"", "6562.8,", "6562.8,,4861", "6562.8,0", "6562.8,-1", "6562.8;4861"})
        EXPECT_NE(ReadVelocityRests(refused, rests), "") << refused;
    EXPECT_EQ(rests, (std::vector<double>{6562.80, 4861.33}));
}

}  // namespace
}  // namespace wendrel
