// The end of the program: File, Exit and the close box write the settings
// file into the folder the program started in, then the program ends.
#include "tests/support/default_settings_text.h"
#include "tests/windows/program_fixture.h"
#include "windows/about_box.h"

namespace wendrel::testing {
namespace {

using EndTest = ProgramTest;

TEST_F(EndTest, ExitAfterALoadElsewhereWritesThePlacesIntoTheStartFolder) {
    std::string settings = kDefaultSettingsText;
    settings.replace(settings.find("Names"), 5, "Old names");
    std::ofstream(SettingsFile(), std::ios::binary) << settings;
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
    std::string expected = kDefaultSettingsText;
    expected.replace(expected.find("200,200\r\n500,500"), 16, "600,450\r\n300,150");
    EXPECT_EQ(FileBytes(SettingsFile()), expected);
}

TEST_F(EndTest, ClosedWithAnUnwritableSettingsFileTheProgramNamesItAndEnds) {
    Start();
    std::filesystem::create_directory(SettingsFile());
    mainWindow().close();
    ProcessEvents();
    ASSERT_EQ(messages_.size(), 1u);
    EXPECT_NE(messages_[0].find("Wendrel3.ini"), std::string::npos) << messages_[0];
    EXPECT_EQ(ended_, 1);
}

}  // namespace
}  // namespace wendrel::testing
