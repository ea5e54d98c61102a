#include "app/help_layout.h"

#include <gtest/gtest.h>

namespace wendrel {
namespace {

TEST(HelpText, ParagraphsReadAsWritten) {
    const auto& paras = HelpParagraphs();
    EXPECT_EQ(paras[0].size(), 418u);
    EXPECT_EQ(paras[2].size(), 300u);
    // The second paragraph's text is two characters longer than the count
    // the layout gives it.
    EXPECT_EQ(paras[1].size(), 248u);
    EXPECT_EQ(kHelpLen, (std::array<int, 3>{418, 246, 300}));

    EXPECT_EQ(paras[0].substr(0, 33), "The purpose of this program is to");
    EXPECT_TRUE(paras[0].ends_with("towards us (resp.).  Further analysis tools are planned."));
    EXPECT_NE(paras[1].find("wavelenth scale calibrated and rectified.  These would be"), std::string::npos);
    EXPECT_TRUE(paras[1].ends_with("(available from the author's web page). "));
    EXPECT_NE(paras[2].find("be CRVAL1 and CD1_1, respectively.  Therefore"), std::string::npos);
    EXPECT_TRUE(paras[2].ends_with("keywords.  The facility to change the keywords will be added in a later version."));
}

TEST(HelpLayout, HeightFollowsWidth) {
    const struct { double width; std::array<int, 3> tops; int height; } cases[] = {
        {10000, {400, 1580, 2398}, 4228},
        {5000, {400, 2558, 3951}, 6156},  // 1000 + 1972 + 1284 + 1500 + 400
        {20000, {400, 1129, 1681}, 3264},
    };
    for (const auto& c : cases) {
        const HelpLayout layout = HelpLayoutFor(c.width);
        EXPECT_EQ(layout.Tops, c.tops) << c.width;
        EXPECT_EQ(layout.WindowHeight, c.height) << c.width;
        EXPECT_DOUBLE_EQ(layout.LabelWidth, c.width - 500);
    }
}

TEST(HelpLayout, NarrowerIsTaller) {
    int previous = 0;
    for (double width = 30000; width >= 1000; width -= 500) {
        const int height = HelpLayoutFor(width).WindowHeight;
        EXPECT_GE(height, previous) << width;
        previous = height;
    }
}

}  // namespace
}  // namespace wendrel
