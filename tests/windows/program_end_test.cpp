// The end of the program: File, Exit and the close box write the settings
// file into the folder the program started in, then the program ends.
#include "tests/support/default_settings_text.h"
#include "tests/windows/program_fixture.h"
#include "windows/header_viewer.h"

namespace wendrel::testing {
namespace {

constexpr const char* kStartSettings =
    "\"LAMBDA0\",\"DELTA,LAMBDA\",\"an old comment\"\r\n"
    "3000,1500\r\n"
    "750,900\r\n"
    "600,700.5,4000,9000\r\n"
    "1,2,3,4\r\n"
    "150,2100,10995,6000\r\n"
    "800,900,9000,700\r\n"
    "1000,1100\r\n";

constexpr const char* kWrittenBack =
    "\"LAMBDA0\",\"DELTA,LAMBDA\",\"Names for Lambda0 and dLambda/dp, resp.\"\r\n"
    "3000,1500\r\n"
    "750,900\r\n"
    "600,700.5,4000,9000\r\n"
    "1,2,3,4\r\n"
    "150,2100,10995,6000\r\n"
    "800,900,9000,700\r\n"
    "1000,1100\r\n";

constexpr const char* kDefaults = testing::kDefaultSettingsText;

// The lines of a settings file, without their CR LF.
std::vector<std::string> Lines(const std::string& text) {
    std::vector<std::string> lines;
    for (size_t start = 0, end; (end = text.find("\r\n", start)) != std::string::npos; start = end + 2)
        lines.push_back(text.substr(start, end - start));
    return lines;
}

class EndTest : public ProgramTest {
protected:
    void Exit() {
        QAction* exit = MenuItem(mainWindow(), "File", "Exit");
        ASSERT_NE(exit, nullptr);
        exit->trigger();
        ProcessEvents();
    }
};

TEST_F(EndTest, FileExitWritesTheEightLinesAndEnds) {
    WriteSettings(kStartSettings);
    Start();
    Exit();
    EXPECT_EQ(FileBytes(SettingsFile()), kWrittenBack);
    EXPECT_EQ(ended_, 1);
    EXPECT_TRUE(messages_.empty());
}

TEST_F(EndTest, CloseBoxWithoutSettingsFileWritesTheDefaults) {
    Start();
    mainWindow().close();
    ProcessEvents();
    // The window stands on whole pixels: 200 twips is 13 pixels, 195 twips.
    const std::string place = std::to_string(int(PixelsToTwips(TwipsToPixels(200))));
    std::string expected = kDefaults;
    expected.replace(expected.find("200,200"), 7, place + "," + place);
    EXPECT_EQ(FileBytes(SettingsFile()), expected);
    EXPECT_EQ(ended_, 1);
    EXPECT_TRUE(messages_.empty());
}

TEST_F(EndTest, WritesIntoTheStartFolderAfterLoadingFromAnother) {
    WriteSpectrum(data_ / "blue.fts");
    WriteSettings(kStartSettings);
    Start();
    LoadThroughChooser(1, data_, "blue.fts");
    ASSERT_TRUE(ws().slot(1).Loaded);
    ASSERT_EQ(std::filesystem::current_path(), data_);
    Exit();
    EXPECT_FALSE(std::filesystem::exists(data_ / "Wendrel3.ini"));
    EXPECT_EQ(FileBytes(SettingsFile()), kWrittenBack);
}

TEST_F(EndTest, RecordsTheMainWindowsPlaceAndTheOtherWindowsFields) {
    WriteSpectrum(data_ / "blue.fts");
    Start();
    mainWindow().move(40, 30);
    LoadThroughChooser(1, data_, "blue.fts");
    frmLoad_FitsFile& chooser = PressLoad(2);
    chooser.move(20, 10);
    ProcessEvents();
    Click(Button(chooser, "Cancel"));
    Exit();
    const std::vector<std::string> lines = Lines(FileBytes(SettingsFile()));
    ASSERT_EQ(lines.size(), 8u);
    EXPECT_EQ(lines[1], "600,450");
    EXPECT_EQ(lines[2], "300,150");
}

TEST_F(EndTest, PlaceBeyondSixteenBitsIsClamped) {
    Start();
    mainWindow().move(2500, -2600);
    ProcessEvents();
    ASSERT_GT(mainWindow().frameGeometry().left(), TwipsToPixels(32767));
    ASSERT_LT(mainWindow().frameGeometry().top(), TwipsToPixels(-32768));
    Exit();
    const std::vector<std::string> lines = Lines(FileBytes(SettingsFile()));
    ASSERT_EQ(lines.size(), 8u);
    EXPECT_EQ(lines[1], "32767,-32768");
    EXPECT_EQ(ended_, 1);
}

TEST_F(EndTest, UnwritableSettingsFileIsNamedInAMessageThenTheProgramEnds) {
    Start();
    std::filesystem::create_directory(SettingsFile());
    Exit();
    ASSERT_EQ(messages_.size(), 1u);
    EXPECT_NE(messages_[0].find("Wendrel3.ini"), std::string::npos) << messages_[0];
    EXPECT_EQ(ended_, 1);
    EXPECT_TRUE(std::filesystem::is_directory(SettingsFile()));
}

TEST_F(EndTest, OpenWindowsVanishWithoutStoringTheirPlaces) {
    WriteSpectrum(data_ / "blue.fts");
    WriteSettings(kStartSettings);
    Start();
    LoadThroughChooser(1, data_, "blue.fts");
    PressLoad(2).move(300, 300);
    Click(mainWindow().plotButton());
    ASSERT_NE(plotWindow(), nullptr);
    plotWindow()->move(310, 320);
    Click(row(1).Command4);
    ASSERT_NE(program().headerViewer().Window(), nullptr);
    program().headerViewer().Window()->move(330, 340);
    MenuItem(mainWindow(), "Help", "About")->trigger();
    ASSERT_NE(program().aboutBox().Get(), nullptr);
    program().aboutBox().Get()->move(350, 360);
    ProcessEvents();
    Exit();
    // Their places stay as read; the viewer's and plot's sizes follow their
    // last resize.
    const std::vector<std::string> lines = Lines(FileBytes(SettingsFile()));
    ASSERT_EQ(lines.size(), 8u);
    EXPECT_EQ(lines[2], "750,900");
    EXPECT_EQ(lines[3].substr(0, 10), "600,700.5,");
    EXPECT_EQ(lines[5].substr(0, 9), "150,2100,");
    EXPECT_EQ(lines[7], "1000,1100");
}

}  // namespace
}  // namespace wendrel::testing
