// The one place a read spectrum enters the workspace, and the batches of
// files the command line and drops load.
#include <gtest/gtest.h>

#include <filesystem>

#include "app/open_files.h"
#include "app/slot_loading.h"
#include "app/slot_rows.h"
#include "tests/support/fits_writer.h"
#include "tests/support/recording_ui.h"
#include "tests/support/temp_folder.h"

namespace wendrel::testing {
namespace {

namespace fs = std::filesystem;
using Events = std::vector<std::string>;

// Records each message among the other events, with the number of slots loaded when it showed.
struct OrderUi : RecordingUi {
    explicit OrderUi(const Workspace& ws) : ws(ws) {}
    void ShowMessage(const std::string& text) override {
        messages.push_back(text), events.push_back(text + " / " + std::to_string(CountLoaded(ws)));
    }
    const Workspace& ws;
};

LoadResult Read(double start, double end, std::vector<std::string> messages = {}) {
    Slot s;
    s.FileName = "new.fits", s.LambdaStart = start, s.LambdaEnd = end;
    return {s, std::move(messages)};
}

class Loading : public ::testing::Test {
protected:
    bool Commit(int slot, LoadResult read, AfterLoad after = AfterLoad::RedrawWhenShown) {
        return CommitLoad(ws, slot, "/data/new.fits", std::move(read), ui, after);
    }
    auto Range() const { return std::tuple(ws.LambdaMin, ws.LambdaMax, ws.PlotLeft, ws.PlotRight, ws.PlotSpan); }
    fs::path Spectrum(const std::string& name, double crval1 = 4000) {
        return temp.Write(name, SpectrumBytes({.stored = std::vector(200, 500.0), .crval1 = crval1}));
    }

    TempFolder temp;
    Workspace ws;
    OrderUi ui{ws};
};

TEST_F(Loading, MessagesComeFirstThenTheSlotTheRangeTheRowAndTheRedraw) {
    ASSERT_TRUE(Commit(2, Read(5000, 6000)));  // the plot window is closed: no redraw
    ws.PlotShown = true, ws.PlotLeft = 5100, ws.PlotRight = 5200;
    ws.slot(3).Offset = 7, ws.slot(3).SlotColor = 5, ws.slot(3).Velocity = 400;
    ASSERT_TRUE(Commit(3, Read(4000, 5000, {"first", "second"})));
    ASSERT_TRUE(Commit(4, Read(4500, 4600), AfterLoad::NoRedraw));
    EXPECT_EQ(ui.events, (Events{"show row 2", "first / 1", "second / 1", "show row 3", "redraw", "show row 4"}));
    const Slot& s = ws.slot(3);
    EXPECT_EQ(std::tuple(s.Loaded, s.FileName, s.Offset, s.SlotColor, s.Velocity), std::tuple(true, "new.fits", 7, 5, 0));
    EXPECT_EQ(Range(), std::tuple(4000, 6000, 4000, 6000, 2000));
    EXPECT_EQ(std::tuple(ws.DataReady, ws.FilePath), std::tuple(true, "/data"));
}

TEST_F(Loading, ARefusedLoadChangesNothingButTheFolder) {
    ASSERT_TRUE(Commit(1, Read(4000, 5000)));
    ws.PlotShown = true, ws.PlotLeft = 4100, ws.CurSlot = 2, ws.slot(2).FileName = "before.fits";
    const auto before = std::tuple(Range(), ws.DataReady, ws.CurSlot, ws.slot(2).FileName, CountLoaded(ws));
    EXPECT_FALSE(CommitLoad(ws, 2, "/elsewhere/bad.fits", {std::nullopt, {"refused"}}, ui));
    EXPECT_EQ(std::tuple(Range(), ws.DataReady, ws.CurSlot, ws.slot(2).FileName, CountLoaded(ws)), before);
    EXPECT_EQ(ui.events, (Events{"show row 1", "refused / 1"}));
    EXPECT_EQ(ws.FilePath, "/elsewhere");
}

// The empty range's numbers are no wavelengths to widen from.
TEST_F(Loading, TheFirstLoadAfterStartOrAfterEveryUnloadTakesItsOwnRange) {
    for (const auto& [start, end] : {std::pair(120000.0, 130000.0), {-250000.0, -240000.0}}) {
        ws = Workspace{};
        ASSERT_TRUE(Commit(1, Read(start, end)));
        EXPECT_EQ(Range(), std::tuple(start, end, start, end, end - start));
        ws.PlotShown = true;
        UnloadSlot(ws, 1, ui);
        ASSERT_TRUE(Commit(2, Read(6000, 6500)));
        EXPECT_EQ(Range(), std::tuple(6000, 6500, 6000, 6500, 500));
    }
}

TEST_F(Loading, ABatchShowsItsMessagesInOrderRedrawsOnceAndNamesTheFilesLeftInOneMessage) {
    ws.PlotShown = true;  // each load alone would redraw
    std::vector<fs::path> files = {temp.path() / "missing.fits", temp.Write("notes.txt", std::string(2880, 'x'))};
    for (int i = 1; i <= 10; ++i) files.push_back(Spectrum("s" + std::to_string(i) + ".fits", 4000 + i));
    EXPECT_EQ(LoadFiles(ws, PlanIntoEmptyRows(ws, files), ui), 8);  // rows 1 and 2 stay empty
    ASSERT_EQ(ui.messages.size(), 3u);
    EXPECT_NE(ui.messages[0].find("\"missing.fits\""), std::string::npos) << ui.messages[0];
    EXPECT_EQ(ui.messages[1], kNotFitsMessage);
    EXPECT_EQ(ui.messages[2], "No empty row is left for these files, so they were not loaded:\n" +
                                  files[10].string() + "\n" + files[11].string());
    Events events = {ui.messages[0] + " / 0", ui.messages[1] + " / 0"};
    for (int row = 3; row <= 10; ++row) events.push_back("show row " + std::to_string(row));
    events.insert(events.end(), {"redraw", ui.messages[2] + " / 8"});
    EXPECT_EQ(ui.events, events);
    EXPECT_EQ(std::tuple(ws.slot(3).FileName, ws.LambdaMin, ws.LambdaMax), std::tuple("s1.fits", 4001, 4208));
    EXPECT_EQ(NoRowLeftMessage({"x.fits"}), "No empty row is left for this file, so it was not loaded:\nx.fits");
}

TEST_F(Loading, RelativePathsStartAtTheCurrentFolderAndAFolderIsRefusedByItsName) {
    Spectrum("here.fits");
    fs::create_directories(temp.path() / "sub");
    const fs::path previous = fs::current_path();
    fs::current_path(temp.path() / "sub");
    const int loaded = LoadFiles(ws, PlanIntoEmptyRows(ws, {"../here.fits", temp.path() / "sub/"}), ui);
    fs::current_path(previous);
    EXPECT_EQ(std::tuple(loaded, ws.FilePath, ws.slot(1).FileName), std::tuple(1, temp.path().string(), "here.fits"));
    EXPECT_EQ(ui.messages, Events{"\"sub\" is a folder, not a FITS file."});
    EXPECT_EQ(LoadFiles(ws, PlanIntoEmptyRows(ws, {temp.path() / "none.fits"}), ui), 0);
    EXPECT_EQ(ui.redraws, 1);  // nothing loaded, nothing drawn
}

// Drop row 0: files from the command line or dropped away from the rows, one file a letter.
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
        for (int row : c.loaded) ws.slot(row).Loaded = true;
        std::vector<fs::path> files;
        for (char name : c.files) files.push_back(std::string(1, name));
        const FilePlan plan = c.dropRow == 0 ? PlanIntoEmptyRows(ws, files) : PlanFromRow(ws, c.dropRow, files);
        std::vector<int> slots;
        std::vector<fs::path> order;  // the files keep their order: targets first, then those left over
        for (const FileTarget& t : plan.targets) slots.push_back(t.slot), order.push_back(t.file);
        order.insert(order.end(), plan.left.begin(), plan.left.end());
        EXPECT_EQ(std::pair(slots, order), std::pair(c.slots, files)) << c.dropRow << " " << files.size();
    }
}

}  // namespace
}  // namespace wendrel::testing
