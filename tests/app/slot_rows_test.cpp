// What the buttons and bars of the main window's slot rows do to the
// workspace: unloads, offsets and velocities.
#include "app/slot_rows.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "store/rest_frame.h"
#include "tests/support/recording_ui.h"

namespace wendrel {
namespace {

using Events = std::vector<std::string>;
using Range = std::pair<double, double>;
using Loads = std::vector<std::pair<int, Range>>;

class SlotRows : public ::testing::Test {
protected:
    // What loads leave in the workspace, as far as the rows care.
    void Load(const Loads& loads) {
        for (const auto& [slot, range] : loads)
            ws.slot(slot).Loaded = true, ws.slot(slot).LambdaStart = range.first, ws.slot(slot).LambdaEnd = range.second;
        RecalcLambdaRange(ws);
        ws.DataReady = true;
    }
    void Zoom(Range view) { ws.PlotLeft = view.first, ws.PlotRight = view.second, ws.PlotSpan = view.second - view.first; }
    void ExpectRangeAndView(Range range, Range view) const {
        for (const auto& [actual, expected] : {std::pair{ws.LambdaMin, range.first}, {ws.LambdaMax, range.second},
                 {ws.PlotLeft, view.first}, {ws.PlotRight, view.second}, {ws.PlotSpan, view.second - view.first}})
            EXPECT_DOUBLE_EQ(actual, expected);
    }

    Workspace ws;
    testing::RecordingUi ui;
};

TEST_F(SlotRows, UnloadRecomputesTheRangeFromTheRemainingSlotsOnlyWhileThePlotIsOpen) {
    const Range zoom{4500, 4600}, empty{kEmptyLambdaMin, kEmptyLambdaMax};
    const Events redraw = {"hide row 5", "clear plot", "redraw"};
    const struct { const char* what; Loads loaded; bool plotShown; int unload; Events events; Range range, view; } cases[] = {
        {"one of two", {{2, {4000, 5000}}, {5, {6000, 7000}}}, true, 5, redraw, {4000, 5000}, {4000, 5000}},
        {"far infrared left", {{5, {4000, 5000}}, {2, {150000, 250000}}}, true, 5, redraw, {150000, 250000}, {150000, 250000}},
        {"negative left", {{5, {4000, 5000}}, {10, {-300000, -200000}}}, true, 5, redraw, {-3e5, -2e5}, {-3e5, -2e5}},
        {"the last hides the plot", {{3, {4000, 5000}}}, true, 3, {"hide row 3", "hide plot"}, empty, zoom},
        {"plot closed", {{2, {4000, 5000}}, {5, {6000, 7000}}}, false, 2, {"hide row 2"}, {4000, 7000}, zoom},
        {"plot closed, the last", {{2, {4000, 5000}}}, false, 2, {"hide row 2"}, {4000, 5000}, zoom},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        ws = Workspace{}, ui.events.clear();
        Load(c.loaded);
        ws.PlotShown = c.plotShown, ws.slot(c.unload).Offset = 33;
        Zoom(zoom);
        UnloadSlot(ws, c.unload, ui);
        EXPECT_EQ(ui.events, c.events);
        ExpectRangeAndView(c.range, c.view);
        EXPECT_EQ(ws.DataReady, c.loaded.size() > 1);
        EXPECT_EQ(std::tuple(ws.CurSlot, ws.slot(c.unload).Loaded, ws.slot(c.unload).Offset), std::tuple(c.unload, false, 33));
    }
}

TEST_F(SlotRows, BarsRedrawOnlyWithDataAndOnlyLoadUnloadAndHdrChooseTheCurrentSlot) {
    OffsetChanged(ws, 4, -120, ui);
    VelocityChanged(ws, 4, 250, ui);  // nothing loaded: no range to recompute
    EXPECT_EQ(std::tuple(ws.slot(4).Offset, ws.slot(4).Velocity, ws.LambdaMin, ui.redraws),
              std::tuple(-120, 250, kEmptyLambdaMin, 0));
    Load({{1, {4000, 5000}}, {10, {4000, 5000}}});
    EXPECT_EQ(CountLoaded(ws), 2);
    LoadPressed(ws, 3);
    OffsetChanged(ws, 1, 17, ui), VelocityChanged(ws, 1, 5, ui), PlotSpectra(ui);
    EXPECT_EQ(std::tuple(ws.slot(1).Offset, ui.redraws, ws.CurSlot), std::tuple(17, 3, 3));
    EXPECT_FALSE(HdrPressed(ws, 9));  // an empty row shows no header but is still chosen
    EXPECT_EQ(ws.CurSlot, 9);
    EXPECT_TRUE(HdrPressed(ws, 10));
    EXPECT_EQ(ws.CurSlot, 10);
    UnloadSlot(ws, 1, ui), UnloadSlot(ws, 10, ui);
    OffsetChanged(ws, 1, 5, ui), VelocityChanged(ws, 1, 5, ui);
    EXPECT_EQ(ui.redraws, 3);
    EXPECT_FALSE(HdrPressed(ws, 10));
}

TEST_F(SlotRows, VelocitiesAreHeldToTheBarAndTheRangeFollowsTheShiftedSlots) {
    Slot receding;
    receding.Velocity = 667;  // H-alpha seen at 6577.4 is back at its laboratory wavelength
    EXPECT_NEAR(RestWavelength(receding, 6577.4), 6562.8, 0.01);
    Load({{1, {6000, 7000}}, {2, {6500, 6600}}});
    VelocityChanged(ws, 1, 99999, ui);
    EXPECT_EQ(ws.slot(1).Velocity, kMaxVelocity);
    VelocityChanged(ws, 1, 3000, ui);
    EXPECT_NEAR(ws.LambdaMin, 5940.56, 0.01);
    const double f = RestFrameFactor(3000), g = RestFrameFactor(kMinVelocity);
    ExpectRangeAndView({6000 / f, 7000 / f}, {6000 / f, 7000 / f});
    VelocityChanged(ws, 2, -99999, ui);  // far enough to the red slot 2 becomes the long end
    EXPECT_EQ(ws.slot(2).Velocity, kMinVelocity);
    VelocityChanged(ws, 4, 5000, ui);  // an empty row's velocity changes nothing
    ExpectRangeAndView({6000 / f, 6600 / g}, {6000 / f, 6600 / g});
    ws.PlotShown = true;
    UnloadSlot(ws, 1, ui);
    ExpectRangeAndView({6500 / g, 6600 / g}, {6500 / g, 6600 / g});
    VelocityChanged(ws, 2, 0, ui);  // the file's own wavelengths, exactly
    EXPECT_EQ(std::tuple(ws.LambdaMin, ws.LambdaMax), std::tuple(6500, 6600));
}

TEST_F(SlotRows, AWholeViewFollowsTheVelocityAndAZoomedOneStaysInsideTheRange) {
    const double f = RestFrameFactor(3000), g = RestFrameFactor(kMaxVelocity);
    const struct { const char* what; Range view; int velocity; Range after; } cases[] = {
        {"the whole range follows", {6000, 7000}, 3000, {6000 / f, 7000 / f}},
        {"a hundredth off still counts as whole", {6009, 7009}, 3000, {6000 / f, 7000 / f}},
        {"more off is a zoom, which stays", {6011, 6500}, 3000, {6011, 6500}},
        {"an edge beyond is pulled in", {6900, 7000}, 3000, {6900, 7000 / f}},
        {"nothing left inside: the whole new range", {6990, 7000}, kMaxVelocity, {6000 / g, 7000 / g}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        ws = Workspace{};
        Load({{1, {6000, 7000}}});
        Zoom(c.view);
        VelocityChanged(ws, 1, c.velocity, ui);
        ExpectRangeAndView({6000 / RestFrameFactor(c.velocity), 7000 / RestFrameFactor(c.velocity)}, c.after);
    }
}

}  // namespace
}  // namespace wendrel
