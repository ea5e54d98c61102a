// The header viewer as a row's Hdr button opens it, the help text and the
// about box: each on a screen wherever its place was stored, storing its new
// place when closed.
#include "tests/windows/program_fixture.h"
#include "windows/about_box.h"
#include "windows/header_viewer.h"
#include "windows/help_window.h"
#include "windows/twips.h"

namespace wendrel::testing {

using SmallWindowsTest = ProgramTest;

TEST_F(SmallWindowsTest, HdrPagesTheRowsCardsAndEachWindowOpensOnAScreenAndStoresItsPlace) {
    SpectrumFile spectrum;
    spectrum.stored.assign(100, 1.0);
    for (int k = 1; k <= 60; ++k) spectrum.extraCards.push_back(IntCard("CARD" + std::to_string(k), k));
    WriteFileBytes(data_ / "long.fts", SpectrumBytes(spectrum));
    Start();
    Click(row(2).Command4);
    EXPECT_EQ(Shown<frmDisplayHdr>(), nullptr);  // an empty row has no header
    LoadThroughChooser(2, "long.fts");
    ws().Config.HdrLeft = 30000;  // stored off every screen
    ws().Config.HelpLeft = ws().Config.AboutLeft = -32000;
    Click(row(2).Command4);
    frmDisplayHdr& viewer = MustShow<frmDisplayHdr>("the header");
    EXPECT_EQ(viewer.Lines().at(0).substr(0, 6), "SIMPLE");
    QTest::keyClick(&viewer, Qt::Key_Tab);
    EXPECT_EQ(viewer.focusWidget(), viewer.VScroll1());  // its bar is reached with Tab
    viewer.VScroll1()->setValue(viewer.VScroll1()->maximum());
    EXPECT_EQ(viewer.Lines().back().substr(0, 8), "CARD60  ");
    Choose(mainWindow(), "Help", "Help - Intro");
    EXPECT_EQ(MustShow<frmHelp>("Help").Label0()->text(), "Help - Wendrel");
    Choose(mainWindow(), "Help", "About");
    const std::pair<QWidget*, int*> windows[] = {
        {&viewer, &ws().Config.HdrLeft}, {Shown<frmHelp>(), &ws().Config.HelpLeft}, {Shown<frmAbout>(), &ws().Config.AboutLeft}};
    for (auto [window, left] : windows) {
        ASSERT_NE(window, nullptr);
        EXPECT_TRUE(OnAScreen(*window)) << window->windowTitle().toStdString();
        window->move(120, 90);
        window->close();
        ProcessEvents();
        EXPECT_NEAR(*left, PixelsToTwips(120), 0.5) << window->windowTitle().toStdString();
    }
}

}  // namespace wendrel::testing
