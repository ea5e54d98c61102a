// The main window's rows and menus once spectra are loaded: offsets, Plot
// Spectra, Unload with the plot window open, hidden and closed, refused loads,
// Hdr and the Help menu.
#include "fits/fits_reader.h"
#include "tests/windows/program_fixture.h"
#include "windows/header_viewer.h"

namespace wendrel::testing {
namespace {

class RowsTest : public ProgramTest {
protected:
    void SetUp() override {
        ProgramTest::SetUp();
        WriteSpectrum(data_ / "blue.fts", {.object = "Blue", .crval1 = 4000, .cd1_1 = 1, .pixels = 250});
        WriteSpectrum(data_ / "red.fts", {.object = "Red", .crval1 = 6000, .cd1_1 = 2, .pixels = 300});
        WriteFileBytes(data_ / "text.fts", std::string(2880, 'x'));
    }

    // Starts and loads blue.fts into row 1 and red.fts into row 2.
    void StartWithTwo() {
        Start();
        LoadThroughChooser(1, data_, "blue.fts");
        LoadThroughChooser(2, data_, "red.fts");
        ASSERT_TRUE(messages_.empty());
        ASSERT_TRUE(ws().slot(1).Loaded && ws().slot(2).Loaded);
    }

    void PlotSpectra() { Click(mainWindow().plotButton()); }

    // Zooms to a part of the range, as the plot window's zoom would.
    void ZoomTo(double left, double right) {
        ws().PlotLeft = left;
        ws().PlotRight = right;
        ws().PlotSpan = right - left;
    }
};

TEST_F(RowsTest, PlotSpectraDoesNothingBeforeALoadThenOpensThePlot) {
    Start();
    PlotSpectra();
    EXPECT_EQ(plotWindow(), nullptr);
    EXPECT_FALSE(ws().PlotShown);
    LoadThroughChooser(1, data_, "blue.fts");
    EXPECT_EQ(plotWindow(), nullptr);  // a load opens no plot
    PlotSpectra();
    EXPECT_TRUE(PlotVisible());
    EXPECT_TRUE(ws().PlotShown);
}

TEST_F(RowsTest, OffsetBarStepsByOneAndFiveAndUpdatesItsCaption) {
    StartWithTwo();
    QScrollBar* bar = row(1).VScroll1;
    QTest::keyClick(bar, Qt::Key_Down);
    EXPECT_EQ(ws().slot(1).Offset, -74);
    EXPECT_EQ(row(1).Label10->text(), "-74");
    QTest::keyClick(bar, Qt::Key_PageUp);
    EXPECT_EQ(ws().slot(1).Offset, -79);
    EXPECT_EQ(row(1).Label10->text(), "-79");
    bar->setValue(60);
    EXPECT_EQ(ws().slot(1).Offset, 60);
    EXPECT_EQ(row(1).Label10->text(), "60");
    bar->setValue(-500);
    EXPECT_EQ(ws().slot(1).Offset, -200);
    EXPECT_EQ(row(1).Label10->text(), "-200");
    EXPECT_EQ(ws().slot(2).Offset, -60);
}

TEST_F(RowsTest, OffsetChangeWithDataRedrawsAndSoOpensThePlot) {
    StartWithTwo();
    ASSERT_EQ(plotWindow(), nullptr);
    row(2).VScroll1->setValue(-10);
    ProcessEvents();
    EXPECT_TRUE(PlotVisible());
    EXPECT_TRUE(ws().PlotShown);
    EXPECT_EQ(row(2).Label10->text(), "-10");

    // Hidden through its own menu, the plot comes back with the next change.
    plotWindow()->mExit_Click();
    ASSERT_FALSE(PlotVisible());
    row(2).VScroll1->setValue(-11);
    ProcessEvents();
    EXPECT_TRUE(PlotVisible());
}

TEST_F(RowsTest, OffsetChangeWithoutDataOnlySetsOffsetAndCaption) {
    StartWithTwo();
    Click(row(1).Command2);
    Click(row(2).Command2);
    ASSERT_FALSE(ws().DataReady);
    row(2).VScroll1->setValue(33);
    ProcessEvents();
    EXPECT_EQ(ws().slot(2).Offset, 33);
    EXPECT_EQ(row(2).Label10->text(), "33");
    EXPECT_EQ(plotWindow(), nullptr);
}

TEST_F(RowsTest, ReloadKeepsTheOffsetAndResetsTheVelocityCaption) {
    StartWithTwo();
    row(1).VScroll1->setValue(-20);
    row(1).HScroll1->setValue(500);
    row(1).Label12->setText("500");
    LoadThroughChooser(1, data_, "red.fts");
    EXPECT_EQ(row(1).Label7->text(), "red.fts");
    EXPECT_EQ(row(1).Label8->text(), "Red     ");
    EXPECT_EQ(ws().slot(1).Offset, -20);
    EXPECT_EQ(row(1).VScroll1->value(), -20);
    EXPECT_EQ(row(1).Label10->text(), "-20");
    EXPECT_EQ(row(1).Label12->text(), "0");
}

TEST_F(RowsTest, UnloadWithPlotOpenReturnsToTheRemainingRangeThenHidesThePlot) {
    StartWithTwo();
    PlotSpectra();
    ASSERT_TRUE(PlotVisible());
    ZoomTo(4100, 4200);

    Click(row(1).Command2);
    EXPECT_TRUE(RowShowsEmpty(1));
    EXPECT_EQ(ws().CurSlot, 1);
    EXPECT_EQ(ws().LambdaMin, 6000);
    EXPECT_EQ(ws().LambdaMax, 6600);
    EXPECT_EQ(ws().PlotLeft, 6000);
    EXPECT_EQ(ws().PlotRight, 6600);
    EXPECT_TRUE(ws().DataReady);
    EXPECT_TRUE(PlotVisible());
    // Nothing else of the slot is cleared.
    EXPECT_EQ(row(1).Label7->text(), "blue.fts");
    EXPECT_EQ(ws().slot(1).Offset, -75);

    Click(row(2).Command2);
    EXPECT_TRUE(RowShowsEmpty(2));
    EXPECT_FALSE(ws().DataReady);
    EXPECT_FALSE(PlotVisible());
    EXPECT_TRUE(ws().PlotShown);

    // The next load sets the range afresh.
    LoadThroughChooser(3, data_, "red.fts");
    EXPECT_EQ(ws().LambdaMin, 6000);
    EXPECT_EQ(ws().LambdaMax, 6600);
    EXPECT_TRUE(PlotVisible());
}

TEST_F(RowsTest, UnloadWithPlotHiddenBringsItBackUntilTheLastSlotGoes) {
    StartWithTwo();
    PlotSpectra();
    QAction* exit = MenuItem(*plotWindow(), "File", "Exit");
    ASSERT_NE(exit, nullptr);
    exit->trigger();
    ProcessEvents();
    ASSERT_FALSE(PlotVisible());
    ASSERT_TRUE(ws().PlotShown);

    Click(row(2).Command2);
    EXPECT_TRUE(PlotVisible());
    EXPECT_EQ(ws().LambdaMin, 4000);
    EXPECT_EQ(ws().LambdaMax, 4250);

    exit->trigger();
    ProcessEvents();
    Click(row(1).Command2);
    EXPECT_FALSE(PlotVisible());
    EXPECT_NE(plotWindow(), nullptr);
    EXPECT_TRUE(ws().PlotShown);
    EXPECT_FALSE(ws().DataReady);
}

TEST_F(RowsTest, UnloadWithPlotClosedLeavesRangeAndView) {
    StartWithTwo();
    PlotSpectra();
    plotWindow()->close();
    ProcessEvents();
    ASSERT_EQ(plotWindow(), nullptr);
    ASSERT_FALSE(ws().PlotShown);
    ZoomTo(4100, 4200);

    Click(row(1).Command2);
    EXPECT_EQ(ws().LambdaMin, 4000);
    EXPECT_EQ(ws().LambdaMax, 6600);
    EXPECT_EQ(ws().PlotLeft, 4100);
    EXPECT_EQ(ws().PlotRight, 4200);
    EXPECT_TRUE(ws().DataReady);
    EXPECT_EQ(plotWindow(), nullptr);

    Click(row(2).Command2);
    EXPECT_FALSE(ws().DataReady);
    EXPECT_EQ(ws().LambdaMin, 4000);
    EXPECT_EQ(plotWindow(), nullptr);
    EXPECT_TRUE(RowShowsEmpty(1) && RowShowsEmpty(2));
}

TEST_F(RowsTest, RefusedLoadShowsTheReadersMessageAndLeavesTheRow) {
    Start();
    LoadThroughChooser(1, data_, "text.fts");
    EXPECT_EQ(messages_, std::vector<std::string>{kNotFitsMessage});
    EXPECT_TRUE(RowShowsEmpty(1));
    EXPECT_FALSE(ws().DataReady);

    messages_.clear();
    LoadThroughChooser(2, data_, "blue.fts");
    LoadThroughChooser(2, data_, "text.fts");
    EXPECT_EQ(messages_, std::vector<std::string>{kNotFitsMessage});
    EXPECT_TRUE(RowShowsLoaded(2));
    EXPECT_EQ(row(2).Label7->text(), "blue.fts");
    EXPECT_EQ(row(2).Label8->text(), "Blue    ");
    EXPECT_TRUE(ws().slot(2).Loaded);
    EXPECT_EQ(ws().slot(2).FileName, "blue.fts");
    EXPECT_FALSE(program().fileChooser()->isVisible());
}

// The level caption is the whole part of the level in plain decimal digits,
// however large or small the level is.
TEST_F(RowsTest, LevelCaptionIsTheWholePartInDecimalDigits) {
    const std::pair<double, const char*> cases[] = {
        {2.5e17, "250000000000000000"}, {0.75, "0"}, {3e-15, "0"}, {99999.5, "99999"}};
    Start();
    int n = 0;
    for (const auto& [value, caption] : cases) {
        SCOPED_TRACE(caption);
        const std::string name = "level" + std::to_string(n++) + ".fts";
        WriteSpectrum(data_ / name, {.value = value, .bitpix = -64});
        LoadThroughChooser(1, data_, name);
        ASSERT_TRUE(messages_.empty()) << messages_.front();
        EXPECT_EQ(row(1).Label14->text(), caption);
    }
}

TEST_F(RowsTest, MissingFileNamesTheFile) {
    Start();
    LoadThroughChooser(1, data_, "nowhere.fts");
    ASSERT_EQ(messages_.size(), 1u);
    EXPECT_NE(messages_[0].find("nowhere.fts"), std::string::npos) << messages_[0];
    EXPECT_TRUE(RowShowsEmpty(1));
}

TEST_F(RowsTest, HdrOpensTheHeaderViewerOnTheRowsSlot) {
    StartWithTwo();
    Click(row(2).Command4);
    frmDisplayHdr* viewer = program().headerViewer().Window();
    ASSERT_NE(viewer, nullptr);
    EXPECT_TRUE(viewer->isVisible());
    EXPECT_EQ(ws().CurSlot, 2);
    ASSERT_FALSE(viewer->Lines().empty());
    EXPECT_EQ(viewer->Lines().front().substr(0, 6), "SIMPLE");
    bool sawObject = false;
    for (const std::string& line : viewer->Lines()) sawObject = sawObject || line.find("'Red") != std::string::npos;
    EXPECT_TRUE(sawObject);
}

TEST_F(RowsTest, HdrOfAnEmptySlotOnlyMakesItCurrent) {
    Start();
    mainWindow().Command4_Click(5);
    EXPECT_EQ(ws().CurSlot, 5);
    EXPECT_EQ(program().headerViewer().Window(), nullptr);
}

TEST_F(RowsTest, HelpMenuOpensHelpAndAbout) {
    Start();
    MenuItem(mainWindow(), "Help", "Help - Intro")->trigger();
    ProcessEvents();
    ASSERT_NE(program().helpWindow().Get(), nullptr);
    EXPECT_TRUE(program().helpWindow().Get()->isVisible());
    MenuItem(mainWindow(), "Help", "About")->trigger();
    ProcessEvents();
    ASSERT_NE(program().aboutBox().Get(), nullptr);
    EXPECT_TRUE(program().aboutBox().Get()->isVisible());
    EXPECT_TRUE(mainWindow().isVisible());
    EXPECT_EQ(ended_, 0);
}

TEST_F(RowsTest, OpenAndPrintSetupOfTheMainWindowDoNothing) {
    Start();
    MenuItem(mainWindow(), "File", "Open ...")->trigger();
    MenuItem(mainWindow(), "Print Setup ...", {})->trigger();
    ProcessEvents();
    EXPECT_EQ(program().fileChooser(), nullptr);
    EXPECT_TRUE(messages_.empty());
    EXPECT_EQ(ended_, 0);
}

}  // namespace
}  // namespace wendrel::testing
