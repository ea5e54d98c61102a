#include "app/startup.h"

#include <gtest/gtest.h>

#include "app/settings_file.h"
#include "tests/support/default_settings_text.h"
#include "tests/support/recording_ui.h"
#include "tests/support/temp_folder.h"

namespace wendrel {
namespace {

const std::string kOwnText = "\"WAVE,0\",\"STEP\",\"my own note\"\r\n-300,40\r\n1,2\r\n3,4.5,5,6\r\n7,8,9,10\r\n"
                             "11,12,13,14\r\n15,16,17,18\r\n19,20\r\n";

class StartUpAndShutDown : public ::testing::Test {
protected:
    // Starts from a workspace a long session left, with the settings file holding `text`, or none.
    Workspace Start(const char* text) {
        if (text) folder.Write("Wendrel3.ini", text);
        Workspace ws;
        ws.Lambda0Key = "OLD", ws.LambdaMin = 4000, ws.PlotShown = ws.DataReady = true;
        for (Slot& s : ws.Slots) s.Loaded = true, s.Offset = 99, s.SlotColor = 0;
        StartUp(ws, file, ui);
        return ws;
    }

    testing::TempFolder folder;
    const std::filesystem::path file = folder.path() / "Wendrel3.ini";
    testing::RecordingUi ui;
};

TEST_F(StartUpAndShutDown, AMissingOrBrokenFileGivesEveryDefaultSilently) {
    std::string broken = kOwnText;
    for (const char* text : {static_cast<const char*>(nullptr), "\"WAVE\",\"STEP\",\"note\"\r\n",
                             broken.replace(broken.find("-300,40"), 7, "-300,40000").c_str()}) {
        ui.events.clear();
        const Workspace ws = Start(text);
        EXPECT_EQ(static_cast<const Settings&>(ws), Settings{}) << (text ? text : "no file");
        for (int i = 1; i <= kMaxSlots; ++i)
            EXPECT_EQ(std::tuple(ws.slot(i).Loaded, ws.slot(i).Offset, ws.slot(i).SlotColor, ui.events.at(i - 1)),
                      std::tuple(false, StartOffset(i), kStartSlotColors[i - 1], "hide row " + std::to_string(i)));
        EXPECT_EQ(std::tuple(ws.LambdaMin, ws.LambdaMax, ws.PlotShown, ws.DataReady, ui.events.size(), ui.messages.size()),
                  std::tuple(99999, -99999, false, false, 10u, 0u));
    }
}

TEST_F(StartUpAndShutDown, ARunKeepsEverythingButTheCommentAndTheMainPlace) {
    Workspace ws = Start(kOwnText.c_str());
    EXPECT_EQ(std::tuple(ws.Lambda0Key, ws.DLambdaKey, ws.HdrTop, ws.AboutTop), std::tuple("WAVE,0", "STEP", 4.5, 20));
    EXPECT_EQ(ShutDown(ws, 640, 480, file), "");
    std::string expected = kOwnText;
    expected.replace(expected.find("my own note"), 11, kSettingsComment);
    EXPECT_EQ(testing::FileBytes(file), expected.replace(expected.find("-300,40"), 7, "640,480"));

    std::filesystem::remove(file);
    ws = Start(nullptr);  // closing without a settings file writes the defaults
    EXPECT_EQ(ShutDown(ws, 200, 200, file), "");
    EXPECT_EQ(testing::FileBytes(file), testing::kDefaultSettingsText);
}

TEST_F(StartUpAndShutDown, TheMainPlaceIsRoundedAndClampedAndAFailureNamesTheFile) {
    const struct { double left, top; int storedLeft, storedTop; } cases[] = {
        {2.5, 3.5, 2, 4}, {-0.5, 1e-9, 0, 0}, {32767.5, -32768.5, 32767, -32768}, {1e300, -1e300, 32767, -32768}};
    Workspace ws;
    for (const auto& c : cases) {
        EXPECT_EQ(ShutDown(ws, c.left, c.top, file), "");
        const Settings read = ReadSettingsFile(file).value();
        EXPECT_EQ(std::tuple(read.MainLeft, read.MainTop), std::tuple(c.storedLeft, c.storedTop)) << c.left;
    }
    std::filesystem::remove(file), std::filesystem::create_directory(file);
    EXPECT_NE(ShutDown(ws, 10, 20, file).find(file.string()), std::string::npos);
}

}  // namespace
}  // namespace wendrel
