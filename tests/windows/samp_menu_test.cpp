// The SAMP menu: without a hub a message and nothing else; "Connect at Start" kept beside the settings.
#include "app/samp_settings.h"
#include "tests/windows/program_fixture.h"
#include "windows/samp_controls.h"

namespace wendrel::testing {
namespace {

TEST_F(ProgramTest, SampMenuWithoutAHubTellsSoAndKeepsConnectAtStart) {
    qputenv("SAMP_HUB", ("std-lockurl:file://" + (start_ / "no-hub").string()).c_str());
    Start();
    Choose(mainWindow(), "SAMP", "Connect");
    qunsetenv("SAMP_HUB");
    ASSERT_EQ(messages_.size(), 1u);
    EXPECT_NE(messages_[0].find("No SAMP hub is running"), std::string::npos) << messages_[0];
    EXPECT_NE(messages_[0].find((start_ / "no-hub").string()), std::string::npos) << messages_[0];
    EXPECT_EQ(program_->samp().client().state(), SampClient::State::Disconnected);

    EXPECT_FALSE(ReadConnectAtStart(start_ / "Wendrel3-samp.json"));
    Choose(mainWindow(), "SAMP", "Connect at Start");
    EXPECT_TRUE(ReadConnectAtStart(start_ / "Wendrel3-samp.json"));
}

}  // namespace
}  // namespace wendrel::testing
