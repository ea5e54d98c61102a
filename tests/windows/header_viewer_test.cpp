// The header viewer as a row's Hdr button opens it: the slot's cards, paged
// by the scroll bar, on a screen wherever its place was stored.
#include "tests/windows/program_fixture.h"
#include "windows/header_viewer.h"

namespace wendrel::testing {
namespace {

using HeaderViewerTest = ProgramTest;

TEST_F(HeaderViewerTest, HdrShowsTheRowsCardsAndTheBarPagesThem) {
    SpectrumFile spectrum;
    spectrum.object = "Blue";
    spectrum.stored.assign(100, 1.0);
    for (int k = 1; k <= 60; ++k) spectrum.extraCards.push_back(IntCard("CARD" + std::to_string(k), k));
    WriteFileBytes(data_ / "long.fts", SpectrumBytes(spectrum));
    Start();
    Click(row(2).Command4);
    EXPECT_EQ(Shown<frmDisplayHdr>(), nullptr);  // an empty row has no header
    ws().HdrLeft = 30000;  // stored off every screen
    LoadThroughChooser(2, "long.fts");
    Click(row(2).Command4);
    frmDisplayHdr* viewer = Shown<frmDisplayHdr>();
    ASSERT_NE(viewer, nullptr);
    EXPECT_EQ(viewer->windowTitle(), "Display Fits Hdr - 2D Spectrum");
    EXPECT_TRUE(OnAScreen(*viewer));

    ASSERT_FALSE(viewer->Lines().empty());
    EXPECT_EQ(viewer->Lines().front().substr(0, 6), "SIMPLE");
    ASSERT_TRUE(viewer->VScroll1()->isVisible());
    viewer->VScroll1()->setValue(viewer->VScroll1()->maximum());
    EXPECT_EQ(viewer->Lines().back().substr(0, 8), "CARD60  ");
    EXPECT_NE(viewer->Lines().front().substr(0, 6), "SIMPLE");

    viewer->move(120, 90);
    viewer->close();
    ProcessEvents();
    EXPECT_EQ(Shown<frmDisplayHdr>(), nullptr);
    EXPECT_LT(ws().HdrLeft, 30000);
}

}  // namespace
}  // namespace wendrel::testing
