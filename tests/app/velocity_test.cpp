// A slot's radial velocity: the rest-frame arithmetic, and what a change of a
// velocity bar does to the full range, the view and the plot.
#include <gtest/gtest.h>

#include <algorithm>

#include "app/slot_rows.h"
#include "store/rest_frame.h"
#include "tests/support/recording_ui.h"

namespace wendrel {
namespace {

using testing::RecordingUi;

TEST(RestFrame, ALineOfARecedingSourceReturnsToItsLaboratoryWavelength) {
    Slot s;
    s.Velocity = 667;
    EXPECT_NEAR(RestWavelength(s, 6577.4), 6562.8, 0.01);
    EXPECT_NEAR(ObservedWavelength(s, 6562.8), 6577.4, 0.01);
}

TEST(RestFrame, FactorsOfTheWholeBarRange) {
    struct Case {
        int velocity;
        double factor;
    };
    for (const Case c : {Case{0, 1.0}, Case{kMaxVelocity, 1.1092989},
                         Case{kMinVelocity, 0.8907011}, Case{-1, 0.99999666}}) {
        SCOPED_TRACE(c.velocity);
        EXPECT_NEAR(RestFrameFactor(c.velocity), c.factor, 1e-6);
    }
    EXPECT_EQ(RestFrameFactor(0), 1.0);  // no velocity leaves every wavelength exactly as it was
}

TEST(RestFrame, ApproachingSourcesAreShiftedToLongerWavelengths) {
    Slot s;
    s.LambdaStart = 6000;
    s.LambdaEnd = 7000;
    s.Velocity = -3000;
    EXPECT_GT(ShiftedStart(s), 6000);
    EXPECT_GT(ShiftedEnd(s), 7000);
    EXPECT_DOUBLE_EQ(ShiftedEnd(s) / ShiftedStart(s), 7000.0 / 6000.0);  // the same division everywhere
    EXPECT_DOUBLE_EQ(ObservedWavelength(s, ShiftedStart(s)), 6000);
}

void Load(Workspace& ws, int slot, double start, double end) {
    Slot& s = ws.slot(slot);
    s.Loaded = true;
    s.Velocity = 0;
    s.LambdaStart = start;
    s.LambdaEnd = end;
    ws.LambdaMin = std::min(ws.LambdaMin, start);
    ws.LambdaMax = std::max(ws.LambdaMax, end);
    ws.PlotLeft = ws.LambdaMin;
    ws.PlotRight = ws.LambdaMax;
    ws.PlotSpan = ws.PlotRight - ws.PlotLeft;
    ws.DataReady = true;
}

class VelocityBar : public ::testing::Test {
protected:
    void ExpectView(double left, double right) const {
        EXPECT_DOUBLE_EQ(ws.PlotLeft, left);
        EXPECT_DOUBLE_EQ(ws.PlotRight, right);
        EXPECT_DOUBLE_EQ(ws.PlotSpan, ws.PlotRight - ws.PlotLeft);
    }
    void Zoom(double left, double right) {
        ws.PlotLeft = left;
        ws.PlotRight = right;
        ws.PlotSpan = right - left;
    }

    Workspace ws;
    RecordingUi ui;
};

TEST_F(VelocityBar, RedrawsOnlyOnceASpectrumIsLoaded) {
    VelocityChanged(ws, 3, 250, ui);
    EXPECT_EQ(ws.slot(3).Velocity, 250);
    EXPECT_EQ(ui.redraws, 0);
    EXPECT_EQ(ws.LambdaMin, kEmptyLambdaMin);  // no loaded slot: no range to recompute

    Load(ws, 1, 6000, 7000);
    VelocityChanged(ws, 1, 100, ui);
    EXPECT_EQ(ui.redraws, 1);
    EXPECT_EQ(ws.CurSlot, 0);  // the bars are no Load, Unload or Hdr press

    ws.slot(1).Loaded = false;
    ws.DataReady = false;
    VelocityChanged(ws, 1, 200, ui);
    EXPECT_EQ(ws.slot(1).Velocity, 200);
    EXPECT_EQ(ui.redraws, 1);
}

TEST_F(VelocityBar, ValuesBeyondTheBarAreHeldToIt) {
    Load(ws, 1, 6000, 7000);
    VelocityChanged(ws, 1, 99999, ui);
    EXPECT_EQ(ws.slot(1).Velocity, kMaxVelocity);
    VelocityChanged(ws, 1, -99999, ui);
    EXPECT_EQ(ws.slot(1).Velocity, kMinVelocity);
}

TEST_F(VelocityBar, FullRangeFollowsTheShiftedSlots) {
    Load(ws, 1, 6000, 7000);
    Load(ws, 2, 6500, 6600);
    VelocityChanged(ws, 1, 3000, ui);
    const double f = RestFrameFactor(3000);
    EXPECT_DOUBLE_EQ(ws.LambdaMin, 6000 / f);
    EXPECT_DOUBLE_EQ(ws.LambdaMax, 7000 / f);

    // Slot 2 shifted far enough to the red becomes the long end.
    VelocityChanged(ws, 2, -5000, ui);
    EXPECT_DOUBLE_EQ(ws.LambdaMax, 7000 / f);
    VelocityChanged(ws, 2, -32767, ui);
    EXPECT_DOUBLE_EQ(ws.LambdaMax, 6600 / RestFrameFactor(-32767));

    // Back to 0, the files' own wavelengths, exactly.
    VelocityChanged(ws, 1, 0, ui);
    VelocityChanged(ws, 2, 0, ui);
    EXPECT_EQ(ws.LambdaMin, 6000);
    EXPECT_EQ(ws.LambdaMax, 7000);
}

TEST_F(VelocityBar, AViewOfTheWholeRangeFollowsIt) {
    Load(ws, 1, 6000, 7000);
    VelocityChanged(ws, 1, 667, ui);
    ExpectView(ws.LambdaMin, ws.LambdaMax);
    // The scroll bar's re-centring on whole Angstroms leaves a full view a
    // little off; it still counts as the whole range.
    Zoom(ws.LambdaMin + 0.5, ws.LambdaMax + 0.5);
    VelocityChanged(ws, 1, -667, ui);
    ExpectView(6000 / RestFrameFactor(-667), 7000 / RestFrameFactor(-667));
}

TEST_F(VelocityBar, AZoomedViewStaysAndIsHeldInsideTheNewRange) {
    Load(ws, 1, 6000, 7000);
    Zoom(6500, 6600);
    VelocityChanged(ws, 1, 667, ui);
    ExpectView(6500, 6600);  // the spectrum moves under a fixed axis

    Zoom(6900, 7000);
    VelocityChanged(ws, 1, 3000, ui);
    ExpectView(6900, 7000 / RestFrameFactor(3000));

    // Nothing of the view left inside: the whole new range.
    Zoom(6990, 7000);
    VelocityChanged(ws, 1, 32767, ui);
    ExpectView(6000 / RestFrameFactor(32767), 7000 / RestFrameFactor(32767));
}

TEST_F(VelocityBar, AnEmptySlotsVelocityLeavesRangeAndViewAlone) {
    Load(ws, 1, 6000, 7000);
    Zoom(6100, 6200);
    VelocityChanged(ws, 4, 5000, ui);
    EXPECT_EQ(ws.LambdaMin, 6000);
    EXPECT_EQ(ws.LambdaMax, 7000);
    ExpectView(6100, 6200);
}

TEST_F(VelocityBar, UnloadRecomputesFromTheShiftedRemainingSlots) {
    Load(ws, 1, 4000, 5000);
    Load(ws, 2, 6000, 7000);
    ws.PlotShown = true;
    VelocityChanged(ws, 2, -1500, ui);
    UnloadSlot(ws, 1, ui);
    const double f = RestFrameFactor(-1500);
    EXPECT_DOUBLE_EQ(ws.LambdaMin, 6000 / f);
    EXPECT_DOUBLE_EQ(ws.LambdaMax, 7000 / f);
    ExpectView(6000 / f, 7000 / f);
}

TEST_F(VelocityBar, RecalcUsesEachSlotsOwnVelocity) {
    Load(ws, 1, 4000, 5000);
    Load(ws, 2, 6000, 7000);
    ws.slot(1).Velocity = 1000;
    ws.slot(2).Velocity = -1000;
    RecalcLambdaRange(ws);
    EXPECT_DOUBLE_EQ(ws.LambdaMin, 4000 / RestFrameFactor(1000));
    EXPECT_DOUBLE_EQ(ws.LambdaMax, 7000 / RestFrameFactor(-1000));
    ExpectView(ws.LambdaMin, ws.LambdaMax);
}

}  // namespace
}  // namespace wendrel
