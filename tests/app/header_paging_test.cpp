#include "app/header_paging.h"

#include <gtest/gtest.h>

namespace wendrel {
namespace {

constexpr HdrLineMetrics kClassic{194.5, 560};

TEST(HeaderPaging, LinesThatFitAreTruncatedOrRoundedByHandler) {
    const struct { double height; int truncated; int nearest; } cases[] = {
        {4840, 22, 22},   // 22.005
        {5000, 22, 23},   // 22.83
        {2505, 10, 10},   // exactly ten lines
        {10000, 48, 49},  // 48.53
        {560, 0, 0},
        {400, 0, -1},     // below the frame: -0.82
        {100, -2, -2},    // -2.37
    };
    for (const auto& c : cases) {
        EXPECT_EQ(HdrLinesTruncated(c.height, kClassic), c.truncated) << c.height;
        EXPECT_EQ(HdrLinesNearest(c.height, kClassic), c.nearest) << c.height;
    }
}

TEST(HeaderPaging, OpeningPutsTheBarAtHalfAPage) {
    const struct { int cards, lines, min, max; } cases[] = {
        {60, 22, 11, 49},
        {60, 23, 12, 48},  // 11.5 -> 12, 48.5 -> 48
        {60, 21, 10, 50},  // 10.5 -> 10, 49.5 -> 50
        {10, 48, 24, 24},  // the maximum would be -14: held at the minimum
        {0, 22, 11, 11},
        {250, 48, 24, 226},
    };
    for (const auto& c : cases) {
        const HdrScrollRange r = HdrOpeningScroll(c.cards, c.lines);
        EXPECT_EQ(r.Minimum, c.min) << c.cards << " cards, " << c.lines << " lines";
        EXPECT_EQ(r.Value, c.min);
        EXPECT_EQ(r.Maximum, c.max) << c.cards << " cards, " << c.lines << " lines";
    }
}

// Sixty cards in a window 4840 twips high: 22 lines both ways.
TEST(HeaderPaging, SixtyCardsIn4840Twips) {
    const int n = HdrLinesTruncated(4840, kClassic);
    ASSERT_EQ(n, 22);
    ASSERT_EQ(HdrLinesNearest(4840, kClassic), 22);
    const HdrScrollRange bar = HdrOpeningScroll(60, n);
    ASSERT_EQ(bar.Minimum, 11);
    ASSERT_EQ(bar.Maximum, 49);

    const struct { int value; CardPage resize, scroll; } cases[] = {
        {11, {1, 23}, {1, 23}},
        {12, {2, 24}, {3, 25}},
        {30, {20, 42}, {21, 43}},
        {48, {38, 60}, {40, 60}},  // the scroll page runs past 60 and is pulled back
        {49, {40, 60}, {40, 60}},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(HdrResizePage(60, n, c.value, bar.Minimum), c.resize) << "v = " << c.value;
        EXPECT_EQ(HdrScrollPage(60, n, c.value, bar.Minimum), c.scroll) << "v = " << c.value;
    }
}

// At 5000 twips the scroll handler counts one line more than the others.
TEST(HeaderPaging, SixtyCardsIn5000Twips) {
    const int truncated = HdrLinesTruncated(5000, kClassic);
    const int nearest = HdrLinesNearest(5000, kClassic);
    ASSERT_EQ(truncated, 22);
    ASSERT_EQ(nearest, 23);
    const HdrResizeLayout layout = HdrResizeFor(60, 3000, 5000, kClassic);
    EXPECT_EQ(layout.Lines, 22);
    EXPECT_TRUE(layout.ScrollVisible);
    EXPECT_EQ(layout.Minimum, 11);
    EXPECT_EQ(layout.Maximum, 49);

    EXPECT_EQ(HdrResizePage(60, truncated, 12, 11), (CardPage{2, 24}));
    EXPECT_EQ(HdrScrollPage(60, nearest, 12, 11), (CardPage{2, 25}));  // 12 - 11.5 + 2 = 2.5 -> 2
    EXPECT_EQ(HdrScrollPage(60, nearest, 13, 11), (CardPage{4, 27}));  // 3.5 -> 4
    EXPECT_EQ(HdrScrollPage(60, nearest, 49, 11), (CardPage{39, 60}));
}

TEST(HeaderPaging, ShortHeaderShrinksTheWindowToItsCards) {
    const HdrResizeLayout tall = HdrResizeFor(10, 3000, 10000, kClassic);
    EXPECT_FALSE(tall.ScrollVisible);
    EXPECT_DOUBLE_EQ(tall.NewOuterHeight, 2505);

    // The resize that the shrink causes finds exactly ten lines and stays.
    const HdrResizeLayout shrunk = HdrResizeFor(10, 3000, 2505, kClassic);
    EXPECT_EQ(shrunk.Lines, 10);
    EXPECT_FALSE(shrunk.ScrollVisible);
    EXPECT_DOUBLE_EQ(shrunk.NewOuterHeight, 2505);

    // A header that exactly fills the window still shows its first card.
    EXPECT_EQ(HdrResizePage(10, 10, shrunk.Minimum, shrunk.Minimum), (CardPage{1, 10}));
    EXPECT_EQ(HdrResizePage(10, 10, 7, shrunk.Minimum), (CardPage{1, 10}));
    EXPECT_EQ(HdrScrollPage(10, 10, 7, shrunk.Minimum), (CardPage{1, 10}));

    // One card too many for the window: the bar shows.
    EXPECT_TRUE(HdrResizeFor(11, 3000, 2505, kClassic).ScrollVisible);
    // A window taller than its cards shrinks to them, whatever their number.
    for (int cards = 1; cards <= 40; ++cards)
        EXPECT_DOUBLE_EQ(HdrResizeFor(cards, 3000, 9000, kClassic).NewOuterHeight, cards * 194.5 + 560);
}

TEST(HeaderPaging, ScrollBarFollowsTheWindowsSize) {
    const HdrResizeLayout layout = HdrResizeFor(60, 4000, 4840, kClassic);
    EXPECT_DOUBLE_EQ(layout.ScrollLeft, 3640);
    EXPECT_DOUBLE_EQ(layout.ScrollHeight, 4340);
}

TEST(HeaderPaging, HeaderLongerThanTwoHundredCards) {
    const int cards = 250;
    const int n = HdrLinesTruncated(10000, kClassic);  // 48
    const HdrScrollRange bar = HdrOpeningScroll(cards, n);
    EXPECT_EQ(HdrResizePage(cards, n, bar.Minimum, bar.Minimum), (CardPage{1, 49}));
    EXPECT_EQ(HdrResizePage(cards, n, bar.Maximum, bar.Minimum), (CardPage{204, 250}));
    EXPECT_EQ(HdrScrollPage(cards, n, bar.Maximum, bar.Minimum), (CardPage{204, 250}));
    // A page step moves ten cards on.
    const CardPage before = HdrScrollPage(cards, n, 150, bar.Minimum);
    const CardPage after = HdrScrollPage(cards, n, 150 + kHdrLargeStep, bar.Minimum);
    EXPECT_EQ(after.First - before.First, 10);
    EXPECT_EQ(before, (CardPage{128, 176}));
}

TEST(HeaderPaging, NoCardsWritesNothing) {
    for (int lines : {-3, 0, 5, 40}) {
        EXPECT_TRUE(HdrResizePage(0, lines, 2, 0).empty()) << lines;
        EXPECT_TRUE(HdrScrollPage(0, lines, 2, 0).empty()) << lines;
    }
}

// Over many window heights, header lengths and every bar value: pages stay
// inside the header, start with card 1 at the minimum and end with the last
// card at the maximum; when every card fits the page is the whole header.
TEST(HeaderPaging, PagesStayInsideTheHeaderEverywhere) {
    for (int cards = 1; cards <= 260; cards += 7) {
        for (double height = 300; height <= 12000; height += 97.25) {
            const HdrResizeLayout layout = HdrResizeFor(cards, 3000, height, kClassic);
            const int nearest = HdrLinesNearest(height, kClassic);
            const int top = std::max(layout.Minimum, layout.Maximum);
            for (int v = layout.Minimum; v <= top; ++v) {
                for (const CardPage& page : {HdrResizePage(cards, layout.Lines, v, layout.Minimum),
                                             HdrScrollPage(cards, nearest, v, layout.Minimum)}) {
                    ASSERT_GE(page.First, 1) << cards << " cards, height " << height << ", v " << v;
                    ASSERT_LE(page.Last, cards) << cards << " cards, height " << height << ", v " << v;
                }
            }
            if (layout.Lines < 1) continue;  // a window shorter than its frame shows nothing
            if (!layout.ScrollVisible) {
                EXPECT_EQ(HdrResizePage(cards, layout.Lines, layout.Minimum, layout.Minimum),
                          (CardPage{1, cards}));
                continue;
            }
            EXPECT_EQ(HdrResizePage(cards, layout.Lines, layout.Minimum, layout.Minimum).First, 1)
                << cards << " cards, height " << height;
            EXPECT_EQ(HdrScrollPage(cards, nearest, layout.Minimum, layout.Minimum).First, 1);
            EXPECT_EQ(HdrResizePage(cards, layout.Lines, layout.Maximum, layout.Minimum).Last, cards)
                << cards << " cards, height " << height;
            EXPECT_EQ(HdrScrollPage(cards, nearest, layout.Maximum, layout.Minimum).Last, cards);
        }
    }
}

}  // namespace
}  // namespace wendrel
