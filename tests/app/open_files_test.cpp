// Batches of files as the command line and drops load them: which rows they
// go into, the reader's messages, one redraw per batch, and the message
// naming files that found no row.
#include <gtest/gtest.h>

#include <filesystem>

#include "app/open_files.h"
#include "fits/fits_reader.h"
#include "tests/support/fits_writer.h"
#include "tests/support/recording_ui.h"
#include "tests/support/temp_folder.h"

namespace wendrel::testing {
namespace {

namespace fs = std::filesystem;

std::vector<int> Slots(const FilePlan& plan) {
    std::vector<int> slots;
    for (const FileTarget& t : plan.targets) slots.push_back(t.slot);
    return slots;
}

std::vector<fs::path> Names(int count) {
    std::vector<fs::path> names;
    for (int i = 1; i <= count; ++i) names.push_back("f" + std::to_string(i) + ".fits");
    return names;
}

struct PlanCase {
    const char* name;
    std::vector<int> loaded;  // rows already holding a spectrum
    int dropRow;              // 0: dropped away from the rows, or the command line
    int files;
    std::vector<int> slots;
    size_t left;
};

class PlanTest : public ::testing::TestWithParam<PlanCase> {};

TEST_P(PlanTest, RowsAndFilesLeftOver) {
    const PlanCase& c = GetParam();
    Workspace ws;
    for (int row : c.loaded) ws.slot(row).Loaded = true;
    const std::vector<fs::path> files = Names(c.files);
    const FilePlan plan = c.dropRow == 0 ? PlanIntoEmptyRows(ws, files) : PlanFromRow(ws, c.dropRow, files);
    EXPECT_EQ(Slots(plan), c.slots);
    ASSERT_EQ(plan.left.size(), c.left);
    // The files keep their order: targets first, then those left over.
    for (size_t i = 0; i < plan.targets.size(); ++i) EXPECT_EQ(plan.targets[i].file, files[i]);
    for (size_t i = 0; i < plan.left.size(); ++i) EXPECT_EQ(plan.left[i], files[plan.targets.size() + i]);
}

INSTANTIATE_TEST_SUITE_P(
    Batches, PlanTest,
    ::testing::Values(
        PlanCase{"TwoFilesAtStart", {}, 0, 2, {1, 2}, 0},
        PlanCase{"TenFilesFillEveryRow", {}, 0, 10, {1, 2, 3, 4, 5, 6, 7, 8, 9, 10}, 0},
        PlanCase{"ElevenFilesLeaveOne", {}, 0, 11, {1, 2, 3, 4, 5, 6, 7, 8, 9, 10}, 1},
        PlanCase{"EmptyRowsBetweenLoadedOnes", {1, 3, 4}, 0, 3, {2, 5, 6}, 0},
        PlanCase{"NoEmptyRow", {1, 2, 3, 4, 5, 6, 7, 8, 9, 10}, 0, 2, {}, 2},
        PlanCase{"OnALoadedRowReplacesIt", {1, 2, 3, 4, 5, 6, 7, 8, 9, 10}, 4, 2, {4}, 1},
        PlanCase{"OnARowThenTheEmptyRowsBelow", {5}, 3, 3, {3, 4, 6}, 0},
        PlanCase{"OnARowThenTheEmptyRowsAbove", {9}, 8, 4, {8, 10, 1, 2}, 0},
        PlanCase{"OnTheLastRow", {}, 10, 11, {10, 1, 2, 3, 4, 5, 6, 7, 8, 9}, 1},
        PlanCase{"NothingDropped", {}, 3, 0, {}, 0}),
    [](const ::testing::TestParamInfo<PlanCase>& info) { return std::string(info.param.name); });

class LoadFilesTest : public ::testing::Test {
protected:
    fs::path Spectrum(const std::string& name, double crval1 = 4000) {
        SpectrumFile s;
        s.stored.assign(200, 500.0);
        s.crval1 = crval1;
        s.object = name;
        const fs::path file = temp_.path() / name;
        WriteFileBytes(file, SpectrumBytes(s));
        return file;
    }

    TempFolder temp_;
    Workspace ws_;
    RecordingUi ui_;
};

TEST_F(LoadFilesTest, LoadsEachFileIntoItsRowAndRedrawsOnce) {
    ws_.PlotShown = true;  // each load alone would redraw
    const fs::path a = Spectrum("a.fits", 4000), b = Spectrum("b.fits", 5000);
    EXPECT_EQ(LoadFiles(ws_, PlanIntoEmptyRows(ws_, {a, b}), ui_), 2);
    EXPECT_EQ(ui_.events, (std::vector<std::string>{"show row 1", "show row 2", "redraw"}));
    EXPECT_EQ(ws_.slot(1).FileName, "a.fits");
    EXPECT_EQ(ws_.slot(2).FileName, "b.fits");
    EXPECT_EQ(ws_.FilePath, temp_.path().string());
    EXPECT_EQ(ws_.LambdaMin, 4000);
    EXPECT_EQ(ws_.LambdaMax, 5200);
    EXPECT_TRUE(ui_.messages.empty());
}

TEST_F(LoadFilesTest, RedrawsAlsoWhenThePlotWindowIsClosed) {
    EXPECT_EQ(LoadFiles(ws_, PlanIntoEmptyRows(ws_, {Spectrum("a.fits")}), ui_), 1);
    EXPECT_EQ(ui_.redraws, 1);
}

TEST_F(LoadFilesTest, RefusedFilesKeepTheirRowsEmptyWithTheReadersMessages) {
    const fs::path good = Spectrum("good.fits");
    const fs::path text = temp_.Write("notes.txt", std::string(2880, 'x'));
    const fs::path missing = temp_.path() / "missing.fits";
    ws_.slot(2).FileName = "before.fits";

    EXPECT_EQ(LoadFiles(ws_, PlanIntoEmptyRows(ws_, {missing, text, good}), ui_), 1);
    ASSERT_EQ(ui_.messages.size(), 2u);
    EXPECT_NE(ui_.messages[0].find("Cannot open \"missing.fits\""), std::string::npos) << ui_.messages[0];
    EXPECT_EQ(ui_.messages[1], kNotFitsMessage);
    EXPECT_FALSE(ws_.slot(1).Loaded);
    EXPECT_FALSE(ws_.slot(2).Loaded);
    EXPECT_EQ(ws_.slot(2).FileName, "before.fits");  // a refused file leaves the name as it was
    EXPECT_TRUE(ws_.slot(3).Loaded);
    EXPECT_EQ(ui_.events, (std::vector<std::string>{"show row 3", "redraw"}));
}

TEST_F(LoadFilesTest, NothingLoadedNoRedraw) {
    ws_.PlotShown = true;
    EXPECT_EQ(LoadFiles(ws_, PlanIntoEmptyRows(ws_, {temp_.path() / "none.fits"}), ui_), 0);
    EXPECT_EQ(ui_.redraws, 0);
    EXPECT_EQ(ui_.messages.size(), 1u);
    EXPECT_TRUE(ui_.events.empty());
}

TEST_F(LoadFilesTest, RelativePathsStartAtTheCurrentFolder) {
    Spectrum("here.fits");
    fs::create_directories(temp_.path() / "sub");
    const fs::path previous = fs::current_path();
    fs::current_path(temp_.path() / "sub");
    const int loaded = LoadFiles(ws_, PlanIntoEmptyRows(ws_, {"../here.fits"}), ui_);
    fs::current_path(previous);
    EXPECT_EQ(loaded, 1);
    EXPECT_EQ(ws_.FilePath, temp_.path().string());
    EXPECT_EQ(ws_.slot(1).FileName, "here.fits");
}

TEST_F(LoadFilesTest, AFolderIsRefusedByItsOwnName) {
    fs::create_directories(temp_.path() / "folder");
    EXPECT_EQ(LoadFiles(ws_, PlanIntoEmptyRows(ws_, {temp_.path() / "folder/"}), ui_), 0);
    ASSERT_EQ(ui_.messages.size(), 1u);
    EXPECT_EQ(ui_.messages[0], "\"folder\" is a folder, not a FITS file.");
}

TEST_F(LoadFilesTest, FilesLeftOverAreNamedInOneMessageAfterTheLoads) {
    std::vector<fs::path> files;
    for (int i = 1; i <= 12; ++i) files.push_back(Spectrum("s" + std::to_string(i) + ".fits", 4000 + i));
    EXPECT_EQ(LoadFiles(ws_, PlanIntoEmptyRows(ws_, files), ui_), 10);
    ASSERT_EQ(ui_.messages.size(), 1u);
    EXPECT_EQ(ui_.messages[0], "No empty row is left for these files, so they were not loaded:\n" +
                                   files[10].string() + "\n" + files[11].string());
    EXPECT_EQ(ui_.events.back(), "redraw");
    EXPECT_EQ(ui_.redraws, 1);
}

TEST(NoRowLeftMessage, OneFile) {
    EXPECT_EQ(NoRowLeftMessage({"x.fits"}), "No empty row is left for this file, so it was not loaded:\nx.fits");
}

}  // namespace
}  // namespace wendrel::testing
