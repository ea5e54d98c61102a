// The end of the program: File, Exit and the close box write the settings
// file into the folder the program started in, then the program ends.
#include "tests/support/default_settings_text.h"
#include "tests/windows/program_fixture.h"
#include "windows/about_box.h"

namespace wendrel::testing {
namespace {

using EndTest = ProgramTest;

// The settings file's lines, without their CR LF.
std::vector<std::string> Lines(const std::string& text) {
    std::vector<std::string> lines;
    for (size_t start = 0, end; (end = text.find("\r\n", start)) != std::string::npos; start = end + 2)
        lines.push_back(text.substr(start, end - start));
    return lines;
}

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
    std::vector<std::string> expected = Lines(kDefaultSettingsText);
    expected[1] = "600,450";
    expected[2] = "300,150";
    EXPECT_EQ(Lines(FileBytes(SettingsFile())), expected);
}

TEST_F(EndTest, TheCloseBoxWritesTheFileToo) {
    Start();
    mainWindow().close();
    ProcessEvents();
    EXPECT_EQ(Lines(FileBytes(SettingsFile())).size(), 8u);
    EXPECT_EQ(ended_, 1);
}

TEST_F(EndTest, AnUnwritableSettingsFileIsNamedThenTheProgramEnds) {
    Start();
    std::filesystem::create_directory(SettingsFile());
    Choose(mainWindow(), "File", "Exit");
    ASSERT_EQ(messages_.size(), 1u);
    EXPECT_NE(messages_[0].find("Wendrel3.ini"), std::string::npos) << messages_[0];
    EXPECT_EQ(ended_, 1);
}

}  // namespace
}  // namespace wendrel::testing
