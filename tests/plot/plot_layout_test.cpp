#include "plot/plot_layout.h"

#include <gtest/gtest.h>

namespace wendrel {
namespace {

TEST(PlotLayout, BottomControlsFollowTheWindowHeightInPlacingOrder) {
    const struct {
        BottomControl control;
        int top;
    } expected[] = {
        {BottomControl::Label5, 5700},   {BottomControl::Label7, 5700},   {BottomControl::Label9, 5700},
        {BottomControl::Label10, 5700},  {BottomControl::Label11, 5680},  {BottomControl::HScroll1, 5340},
        {BottomControl::Command1, 5580}, {BottomControl::Command2, 5700}, {BottomControl::Command3, 5700},
    };
    ASSERT_EQ(std::size(expected), kBottomControls.size());
    for (size_t i = 0; i < kBottomControls.size(); ++i) {
        EXPECT_EQ(kBottomControls[i].Control, expected[i].control) << i;
        EXPECT_EQ(kBottomControls[i].Top(7000), expected[i].top) << i;
    }
}

// Each control's right edge lies inside the smallest window, with the margin
// the leftmost control keeps.
TEST(PlotLayout, SmallestWindowHoldsAMinimalBoxAndEveryControl) {
    const int boxHeight = (kPlotWinMinHeight - 2050) - 300;
    const int boxWidth = (kPlotWinMinWidth - 415) - 800;
    EXPECT_EQ(boxHeight, 2000);
    EXPECT_GE(boxWidth, 3000);
    for (const BottomPlace& p : kBottomControls) {
        EXPECT_LE(p.Left + p.Width + 120, kPlotWinMinWidth) << p.Caption;
    }
}

TEST(PlotLayout, AStoredSizeBelowTheMinimumOpensAtTheMinimum) {
    EXPECT_EQ(OpenedHeight(1000), kPlotWinMinHeight);
    EXPECT_EQ(OpenedHeight(7000), 7000);
    EXPECT_EQ(OpenedWidth(10000), 10000);
    EXPECT_EQ(OpenedWidth(-20), kPlotWinMinWidth);
}

TEST(PlotLayout, StoredTwipsRoundHalvesToEvenAndClampTo16Bits) {
    EXPECT_EQ(StoredTwips(10000.5), 10000);
    EXPECT_EQ(StoredTwips(10001.5), 10002);
    EXPECT_EQ(StoredTwips(40000), 32767);
    EXPECT_EQ(StoredTwips(-40000), -32768);
}

}  // namespace
}  // namespace wendrel
