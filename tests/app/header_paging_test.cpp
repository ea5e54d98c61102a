#include "app/header_paging.h"

#include <gtest/gtest.h>

namespace wendrel {
namespace {

constexpr HdrLineMetrics kClassic{194.5, 560};

TEST(HeaderPaging, LinesThatFitAreTruncatedOrRoundedAndTheBarOpensAtHalfAPage) {
    const struct { double height; int truncated, nearest; } lines[] = {
        {4840, 22, 22}, {5000, 22, 23}, {2505, 10, 10}, {10000, 48, 49}, {560, 0, 0}, {400, 0, -1}, {100, -2, -2}};
    for (const auto& c : lines) {
        EXPECT_EQ(HdrLinesTruncated(c.height, kClassic), c.truncated) << c.height;
        EXPECT_EQ(HdrLinesNearest(c.height, kClassic), c.nearest) << c.height;
    }
    const struct { int cards, lines, min, max; } bars[] = {
        {60, 22, 11, 49}, {60, 23, 12, 48}, {60, 21, 10, 50}, {10, 48, 24, 24}, {0, 22, 11, 11}, {250, 48, 24, 226}};
    for (const auto& c : bars) {
        const HdrScrollRange r = HdrOpeningScroll(c.cards, c.lines);
        EXPECT_EQ(std::tuple(r.Minimum, r.Value, r.Maximum), std::tuple(c.min, c.min, c.max)) << c.cards << " " << c.lines;
    }
}

// Sixty cards in a window 4840 twips high: 22 lines both ways, the bar from 11 to 49.
TEST(HeaderPaging, SixtyCardsIn4840Twips) {
    const struct { int value; CardPage resize, scroll; } cases[] = {{11, {1, 23}, {1, 23}}, {12, {2, 24}, {3, 25}},
        {30, {20, 42}, {21, 43}}, {48, {38, 60}, {40, 60}} /* the scroll page is pulled back */, {49, {40, 60}, {40, 60}}};
    for (const auto& c : cases) {
        EXPECT_EQ(HdrResizePage(60, 22, c.value, 11), c.resize) << "v = " << c.value;
        EXPECT_EQ(HdrScrollPage(60, 22, c.value, 11), c.scroll) << "v = " << c.value;
    }
}

// At 5000 twips the scroll handler counts one line more than the others.
TEST(HeaderPaging, SixtyCardsIn5000Twips) {
    const HdrResizeLayout layout = HdrResizeFor(60, 3000, 5000, kClassic);
    EXPECT_EQ(std::tuple(layout.Lines, layout.ScrollVisible, layout.Minimum, layout.Maximum),
              std::tuple(22, true, 11, 49));
    EXPECT_EQ(HdrResizePage(60, 22, 12, 11), (CardPage{2, 24}));
    EXPECT_EQ(HdrScrollPage(60, 23, 12, 11), (CardPage{2, 25}));  // 12 - 11.5 + 2 = 2.5 -> 2
    EXPECT_EQ(HdrScrollPage(60, 23, 13, 11), (CardPage{4, 27}));  // 3.5 -> 4
    EXPECT_EQ(HdrScrollPage(60, 23, 49, 11), (CardPage{39, 60}));
    EXPECT_EQ(HdrScrollPage(250, 48, 150, 24), (CardPage{128, 176}));
    EXPECT_DOUBLE_EQ(HdrResizeFor(10, 3000, 9000, kClassic).NewOuterHeight, 10 * 194.5 + 560);  // shrinks to its cards
    EXPECT_EQ(HdrScrollPage(250, 48, 150 + kHdrLargeStep, 24).First, 138);  // a page step moves ten cards on
}

// Over many window heights, header lengths and every bar value: pages stay
// inside the header, start with card 1 at the minimum and end with the last
// card at the maximum; when every card fits the page is the whole header.
TEST(HeaderPaging, PagesStayInsideTheHeaderEverywhere) {
    for (int cards = 1; cards <= 260; cards += 7) {
        for (double height = 300; height <= 12000; height += 97.25) {
            const HdrResizeLayout l = HdrResizeFor(cards, 3000, height, kClassic);
            const int nearest = HdrLinesNearest(height, kClassic);
            const std::string where = std::to_string(cards) + " cards, height " + std::to_string(height);
            for (int v = l.Minimum; v <= std::max(l.Minimum, l.Maximum); ++v) {
                for (const CardPage& page :
                     {HdrResizePage(cards, l.Lines, v, l.Minimum), HdrScrollPage(cards, nearest, v, l.Minimum)})
                    ASSERT_TRUE(page.First >= 1 && page.Last <= cards) << where << ", v " << v;
            }
            if (l.Lines < 1) continue;  // a window shorter than its frame shows nothing
            const int last = l.ScrollVisible ? l.Maximum : l.Minimum;
            EXPECT_EQ(HdrResizePage(cards, l.Lines, l.Minimum, l.Minimum).First, 1) << where;
            EXPECT_EQ(HdrScrollPage(cards, nearest, l.Minimum, l.Minimum).First, 1) << where;
            EXPECT_EQ(HdrResizePage(cards, l.Lines, last, l.Minimum).Last, cards) << where;
            EXPECT_EQ(HdrScrollPage(cards, nearest, last, l.Minimum).Last, cards) << where;
        }
    }
}

}  // namespace
}  // namespace wendrel
