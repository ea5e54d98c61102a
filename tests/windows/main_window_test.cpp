// The main window: its look at start, a row's offset, velocity and Unload,
// and File > Exit writing the settings file.
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
    EXPECT_TRUE(mainWindow().isVisible() && OnAScreen(mainWindow()));
    EXPECT_EQ(mainWindow().windowTitle(), "Wendrel");
    for (int slot = 1; slot <= kMaxSlots; ++slot) EXPECT_TRUE(RowShows(slot, false)) << slot;
    Click(mainWindow().plotButton());
    EXPECT_EQ(Shown<frmPlot_Spectra>(), nullptr);  // nothing to plot yet
    EXPECT_TRUE(messages_.empty());
}

TEST_F(MainWindowTest, ARowsOffsetVelocityAndUnload) {
    WriteSpectrum(data_ / "blue.fts");
    Start();
    LoadThroughChooser(1, "blue.fts");
    EXPECT_EQ(Shown<frmPlot_Spectra>(), nullptr);  // a load opens no plot
    QTest::keyClick(row(1).VScroll1, Qt::Key_Down);
    ProcessEvents();
    EXPECT_EQ(std::pair(ws().slot(1).Offset, row(1).Label10->text()), std::pair(-74, QString("-74")));
    EXPECT_NE(Shown<frmPlot_Spectra>(), nullptr);

    AnswerNextDialog([](QWidget& dialog) {  // a double click asks for the velocity
        if (auto* box = qobject_cast<QInputDialog*>(&dialog)) box->setIntValue(-1234);
        static_cast<QDialog&>(dialog).accept();
    });
    QTest::mouseDClick(row(1).Label12, Qt::LeftButton);
    ProcessEvents();
    const auto velocity = [&] {
        return std::tuple(ws().slot(1).Velocity, row(1).HScroll1->value(), row(1).Label12->text());
    };
    EXPECT_EQ(velocity(), std::tuple(-1234, -1234, QString("-1234")));
    LoadThroughChooser(1, "blue.fts");
    EXPECT_EQ(velocity(), std::tuple(0, 0, QString("0")));

    Click(row(1).Command2);
    EXPECT_TRUE(RowShows(1, false));
    EXPECT_EQ(Shown<frmPlot_Spectra>(), nullptr);
    EXPECT_TRUE(messages_.empty());
}

TEST_F(MainWindowTest, ExitAfterALoadElsewhereWritesThePlacesIntoTheStartFolder) {
    std::ofstream(SettingsFile(), std::ios::binary) << Settings("Names", "Old names");
    WriteSpectrum(data_ / "blue.fts");
    Start();
    mainWindow().move(40, 30);
    LoadThroughChooser(1, "blue.fts");
    PressLoad(2).move(20, 10);
    ProcessEvents();
    Click(Button(*Shown<frmLoad_FitsFile>(), "Cancel"));
    // An open window vanishes at the end without storing its place.
    Choose(mainWindow(), "Help", "About");
    ASSERT_NE(Shown<frmAbout>(), nullptr);
    Shown<frmAbout>()->move(350, 360);
    ProcessEvents();

    Choose(mainWindow(), "File", "Exit");
    EXPECT_EQ(ended_, 1);
    EXPECT_FALSE(std::filesystem::exists(data_ / "Wendrel3.ini"));
    EXPECT_EQ(FileBytes(SettingsFile()), Settings("200,200\r\n500,500", "600,450\r\n300,150"));
}

}  // namespace
}  // namespace wendrel::testing
