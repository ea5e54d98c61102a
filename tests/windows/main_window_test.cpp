// The main window: its look at start, the rows' offsets, velocities and
// Unload once spectra are loaded, and File > Exit writing the settings file.
#include <QInputDialog>

#include "tests/support/default_settings_text.h"
#include "tests/windows/program_fixture.h"
#include "windows/about_box.h"

namespace wendrel::testing {
namespace {

using MainWindowTest = ProgramTest;

std::string Settings(const std::string& from, const std::string& to) {
    std::string text = kDefaultSettingsText;
    return text.replace(text.find(from), from.size(), to);
}

TEST_F(MainWindowTest, StartsWithTenEmptyRowsOnAScreenWhereverItsPlaceWasStored) {
    std::ofstream(SettingsFile(), std::ios::binary) << Settings("200,200", "30000,30000");
    Start();
    EXPECT_TRUE(mainWindow().isVisible());
    EXPECT_TRUE(OnAScreen(mainWindow()));
    EXPECT_EQ(mainWindow().windowTitle(), "Wendrel");
    for (int slot = 1; slot <= kMaxSlots; ++slot) EXPECT_TRUE(RowShows(slot, false)) << slot;
    Click(mainWindow().plotButton());
    EXPECT_EQ(Shown<frmPlot_Spectra>(), nullptr);  // nothing to plot yet
    EXPECT_TRUE(messages_.empty());
}

TEST_F(MainWindowTest, OffsetsAndUnloadOfTwoRows) {
    WriteSpectrum(data_ / "blue.fts", "Blue", 4000);
    WriteSpectrum(data_ / "red.fts", "Red", 6000);
    Start();
    LoadThroughChooser(1, "blue.fts");
    LoadThroughChooser(2, "red.fts");
    EXPECT_EQ(Shown<frmPlot_Spectra>(), nullptr);  // a load opens no plot
    Click(mainWindow().plotButton());
    frmPlot_Spectra* plot = Shown<frmPlot_Spectra>();
    ASSERT_NE(plot, nullptr);

    // Hidden through its own menu, the plot comes back with an offset change.
    Choose(*plot, "File", "Exit");
    QTest::keyClick(row(1).VScroll1, Qt::Key_Down);
    ProcessEvents();
    EXPECT_EQ(ws().slot(1).Offset, -74);
    EXPECT_EQ(row(1).Label10->text(), "-74");
    EXPECT_NE(Shown<frmPlot_Spectra>(), nullptr);

    Click(row(1).Command2);
    EXPECT_TRUE(RowShows(1, false));
    EXPECT_EQ(ws().LambdaMin, 6000);
    Click(row(2).Command2);
    EXPECT_EQ(Shown<frmPlot_Spectra>(), nullptr);
    EXPECT_TRUE(messages_.empty());
}

TEST_F(MainWindowTest, DoubleClickOnTheVelocityAsksForItAndALoadResetsIt) {
    WriteSpectrum(data_ / "blue.fts");
    Start();
    LoadThroughChooser(1, "blue.fts");
    AnswerNextDialog([](QWidget& dialog) {
        if (auto* box = qobject_cast<QInputDialog*>(&dialog)) box->setIntValue(-1234);
        static_cast<QDialog&>(dialog).accept();
    });
    QTest::mouseDClick(row(1).Label12, Qt::LeftButton);
    ProcessEvents();
    EXPECT_EQ(ws().slot(1).Velocity, -1234);
    EXPECT_EQ(row(1).HScroll1->value(), -1234);
    EXPECT_EQ(row(1).Label12->text(), "-1234");
    EXPECT_NE(Shown<frmPlot_Spectra>(), nullptr);

    LoadThroughChooser(1, "blue.fts");
    EXPECT_EQ(std::tuple(ws().slot(1).Velocity, row(1).HScroll1->value(), row(1).Label12->text()),
              std::tuple(0, 0, QString("0")));
}

TEST_F(MainWindowTest, ExitAfterALoadElsewhereWritesThePlacesIntoTheStartFolder) {
    std::ofstream(SettingsFile(), std::ios::binary) << Settings("Names", "Old names");
    WriteSpectrum(data_ / "blue.fts");
    Start();
    mainWindow().move(40, 30);
    LoadThroughChooser(1, "blue.fts");
    frmLoad_FitsFile& chooser = PressLoad(2);
    chooser.move(20, 10);
    ProcessEvents();
    Click(Button(chooser, "Cancel"));
    // An open window vanishes at the end without storing its place.
    Choose(mainWindow(), "Help", "About");
    ASSERT_NE(Shown<frmAbout>(), nullptr);
    Shown<frmAbout>()->move(350, 360);
    ProcessEvents();

    Choose(mainWindow(), "File", "Exit");
    EXPECT_EQ(ended_, 1);
    EXPECT_TRUE(messages_.empty());
    EXPECT_FALSE(std::filesystem::exists(data_ / "Wendrel3.ini"));
    EXPECT_EQ(FileBytes(SettingsFile()), Settings("200,200\r\n500,500", "600,450\r\n300,150"));
}

}  // namespace
}  // namespace wendrel::testing
