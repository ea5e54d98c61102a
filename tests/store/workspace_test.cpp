#include "store/workspace.h"

#include <gtest/gtest.h>

namespace wendrel {
namespace {

TEST(Workspace, StartsEmptyWithStartColoursOffsetsAndSentinels) {
    Workspace ws;
    EXPECT_EQ(ws.NumSlots, 10);
    EXPECT_GT(ws.LambdaMin, ws.LambdaMax);
    EXPECT_FALSE(ws.DataReady);
    EXPECT_FALSE(ws.PlotShown);
    const int offsets[] = {-75, -60, -45, -30, -15, 0, 15, 30, 45, 60};
    const int32_t colors[] = {255, 292856, 1694938, 246934, 9675008,
                              16752640, 16711808, 14614751, 1069248, 15};
    for (int k = 1; k <= 10; ++k) {
        EXPECT_FALSE(ws.slot(k).Loaded) << k;
        EXPECT_EQ(ws.slot(k).Offset, offsets[k - 1]) << k;
        EXPECT_EQ(ws.slot(k).SlotColor, colors[k - 1]) << k;
    }
    EXPECT_EQ(ws.Lambda0Key, "CRVAL1");
    EXPECT_EQ(ws.DLambdaKey, "CD1_1");
    EXPECT_EQ(ws.PlotWinHeight, 1000);
}

}  // namespace
}  // namespace wendrel
