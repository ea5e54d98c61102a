#include "plot/scroll_bar.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace wendrel {
namespace {

TEST(ScrollBar, MovesRaiseChangeAndPositionsStayInRange) {
    ScrollBar bar;
    bar.Reset(0, 100, 10, 1, 10);
    std::vector<std::string> events;
    bar.onChange = [&] { events.push_back("change " + std::to_string(bar.Value())); };
    bar.SetMin(62), bar.SetMax(50);  // below Min: the range runs from 50 to 62
    bar.SetMin(40), bar.SetValue(40);
    bar.SetValue(40);  // where it already is
    bar.SetValue(200);
    bar.Reset(10, 20, 99, 0, -5);  // no event, steps at least 1
    EXPECT_EQ(events, (std::vector<std::string>{"change 62", "change 50", "change 40", "change 50"}));
    EXPECT_EQ(bar.Value(), 20);
    EXPECT_EQ(std::pair(bar.SmallChange(), bar.LargeChange()), std::pair(1, 1));
    bar.SetLargeChange(40000), bar.SetMin(-40000);
    EXPECT_EQ(std::pair(bar.LargeChange(), bar.Min()), std::pair(32767, -32768));
}

}  // namespace
}  // namespace wendrel
