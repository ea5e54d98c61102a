// The Help menu's windows: the help text and the about box, each on a screen
// wherever its place was stored, storing its new place when closed.
#include <QLabel>

#include "tests/windows/program_fixture.h"
#include "windows/about_box.h"
#include "windows/help_window.h"
#include "windows/twips.h"

namespace wendrel::testing {
namespace {

using HelpAboutTest = ProgramTest;

TEST_F(HelpAboutTest, HelpAndAboutShowTheirTexts) {
    Start();
    ws().HelpLeft = -32000;
    Choose(mainWindow(), "Help", "Help - Intro");
    frmHelp* help = Shown<frmHelp>();
    ASSERT_NE(help, nullptr);
    EXPECT_EQ(help->windowTitle(), "Help");
    EXPECT_EQ(help->Label0()->text(), "Help - Wendrel");
    for (int i = 1; i <= 3; ++i) EXPECT_FALSE(help->Label1(i)->text().isEmpty()) << i;
    EXPECT_LE(help->Label1(2)->geometry().bottom(), help->Label1(3)->y());
    EXPECT_TRUE(OnAScreen(*help));
    help->move(45, 60);
    help->close();
    ProcessEvents();
    EXPECT_NEAR(ws().HelpLeft, PixelsToTwips(45), 0.5);

    ws().AboutTop = 32000;
    Choose(mainWindow(), "Help", "About");
    frmAbout* about = Shown<frmAbout>();
    ASSERT_NE(about, nullptr);
    EXPECT_EQ(about->windowTitle(), "About");
    ASSERT_EQ(about->Lines().size(), 7u);
    EXPECT_EQ(about->Lines()[0]->text(), "Wendrel Software");
    EXPECT_EQ(about->Lines()[2]->text(), "Version 1.4 of 2007-04-093");
    EXPECT_TRUE(OnAScreen(*about));
    about->move(200, 150);
    about->close();
    ProcessEvents();
    EXPECT_NEAR(ws().AboutLeft, PixelsToTwips(200), 0.5);
    EXPECT_TRUE(mainWindow().isVisible());
}

}  // namespace
}  // namespace wendrel::testing
