#include "plot/scroll_bar.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace wendrel {
namespace {

struct EventLog {
    explicit EventLog(ScrollBar& bar) {
        bar.onChange = [this, &bar] { events.push_back("change " + std::to_string(bar.Value())); };
        bar.onScroll = [this, &bar] { events.push_back("scroll " + std::to_string(bar.Value())); };
    }
    std::vector<std::string> events;
};

TEST(ScrollBar, NarrowingTheRangeMovesThePositionAndRaisesChange) {
    ScrollBar bar;
    bar.Reset(4000, 7000, 4375, 75, 750);
    EventLog log(bar);
    bar.SetMin(4562);
    EXPECT_EQ(bar.Value(), 4562);
    bar.SetMax(4500);  // below Min: the range runs from 4500 to 4562
    EXPECT_EQ(bar.Value(), 4562);
    bar.SetMin(4400);
    EXPECT_EQ(bar.Value(), 4500);
    EXPECT_EQ(log.events, (std::vector<std::string>{"change 4562", "change 4500"}));
}

TEST(ScrollBar, SettingTheSamePositionRaisesNothing) {
    ScrollBar bar;
    bar.Reset(0, 100, 50, 1, 10);
    EventLog log(bar);
    bar.SetValue(50);
    bar.SetMin(50);
    bar.SetValue(200);  // beyond Max: held at Max
    EXPECT_EQ(bar.Value(), 100);
    EXPECT_EQ(log.events, (std::vector<std::string>{"change 100"}));
}

TEST(ScrollBar, ResetRaisesNoEventAndKeepsThePositionInRange) {
    ScrollBar bar;
    EventLog log(bar);
    bar.Reset(10, 20, 99, 0, -5);
    EXPECT_EQ(bar.Value(), 20);
    EXPECT_EQ(bar.SmallChange(), 1);
    EXPECT_EQ(bar.LargeChange(), 1);
    EXPECT_TRUE(log.events.empty());
}

TEST(ScrollBar, StepsAreAtLeastOneAndValuesStayIn16Bits) {
    ScrollBar bar;
    bar.SetSmallChange(0);
    bar.SetLargeChange(40000);
    bar.SetMin(-40000);
    EXPECT_EQ(bar.SmallChange(), 1);
    EXPECT_EQ(bar.LargeChange(), 32767);
    EXPECT_EQ(bar.Min(), -32768);
}

TEST(ScrollBar, DragRaisesScrollPerStepAndChangeOnceAtRelease) {
    ScrollBar bar;
    bar.Reset(0, 100, 10, 1, 10);
    EventLog log(bar);
    bar.Drag(20);
    bar.Drag(150);
    bar.Release();
    bar.Release();  // no drag under way
    bar.Drag(100);
    bar.Release();  // the thumb ended where it started
    EXPECT_EQ(log.events, (std::vector<std::string>{"scroll 20", "scroll 100", "change 100", "scroll 100"}));
}

}  // namespace
}  // namespace wendrel
