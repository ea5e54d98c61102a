// The main window: its look at start, and the rows once spectra are loaded
// through the chooser: Plot Spectra, offsets, velocities and Unload.
#include <QInputDialog>
#include <QTimer>

#include "tests/support/default_settings_text.h"
#include "tests/windows/program_fixture.h"

namespace wendrel::testing {
namespace {

using MainWindowTest = ProgramTest;

TEST_F(MainWindowTest, StartsWithTenEmptyRowsAndItsMenus) {
    Start();
    EXPECT_TRUE(mainWindow().isVisible());
    EXPECT_EQ(mainWindow().windowTitle(), "Wendrel");
    for (int slot = 1; slot <= kMaxSlots; ++slot) EXPECT_TRUE(RowShows(slot, false)) << slot;
    for (const auto& [menu, item] :
         {std::pair{"File", "Open ..."}, {"File", "Exit"}, {"Help", "Help - Intro"}, {"Help", "About"}})
        MenuItem(mainWindow(), menu, item);
    Click(mainWindow().plotButton());
    EXPECT_EQ(Shown<frmPlot_Spectra>(), nullptr);  // nothing to plot yet
    EXPECT_TRUE(messages_.empty());
    EXPECT_EQ(ended_, 0);
}

TEST_F(MainWindowTest, PlaceStoredOffEveryScreenOpensWhereItCanBeSeen) {
    std::string text = kDefaultSettingsText;
    text.replace(text.find("200,200"), 7, "30000,30000");
    std::ofstream(SettingsFile(), std::ios::binary) << text;
    Start();
    EXPECT_TRUE(OnAScreen(mainWindow()));
}

TEST_F(MainWindowTest, PlotOffsetAndUnloadTwoRows) {
    WriteSpectrum(data_ / "blue.fts", "Blue", 4000);
    WriteSpectrum(data_ / "red.fts", "Red", 6000);
    Start();
    LoadThroughChooser(1, "blue.fts");
    LoadThroughChooser(2, "red.fts");
    ASSERT_EQ(LoadedRows(), (std::vector<int>{1, 2}));
    EXPECT_EQ(Shown<frmPlot_Spectra>(), nullptr);  // a load opens no plot
    Click(mainWindow().plotButton());
    frmPlot_Spectra* plot = Shown<frmPlot_Spectra>();
    ASSERT_NE(plot, nullptr);

    // Hidden through its own menu, the plot comes back with an offset change.
    Choose(*plot, "File", "Exit");
    ASSERT_EQ(Shown<frmPlot_Spectra>(), nullptr);
    QTest::keyClick(row(1).VScroll1, Qt::Key_Down);
    ProcessEvents();
    EXPECT_EQ(ws().slot(1).Offset, -74);
    EXPECT_EQ(row(1).Label10->text(), "-74");
    EXPECT_NE(Shown<frmPlot_Spectra>(), nullptr);

    Click(row(1).Command2);
    EXPECT_TRUE(RowShows(1, false));
    EXPECT_EQ(ws().LambdaMin, 6000);
    EXPECT_EQ(ws().LambdaMax, 6250);
    EXPECT_NE(Shown<frmPlot_Spectra>(), nullptr);
    Click(row(2).Command2);
    EXPECT_TRUE(RowShows(2, false));
    EXPECT_EQ(Shown<frmPlot_Spectra>(), nullptr);
    EXPECT_TRUE(messages_.empty());
}

TEST_F(MainWindowTest, DoubleClickOnTheVelocityAsksForItAndALoadResetsIt) {
    WriteSpectrum(data_ / "blue.fts");
    Start();
    LoadThroughChooser(1, "blue.fts");
    bool asked = false;
    QTimer::singleShot(0, [&] {
        if (auto* box = qobject_cast<QInputDialog*>(QApplication::activeModalWidget())) {
            asked = true;
            box->setIntValue(-1234);
            box->accept();
        }
    });
    QTest::mouseDClick(row(1).Label12, Qt::LeftButton);
    ProcessEvents();
    ASSERT_TRUE(asked);
    EXPECT_EQ(ws().slot(1).Velocity, -1234);
    EXPECT_EQ(row(1).HScroll1->value(), -1234);
    EXPECT_EQ(row(1).Label12->text(), "-1234");
    EXPECT_NE(Shown<frmPlot_Spectra>(), nullptr);

    LoadThroughChooser(1, "blue.fts");
    EXPECT_EQ(ws().slot(1).Velocity, 0);
    EXPECT_EQ(row(1).HScroll1->value(), 0);
    EXPECT_EQ(row(1).Label12->text(), "0");
}

}  // namespace
}  // namespace wendrel::testing
