// Where the file chooser's controls go for a given outer size, worked out by
// hand for the smallest window, a window whose widths come out at their design
// values and a large one.
#include "app/chooser_layout.h"

#include <gtest/gtest.h>

namespace wendrel {
namespace {

struct LayoutCase {
    const char* name;
    double width, height;
    ChooserLayout expected;
};

// Controls that never move or change size.
constexpr TwipsRect kLabel1{120, 120, 975, 255};

const LayoutCase kCases[] = {
    {"Smallest", 6525, 3540,
     {kLabel1, {120, 360, 2362.5, 315}, {120, 840, 2362.5, 1440}, {120, 2430, 2415, 255}, {120, 2670, 2362.5, 315},
      {2707.5, 120, 2295, 255}, {2707.5, 360, 3975, 255}, {2707.5, 720, 2002.5, 1650}, {2707.5, 2430, 1335, 255},
      {2707.5, 2670, 2002.5, 315}, {4935, 720, 1335, 375}, {4935, 1200, 1335, 375}}},
    {"NoWidening", 7830, 6000,
     {kLabel1, {120, 360, 3015, 315}, {120, 840, 3015, 3900}, {120, 4890, 2415, 255}, {120, 5130, 3015, 315},
      {3360, 120, 2295, 255}, {3360, 360, 3975, 255}, {3360, 720, 2655, 4110}, {3360, 4890, 1335, 255},
      {3360, 5130, 2655, 315}, {6240, 720, 1335, 375}, {6240, 1200, 1335, 375}}},
    {"Large", 12830, 10000,
     {kLabel1, {120, 360, 5515, 315}, {120, 840, 5515, 7900}, {120, 8890, 2415, 255}, {120, 9130, 5515, 315},
      {5860, 120, 2295, 255}, {5860, 360, 3975, 255}, {5860, 720, 5155, 8110}, {5860, 8890, 1335, 255},
      {5860, 9130, 5155, 315}, {11240, 720, 1335, 375}, {11240, 1200, 1335, 375}}},
};

class ChooserLayoutTest : public ::testing::TestWithParam<LayoutCase> {};

TEST_P(ChooserLayoutTest, PlacesEveryControl) {
    const LayoutCase& c = GetParam();
    const ChooserLayout got = LayOutChooser(c.width, c.height);
    const std::pair<const char*, const TwipsRect ChooserLayout::*> controls[] = {
        {"Label1", &ChooserLayout::label1}, {"Text1", &ChooserLayout::text1},       {"File1", &ChooserLayout::file1},
        {"Label2", &ChooserLayout::label2}, {"Combo1", &ChooserLayout::combo1},     {"Label3", &ChooserLayout::label3},
        {"Label4", &ChooserLayout::label4}, {"Dir1", &ChooserLayout::dir1},         {"Label5", &ChooserLayout::label5},
        {"Drive1", &ChooserLayout::drive1}, {"Command1", &ChooserLayout::command1}, {"Command2", &ChooserLayout::command2}};
    for (const auto& [name, member] : controls) {
        const TwipsRect& g = got.*member;
        const TwipsRect& e = c.expected.*member;
        EXPECT_TRUE(g == e) << name << ": got " << g.left << "," << g.top << "," << g.width << "," << g.height
                            << " expected " << e.left << "," << e.top << "," << e.width << "," << e.height;
    }
}

INSTANTIATE_TEST_SUITE_P(Sizes, ChooserLayoutTest, ::testing::ValuesIn(kCases),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(ChooserLayout, ButtonsKeepTheirDistanceFromTheRightEdge) {
    // OK's right edge stays 255 twips inside the outer width, whatever the width.
    for (double width : {6525., 7000., 9001., 20000.}) {
        const ChooserLayout c = LayOutChooser(width, 5000);
        EXPECT_DOUBLE_EQ(width - (c.command1.left + c.command1.width), 255) << width;
    }
}

}  // namespace
}  // namespace wendrel
