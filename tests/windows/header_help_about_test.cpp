// The header viewer as a row's Hdr button opens it, the help text and the
// about box: each on a screen wherever its place was stored, storing its new
// place when closed.
#include "tests/windows/program_fixture.h"
#include "windows/about_box.h"
#include "windows/header_viewer.h"
#include "windows/help_window.h"
#include "windows/twips.h"

namespace wendrel::testing {
namespace {

using SmallWindowsTest = ProgramTest;

TEST_F(SmallWindowsTest, HdrShowsTheRowsCardsAndTheBarPagesThem) {
    SpectrumFile spectrum;
    spectrum.stored.assign(100, 1.0);
    for (int k = 1; k <= 60; ++k) spectrum.extraCards.push_back(IntCard("CARD" + std::to_string(k), k));
    WriteFileBytes(data_ / "long.fts", SpectrumBytes(spectrum));
    Start();
    Click(row(2).Command4);
    EXPECT_EQ(Shown<frmDisplayHdr>(), nullptr);  // an empty row has no header
    ws().HdrLeft = 30000;                          // stored off every screen
    LoadThroughChooser(2, "long.fts");
    Click(row(2).Command4);
    frmDisplayHdr* viewer = Shown<frmDisplayHdr>();
    ASSERT_NE(viewer, nullptr);
    EXPECT_EQ(viewer->windowTitle(), "Display Fits Hdr - 2D Spectrum");
    EXPECT_TRUE(OnAScreen(*viewer));
    EXPECT_EQ(viewer->Lines().at(0).substr(0, 6), "SIMPLE");
    viewer->VScroll1()->setValue(viewer->VScroll1()->maximum());
    EXPECT_EQ(viewer->Lines().back().substr(0, 8), "CARD60  ");

    viewer->move(120, 90);
    viewer->close();
    ProcessEvents();
    EXPECT_NEAR(ws().HdrLeft, PixelsToTwips(120), 0.5);
}

TEST_F(SmallWindowsTest, HelpAndAboutShowTheirTexts) {
    Start();
    ws().HelpLeft = -32000;
    Choose(mainWindow(), "Help", "Help - Intro");
    frmHelp* help = Shown<frmHelp>();
    ASSERT_NE(help, nullptr);
    EXPECT_EQ(help->Label0()->text(), "Help - Wendrel");
    EXPECT_TRUE(OnAScreen(*help));
    help->move(45, 60);
    help->close();
    ProcessEvents();
    EXPECT_NEAR(ws().HelpLeft, PixelsToTwips(45), 0.5);

    Choose(mainWindow(), "Help", "About");
    frmAbout* about = Shown<frmAbout>();
    ASSERT_NE(about, nullptr);
    EXPECT_EQ(about->Lines().at(2)->text(), "Version 1.4 of 2007-04-093");
    about->move(200, 150);
    about->close();
    ProcessEvents();
    EXPECT_NEAR(ws().AboutLeft, PixelsToTwips(200), 0.5);
}

}  // namespace
}  // namespace wendrel::testing
