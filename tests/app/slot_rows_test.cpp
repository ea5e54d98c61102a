#include "app/slot_rows.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "tests/support/recording_ui.h"

namespace wendrel {
namespace {

using testing::RecordingUi;
using Events = std::vector<std::string>;

// What a successful load leaves in the workspace, as far as the rows care.
void Load(Workspace& ws, int slot, double start, double end) {
    Slot& s = ws.slot(slot);
    s.Loaded = true;
    s.LambdaStart = start;
    s.LambdaEnd = end;
    ws.LambdaMin = std::min(ws.LambdaMin, start);
    ws.LambdaMax = std::max(ws.LambdaMax, end);
    ws.PlotLeft = ws.LambdaMin;
    ws.PlotRight = ws.LambdaMax;
    ws.PlotSpan = ws.PlotRight - ws.PlotLeft;
    ws.DataReady = true;
}

void Zoom(Workspace& ws, double left, double right) {
    ws.PlotLeft = left;
    ws.PlotRight = right;
    ws.PlotSpan = right - left;
}

class SlotRows : public ::testing::Test {
protected:
    void LoadTwoAndPlot() {
        Load(ws, 2, 4000, 5000);
        Load(ws, 5, 6000, 7000);
        ws.PlotShown = true;
        Zoom(ws, 4500, 4600);
    }

    void ExpectView(double left, double right) const {
        EXPECT_EQ(ws.PlotLeft, left);
        EXPECT_EQ(ws.PlotRight, right);
        EXPECT_EQ(ws.PlotSpan, right - left);
    }

    Workspace ws;
    RecordingUi ui;
};

TEST_F(SlotRows, CountLoadedCountsSlotsOneToTen) {
    EXPECT_EQ(CountLoaded(ws), 0);
    ws.slot(0).Loaded = true;  // index 0 is no slot
    EXPECT_EQ(CountLoaded(ws), 0);
    Load(ws, 1, 1, 2);
    Load(ws, 10, 1, 2);
    EXPECT_EQ(CountLoaded(ws), 2);
}

TEST_F(SlotRows, UnloadOneOfTwoWithThePlotShownReturnsToTheFullRangeOfTheOther) {
    LoadTwoAndPlot();
    ws.slot(5).Offset = 33;
    UnloadSlot(ws, 5, ui);

    EXPECT_EQ(ws.CurSlot, 5);
    EXPECT_FALSE(ws.slot(5).Loaded);
    EXPECT_TRUE(ws.DataReady);
    EXPECT_EQ(ui.events, (Events{"hide row 5", "clear plot", "redraw"}));
    EXPECT_EQ(ws.LambdaMin, 4000);
    EXPECT_EQ(ws.LambdaMax, 5000);
    ExpectView(4000, 5000);
    // The slot's data stay until the next load overwrites them.
    EXPECT_EQ(ws.slot(5).LambdaStart, 6000);
    EXPECT_EQ(ws.slot(5).Offset, 33);
}

TEST_F(SlotRows, UnloadTheLastWithThePlotShownHidesIt) {
    Load(ws, 3, 4000, 5000);
    ws.PlotShown = true;  // also when the plot window was only hidden through its own menu
    Zoom(ws, 4200, 4300);
    UnloadSlot(ws, 3, ui);

    EXPECT_FALSE(ws.DataReady);
    EXPECT_TRUE(ws.PlotShown);
    EXPECT_EQ(ui.events, (Events{"hide row 3", "hide plot"}));
    EXPECT_EQ(ws.LambdaMin, kEmptyLambdaMin);
    EXPECT_EQ(ws.LambdaMax, kEmptyLambdaMax);
    ExpectView(4200, 4300);
}

TEST_F(SlotRows, UnloadWithThePlotClosedLeavesRangeAndView) {
    LoadTwoAndPlot();
    ws.PlotShown = false;  // closed with its close box
    UnloadSlot(ws, 2, ui);
    EXPECT_TRUE(ws.DataReady);
    EXPECT_EQ(ui.events, (Events{"hide row 2"}));
    EXPECT_EQ(ws.LambdaMin, 4000);
    EXPECT_EQ(ws.LambdaMax, 7000);
    ExpectView(4500, 4600);

    UnloadSlot(ws, 5, ui);
    EXPECT_FALSE(ws.DataReady);
    EXPECT_EQ(ui.events, (Events{"hide row 2", "hide row 5"}));
    EXPECT_EQ(ws.LambdaMin, 4000);
    EXPECT_EQ(ws.LambdaMax, 7000);
    ExpectView(4500, 4600);
}

TEST_F(SlotRows, UnloadKeepsTheTrueRangeOfInfraredSpectra) {
    Load(ws, 1, 4000, 5000);
    Load(ws, 2, 12000, 25000);
    Load(ws, 3, 22000, 41000.5);
    ws.PlotShown = true;
    UnloadSlot(ws, 1, ui);
    EXPECT_EQ(ws.LambdaMin, 12000);
    EXPECT_EQ(ws.LambdaMax, 41000.5);
    ExpectView(12000, 41000.5);
}

TEST_F(SlotRows, RecalcLambdaRangeUsesOnlyLoadedSlotsWhateverTheirWavelengths) {
    const struct {
        const char* what;
        std::vector<std::pair<double, double>> loaded;
        double min, max;
    } cases[] = {
        {"one optical", {{3800, 7200}}, 3800, 7200},
        {"disjoint", {{3800, 4200}, {6500, 6700}}, 3800, 6700},
        {"nested", {{3000, 9000}, {5000, 5100}}, 3000, 9000},
        {"far infrared", {{150000, 250000}}, 150000, 250000},
        {"negative", {{-30000, -20000}}, -30000, -20000},
    };
    for (const auto& c : cases) {
        Workspace w;
        Load(w, 4, -1e6, 1e6);
        w.slot(4).Loaded = false;  // an unloaded slot's data do not count
        int slot = 6;
        for (const auto& [start, end] : c.loaded) {
            w.slot(slot).Loaded = true;
            w.slot(slot).LambdaStart = start;
            w.slot(slot).LambdaEnd = end;
            ++slot;
        }
        RecalcLambdaRange(w);
        EXPECT_EQ(w.LambdaMin, c.min) << c.what;
        EXPECT_EQ(w.LambdaMax, c.max) << c.what;
        EXPECT_EQ(w.PlotLeft, c.min) << c.what;
        EXPECT_EQ(w.PlotRight, c.max) << c.what;
        EXPECT_EQ(w.PlotSpan, c.max - c.min) << c.what;
    }
}

TEST_F(SlotRows, AfterUnloadingEverythingTheNextLoadSetsTheRangeAfresh) {
    Load(ws, 1, 4000, 5000);
    ws.PlotShown = true;
    UnloadSlot(ws, 1, ui);
    Load(ws, 7, 6000, 6500);
    EXPECT_EQ(ws.LambdaMin, 6000);
    EXPECT_EQ(ws.LambdaMax, 6500);
}

TEST_F(SlotRows, OffsetChangesRedrawOnlyOnceDataAreReady) {
    OffsetChanged(ws, 4, -120, ui);
    EXPECT_EQ(ws.slot(4).Offset, -120);
    EXPECT_EQ(ui.redraws, 0);

    Load(ws, 4, 4000, 5000);
    OffsetChanged(ws, 4, 17, ui);
    EXPECT_EQ(ws.slot(4).Offset, 17);
    EXPECT_EQ(ui.events, (Events{"redraw"}));

    UnloadSlot(ws, 4, ui);  // the last one: no data ready any more
    OffsetChanged(ws, 4, 5, ui);
    EXPECT_EQ(ws.slot(4).Offset, 5);
    EXPECT_EQ(ui.redraws, 1);
}

TEST_F(SlotRows, PlotSpectraAlwaysAsksForARedraw) {
    PlotSpectra(ui);
    EXPECT_EQ(ui.events, (Events{"redraw"}));
}

TEST_F(SlotRows, OnlyLoadUnloadAndHdrChooseTheCurrentSlot) {
    Load(ws, 1, 4000, 5000);
    Load(ws, 7, 4000, 5000);
    LoadPressed(ws, 3);
    EXPECT_EQ(ws.CurSlot, 3);
    OffsetChanged(ws, 1, 10, ui);  // redraws, and the chooser still targets slot 3
    PlotSpectra(ui);
    EXPECT_EQ(ws.CurSlot, 3);

    EXPECT_TRUE(HdrPressed(ws, 7));
    EXPECT_EQ(ws.CurSlot, 7);
    EXPECT_FALSE(HdrPressed(ws, 9));  // an empty slot shows no header but is still chosen
    EXPECT_EQ(ws.CurSlot, 9);
    UnloadSlot(ws, 1, ui);
    EXPECT_EQ(ws.CurSlot, 1);
    EXPECT_FALSE(HdrPressed(ws, 1));
}

}  // namespace
}  // namespace wendrel
