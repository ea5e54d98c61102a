#include "app/startup.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "app/settings_file.h"
#include "tests/support/default_settings_text.h"
#include "tests/support/recording_ui.h"
#include "tests/support/temp_folder.h"

namespace wendrel {
namespace {

using testing::FileBytes;
using testing::RecordingUi;
using testing::TempFolder;

const std::string kDefaultText = testing::kDefaultSettingsText;

const std::string kOwnText =
    "\"WAVE,0\",\"STEP\",\"my own note\"\r\n"
    "-300,40\r\n"
    "1,2\r\n"
    "3,4.5,5,6\r\n"
    "7,8,9,10\r\n"
    "11,12,13,14\r\n"
    "15,16,17,18\r\n"
    "19,20\r\n";

// Changes the current folder for the length of a test and changes it back.
class CurrentFolder {
public:
    explicit CurrentFolder(const std::filesystem::path& folder) : previous_(std::filesystem::current_path()) {
        std::filesystem::current_path(folder);
    }
    ~CurrentFolder() { std::filesystem::current_path(previous_); }
    CurrentFolder(const CurrentFolder&) = delete;
    CurrentFolder& operator=(const CurrentFolder&) = delete;

private:
    std::filesystem::path previous_;
};

// A workspace as a long session might leave it, so that start-up has to set every field.
Workspace Used() {
    Workspace ws;
    ws.NumSlots = 3;
    ws.Lambda0Key = "OLD";
    ws.MainLeft = 1234;
    for (int i = 1; i <= kMaxSlots; ++i) {
        ws.slot(i).Loaded = true;
        ws.slot(i).SlotColor = 0;
        ws.slot(i).Offset = 99;
    }
    ws.LambdaMin = 4000;
    ws.LambdaMax = 7000;
    ws.PlotShown = true;
    ws.DataReady = true;
    return ws;
}

class StartUpAndShutDown : public ::testing::Test {
protected:
    std::filesystem::path settingsFile() const { return folder.path() / "Wendrel3.ini"; }

    TempFolder folder;
    RecordingUi ui;
};

TEST_F(StartUpAndShutDown, StartStateWithoutASettingsFile) {
    Workspace ws = Used();
    StartUp(ws, settingsFile(), ui);

    EXPECT_EQ(static_cast<const Settings&>(ws), Settings{});
    EXPECT_EQ(ws.NumSlots, 10);
    const int offsets[] = {-75, -60, -45, -30, -15, 0, 15, 30, 45, 60};
    const int32_t colors[] = {255, 292856, 1694938, 246934, 9675008, 16752640, 16711808, 14614751, 1069248, 15};
    for (int i = 1; i <= 10; ++i) {
        EXPECT_FALSE(ws.slot(i).Loaded) << i;
        EXPECT_EQ(ws.slot(i).Offset, offsets[i - 1]) << i;
        EXPECT_EQ(ws.slot(i).SlotColor, colors[i - 1]) << i;
    }
    EXPECT_EQ(ws.LambdaMin, 99999);
    EXPECT_EQ(ws.LambdaMax, -99999);
    EXPECT_FALSE(ws.PlotShown);
    EXPECT_FALSE(ws.DataReady);

    const std::vector<std::string> hidden = {"hide row 1", "hide row 2", "hide row 3", "hide row 4", "hide row 5",
                                             "hide row 6", "hide row 7", "hide row 8", "hide row 9", "hide row 10"};
    EXPECT_EQ(ui.events, hidden);
    EXPECT_TRUE(ui.messages.empty());
    EXPECT_EQ(ui.redraws, 0);
}

TEST_F(StartUpAndShutDown, SettingsComeFromTheFile) {
    folder.Write("Wendrel3.ini", kOwnText);
    Workspace ws;
    StartUp(ws, settingsFile(), ui);
    EXPECT_EQ(ws.Lambda0Key, "WAVE,0");
    EXPECT_EQ(ws.DLambdaKey, "STEP");
    EXPECT_EQ(ws.MainLeft, -300);
    EXPECT_EQ(ws.HdrTop, 4.5);
    EXPECT_EQ(ws.SpareHeight, 10);
    EXPECT_EQ(ws.AboutTop, 20);
    EXPECT_TRUE(ui.messages.empty());
}

TEST_F(StartUpAndShutDown, ABrokenFileGivesEveryDefaultSilently) {
    const std::string cases[] = {
        "\"WAVE\",\"STEP\",\"note\"\r\n",  // only the first line
        "\"WAVE\",\"STEP\",\"note\"\r\n200,40000\r\n500,500\r\n500,500,3000,10000\r\n500,500,3000,10000\r\n"
        "100,2000,10000,1000\r\n500,500,10000,500\r\n500,500\r\n",  // a number beyond 16 bits
        "\"WAVE\",\"STEP\",\"note\"\r\n200,\r\n500,500\r\n500,500,3000,10000\r\n500,500,3000,10000\r\n"
        "100,2000,10000,1000\r\n500,500,10000,500\r\n500,500\r\n",  // an empty number
        "\"WAVE\",\"STEP\",\"note\"\r\n200,200\r\n500,five\r\n500,500,3000,10000\r\n500,500,3000,10000\r\n"
        "100,2000,10000,1000\r\n500,500,10000,500\r\n500,500\r\n",  // not a number
    };
    for (const std::string& text : cases) {
        folder.Write("Wendrel3.ini", text);
        Workspace ws = Used();
        StartUp(ws, settingsFile(), ui);
        EXPECT_EQ(static_cast<const Settings&>(ws), Settings{}) << text;
        EXPECT_EQ(ws.Lambda0Key, "CRVAL1");
        EXPECT_EQ(ws.DLambdaKey, "CD1_1");
    }
    EXPECT_TRUE(ui.messages.empty());
}

TEST_F(StartUpAndShutDown, ClosingWithoutASettingsFileWritesTheDefaults) {
    Workspace ws;
    StartUp(ws, settingsFile(), ui);
    EXPECT_EQ(ShutDown(ws, 200, 200, settingsFile()), "");
    EXPECT_EQ(FileBytes(settingsFile()), kDefaultText);
}

TEST_F(StartUpAndShutDown, ARunKeepsEverythingButTheCommentAndTheMainPlace) {
    folder.Write("Wendrel3.ini", kOwnText);
    Workspace ws;
    StartUp(ws, settingsFile(), ui);
    EXPECT_EQ(ShutDown(ws, 640, 480, settingsFile()), "");
    std::string expected = kOwnText;
    expected.replace(expected.find("my own note"), 11, "Names for Lambda0 and dLambda/dp, resp.");
    expected.replace(expected.find("-300,40"), 7, "640,480");
    EXPECT_EQ(FileBytes(settingsFile()), expected);
}

TEST_F(StartUpAndShutDown, TheMainPlaceIsRoundedAndClamped) {
    const struct {
        double left, top;
        int storedLeft, storedTop;
    } cases[] = {{2.5, 3.5, 2, 4},
                 {-0.5, 1e-9, 0, 0},
                 {40000, -40000, 32767, -32768},
                 {32767.5, -32768.5, 32767, -32768},
                 {1e300, -1e300, 32767, -32768}};
    for (const auto& c : cases) {
        Workspace ws;
        EXPECT_EQ(ShutDown(ws, c.left, c.top, settingsFile()), "");
        EXPECT_EQ(ws.MainLeft, c.storedLeft) << c.left;
        EXPECT_EQ(ws.MainTop, c.storedTop) << c.top;
        const auto read = ReadSettingsFile(settingsFile());
        ASSERT_TRUE(read.has_value()) << c.left;
        EXPECT_EQ(read->MainLeft, c.storedLeft);
        EXPECT_EQ(read->MainTop, c.storedTop);
    }
}

TEST_F(StartUpAndShutDown, AWriteFailureIsReportedWithTheFileName) {
    std::filesystem::create_directory(settingsFile());
    Workspace ws;
    const std::string message = ShutDown(ws, 10, 20, settingsFile());
    EXPECT_NE(message.find(settingsFile().string()), std::string::npos) << message;
    EXPECT_NE(message.find("Is a directory"), std::string::npos) << message;
}

TEST_F(StartUpAndShutDown, TheFileGoesBackToTheFolderTheProgramStartedIn) {
    const std::filesystem::path start = folder.path() / "start";
    const std::filesystem::path data = folder.path() / "data";
    std::filesystem::create_directories(start);
    std::filesystem::create_directories(data);
    folder.Write("start/Wendrel3.ini", kOwnText);

    CurrentFolder inStart(start);
    const std::filesystem::path settings = SettingsPathInCurrentFolder();
    EXPECT_TRUE(settings.is_absolute());
    Workspace ws;
    StartUp(ws, settings, ui);
    EXPECT_EQ(ws.Lambda0Key, "WAVE,0");

    CurrentFolder inData(data);  // as after loading a spectrum from another folder
    EXPECT_EQ(ShutDown(ws, 1, 2, settings), "");
    EXPECT_FALSE(std::filesystem::exists(data / "Wendrel3.ini"));
    const auto read = ReadSettingsFile(start / "Wendrel3.ini");
    ASSERT_TRUE(read.has_value());
    EXPECT_EQ(read->Lambda0Key, "WAVE,0");
    EXPECT_EQ(read->MainLeft, 1);
}

}  // namespace
}  // namespace wendrel
