// Loads into the slot rows, singly and in batches, and the rows' buttons and bars.
#include <gtest/gtest.h>
#include <filesystem>

#include "app/open_files.h"
#include "app/slot_loading.h"
#include "app/slot_rows.h"
#include "store/rest_frame.h"
#include "tests/support/fits_writer.h"
#include "tests/support/row_filling.h"
#include "tests/support/recording_ui.h"
#include "tests/support/temp_folder.h"

namespace wendrel::testing {
namespace {

namespace fs = std::filesystem;
using Events = std::vector<std::string>;
using Range = std::pair<double, double>;
using Loads = std::vector<std::pair<int, Range>>;

// Records each message among the other events, with the number of slots loaded when it showed.
struct OrderUi : RecordingUi {
    explicit OrderUi(const Workspace& ws) : ws(ws) {}
    void ShowMessage(const std::string& text) override {
        messages.push_back(text);
        events.push_back(text + " / " + std::to_string(CountLoaded(ws)));
    }
    const Workspace& ws;
};

LoadResult Read(double start, double end, std::vector<std::string> messages = {}) {
    Spectrum s;
    s.FileName = "new.fits", s.LambdaStart = start, s.LambdaEnd = end;
    LoadResult read;
    read.spectra.push_back(std::move(s));
    read.numbers = {1}, read.spectraInFile = 1, read.messages = std::move(messages);
    return read;
}

class Slots : public ::testing::Test {
protected:
    bool Commit(int slot, LoadResult read, AfterLoad after = AfterLoad::RedrawWhenShown) {
        return CommitLoad(ws, slot, "/data/new.fits", std::move(read), ui, after);
    }
    fs::path Spectrum(const std::string& name, double crval1 = 4000) {
        SpectrumFile file;
        file.stored.assign(200, 500.0), file.crval1 = crval1;
        return temp.Write(name, SpectrumBytes(file));
    }
    // What loads leave in the workspace, as far as the rows care.
    void Load(const Loads& loads) {
        for (const auto& [slot, range] : loads) {
            wendrel::Spectrum& s = Fill(ws.slot(slot));
            std::tie(s.LambdaStart, s.LambdaEnd) = range;
        }
        RecalcLambdaRange(ws);
        ws.DataReady = true;
    }
    void Zoom(Range view) {
        ws.View.PlotLeft = view.first;
        ws.View.PlotRight = view.second;
    }
    auto RangeAndView() const { return std::tuple(ws.View.LambdaMin, ws.View.LambdaMax, ws.View.PlotLeft, ws.View.PlotRight, ws.View.PlotSpan()); }
    static auto RangeAndView(Range r, Range v) { return std::tuple(r.first, r.second, v.first, v.second, v.second - v.first); }
    TempFolder temp;
    Workspace ws;
    OrderUi ui{ws};
};

TEST_F(Slots, MessagesComeFirstThenTheSlotTheRangeTheRowAndTheRedraw) {
    ASSERT_TRUE(Commit(2, Read(5000, 6000)));  // the plot window is closed: no redraw
    ui.plotShown = true;
    Zoom({5100, 5200});
    ws.slot(3) = Row();
    ws.slot(3).Offset = 7, ws.slot(3).Velocity = 400, ws.slot(3).SlotColor = 5;
    ASSERT_TRUE(Commit(3, Read(4000, 5000, {"first", "second"})));
    ASSERT_TRUE(Commit(4, Read(4500, 4600), AfterLoad::NoRedraw));
    EXPECT_EQ(ui.events, (Events{"show row 2", "new.fits: first / 1", "new.fits: second / 1", "show row 3", "redraw", "show row 4"}));
    const Row& s = ws.slot(3);
    EXPECT_EQ(std::tuple(s.Loaded(), s->FileName, s.Offset, s.SlotColor, s.Velocity), std::tuple(true, "new.fits", 7, 5, 0));
    EXPECT_EQ(RangeAndView(), std::tuple(4000, 6000, 4000, 6000, 2000));
    EXPECT_EQ(std::tuple(ws.DataReady, ws.FilePath), std::tuple(true, "/data"));
}

// The empty range's numbers are no wavelengths to widen from; the views before go.
TEST_F(Slots, TheFirstLoadAfterStartOrAfterEveryUnloadTakesItsOwnRange) {
    for (const auto& [start, end] : {std::pair(120000.0, 130000.0), {-250000.0, -240000.0}}) {
        ws = Workspace{}, ui.plotShown = false;
        ASSERT_TRUE(Commit(1, Read(start, end)));
        EXPECT_EQ(RangeAndView(), RangeAndView({start, end}, {start, end}));
        ui.plotShown = true;
        ws.View.ViewHistory = {{start, end}};
        UnloadSlot(ws, 1, ui);
        EXPECT_TRUE(ws.View.ViewHistory.empty());
        ws.View.ViewHistory = {{start, end}};
        ASSERT_TRUE(Commit(2, Read(6000, 6500)));
        EXPECT_EQ(std::tuple_cat(RangeAndView(), std::tuple(ws.View.ViewHistory.size())), std::tuple(6000, 6500, 6000, 6500, 500, 0u));
    }
}

TEST_F(Slots, ABatchRedrawsOnceAndShowsOneMessageOfEachRefusedFileAndTheFilesLeft) {
    ui.plotShown = true;  // each load alone would redraw
    std::vector<fs::path> files = {temp.path() / "missing.fits", temp.Write("notes.doc", std::string(2880, 'x'))};
    for (int i = 1; i <= 11; ++i) files.push_back(Spectrum("s" + std::to_string(i) + ".fits", 4000 + i));
    EXPECT_EQ(LoadFiles(ws, PlanIntoEmptyRows(ws, files), ui), 10);  // the refused files leave row 1 to s1
    ASSERT_EQ(ui.messages.size(), 1u);
    const std::string missing = "\n\nmissing.fits: Cannot open \"missing.fits\"", notes = "\n\nnotes.doc: " + std::string(kNotFitsMessage);
    EXPECT_TRUE(ui.messages[0].starts_with("Loading the files gave 3 messages:" + missing)) << ui.messages[0];
    EXPECT_TRUE(ui.messages[0].ends_with(notes + "\n\nNo empty row is left for this file, so it was not loaded:\n" +
                                         files[12].string())) << ui.messages[0];
    Events events;
    for (int row = 1; row <= 10; ++row) events.push_back("show row " + std::to_string(row));
    events.insert(events.end(), {"redraw", ui.messages[0] + " / 10"});
    EXPECT_EQ(ui.events, events);
    EXPECT_EQ(std::tuple(ws.slot(1)->FileName, ws.View.LambdaMin, ws.View.LambdaMax), std::tuple("s1.fits", 4000.5, 4209.5));
}

TEST_F(Slots, RelativePathsStartAtTheCurrentFolderAndAFolderIsRefusedByItsName) {
    const fs::path previous = fs::current_path(), sub = temp.path() / "sub";
    Spectrum("here.fits");
    fs::create_directories(sub);
    fs::current_path(sub);
    const int loaded = LoadFiles(ws, PlanIntoEmptyRows(ws, {"../here.fits", "../sub/"}), ui);
    fs::current_path(previous);
    EXPECT_EQ(std::tuple(loaded, ws.FilePath, ws.slot(1)->FileName), std::tuple(1, temp.path().string(), "here.fits"));
    EXPECT_EQ(ui.messages, Events{"\"sub\" is a folder, not a FITS file."});
    EXPECT_EQ(LoadFiles(ws, PlanIntoEmptyRows(ws, {temp.path() / "none.fits"}), ui), 0);
    EXPECT_EQ(ui.redraws, 1);  // nothing loaded, nothing drawn
}

TEST_F(Slots, UnloadRecomputesTheRangeFromTheRemainingSlotsOnlyWhileThePlotIsOpen) {
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
        ws = Workspace{};
        ui.events.clear();
        Load(c.loaded);
        Zoom(zoom);
        ui.plotShown = c.plotShown;
        ws.slot(c.unload).Offset = 33;
        UnloadSlot(ws, c.unload, ui);
        EXPECT_EQ(RangeAndView(), RangeAndView(c.range, c.view));
        EXPECT_EQ(std::tuple(ui.events, ws.DataReady, ws.CurSlot, ws.slot(c.unload).Loaded(), ws.slot(c.unload).Offset),
                  std::tuple(c.events, c.loaded.size() > 1, c.unload, false, 33));
    }
}

TEST_F(Slots, BarsRedrawOnlyWithDataAndOnlyLoadUnloadAndHdrChooseTheCurrentSlot) {
    OffsetChanged(ws, 4, -120, ui);  // nothing loaded: no range to recompute
    VelocityChanged(ws, 4, 250, ui);
    EXPECT_EQ(std::tuple(ws.slot(4).Offset, ws.slot(4).Velocity, ws.View.LambdaMin, ui.redraws),
              std::tuple(-120, 250, kEmptyLambdaMin, 0));
    Load({{1, {4000, 5000}}, {10, {4000, 5000}}});
    LoadPressed(ws, 3);
    OffsetChanged(ws, 1, 17, ui);
    VelocityChanged(ws, 1, 5, ui);
    PlotSpectra(ui);
    EXPECT_EQ(std::tuple(ws.slot(1).Offset, ui.redraws, ws.CurSlot), std::tuple(17, 3, 3));
    EXPECT_TRUE(HdrPressed(ws, 10));
    EXPECT_FALSE(HdrPressed(ws, 9));  // an empty row shows no header but is still chosen
    EXPECT_EQ(ws.CurSlot, 9);
    for (const int slot : {1, 10}) UnloadSlot(ws, slot, ui);
    OffsetChanged(ws, 1, 5, ui);
    VelocityChanged(ws, 1, 5, ui);
    EXPECT_EQ(std::tuple(ui.redraws, ws.CurSlot, HdrPressed(ws, 10)), std::tuple(3, 10, false));
}

TEST_F(Slots, BarVelocitiesAreHeldToTheBarTypedOnesTakenAsTheyAreAndTheRangeFollows) {
    Load({{1, {6000, 7000}}, {2, {6500, 6600}}});
    VelocityChanged(ws, 1, 3000, ui);
    EXPECT_NEAR(ws.View.LambdaMin, 5940.56, 0.01);  // a receding source is drawn at shorter wavelengths
    const double f = RestFrameFactor(3000), g = RestFrameFactor(kMinVelocity);
    EXPECT_EQ(RangeAndView(), RangeAndView({6000 / f, 7000 / f}, {6000 / f, 7000 / f}));
    VelocityChanged(ws, 2, -99999, ui);  // held to the bar, far enough to the red to be the long end
    VelocityChanged(ws, 4, 99999, ui);   // an empty row's velocity changes nothing
    EXPECT_EQ(std::tuple(ws.slot(2).Velocity, ws.slot(4).Velocity), std::tuple(kMinVelocity, kMaxVelocity));
    EXPECT_EQ(RangeAndView(), RangeAndView({6000 / f, 6600 / g}, {6000 / f, 6600 / g}));
    ui.plotShown = true;
    UnloadSlot(ws, 1, ui);
    EXPECT_EQ(RangeAndView(), RangeAndView({6500 / g, 6600 / g}, {6500 / g, 6600 / g}));
    VelocityChanged(ws, 2, 0, ui);  // the file's own wavelengths, exactly
    EXPECT_EQ(std::tuple(ws.View.LambdaMin, ws.View.LambdaMax), std::tuple(6500, 6600));
    VelocityTyped(ws, 2, 796.9, ui);
    EXPECT_EQ(std::tuple(ws.slot(2).Velocity, ws.View.LambdaMin), std::tuple(796.9, 6500 / RestFrameFactor(796.9)));
}

TEST_F(Slots, AWholeViewFollowsTheVelocityAndAZoomedOneStaysInsideTheRange) {
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
        EXPECT_EQ(RangeAndView(), RangeAndView({6000 / RestFrameFactor(c.velocity), 7000 / RestFrameFactor(c.velocity)}, c.after));
    }
}

// Drop row 0: files from the command line or dropped away from the rows, one file a letter.
// A level below 1 (flux-calibrated spectra) keeps three significant digits instead of reading 0.
TEST(RowCaptions, LevelText) {
    for (const auto& [level, text] : {std::pair(2.5e17, "250000000000000000"), {1234.9, "1234"}, {1.0, "1"},
                                      {0.5, "0.500"}, {1.0606e-14, "1.06e-14"}})
        EXPECT_EQ(LevelText(level), text);
}

TEST(FilePlans, RowsAndFilesLeftOver) {
    const std::vector<int> all = {1, 2, 3, 4, 5, 6, 7, 8, 9, 10};
    const std::string eleven = "abcdefghijk";
    const struct { std::vector<int> loaded; int dropRow; std::string files; std::vector<int> slots; } cases[] = {
        {{}, 0, "ab", {1, 2}}, {{}, 0, eleven, all}, {{1, 3, 4}, 0, "abc", {2, 5, 6}}, {all, 0, "ab", {}},
        {all, 4, "ab", {4}},  // a loaded row is replaced; the others go into the empty rows below it, then above
        {{5}, 3, "abc", {3, 4, 6}}, {{9}, 8, "abcd", {8, 10, 1, 2}}, {{}, 10, eleven, {10, 1, 2, 3, 4, 5, 6, 7, 8, 9}},
        {{}, 3, "", {}}};
    for (const auto& c : cases) {
        Workspace ws;
        for (int row : c.loaded) Fill(ws.slot(row));
        std::vector<fs::path> files;
        for (char name : c.files) files.push_back(std::string(1, name));
        const FilePlan plan = c.dropRow == 0 ? PlanIntoEmptyRows(ws, files) : PlanFromRow(ws, c.dropRow, files);
        std::vector<int> slots;
        std::vector<fs::path> order;  // the files keep their order: targets first, then those left over
        for (const FileTarget& t : plan.targets) {
            slots.push_back(t.slot);
            order.push_back(t.file);
        }
        order.insert(order.end(), plan.left.begin(), plan.left.end());
        EXPECT_EQ(std::pair(slots, order), std::pair(c.slots, files)) << c.dropRow << " " << files.size();
    }
}

}  // namespace
}  // namespace wendrel::testing
