// Paging arithmetic of the header viewer, free of widgets.
//
// The viewer writes header cards one per text line from the top of its
// window. Its vertical scroll bar's value stands for the card in the middle of
// the page: at the bar's minimum the page starts with card 1, at its maximum it
// ends with the last card. The opening, the resize and the scroll handlers each
// round the number of lines that fit in their own way; the functions below keep
// those differences.
//
// Heights are the window's outer heights in twips. Cards are numbered from 1;
// a page of cards First..Last is empty when Last < First.
#pragma once

namespace wendrel {

// Height of one text line and of the window's frame and title bar, in twips.
struct HdrLineMetrics {
    double LineHeight = 194.5;
    double Frame = 560;
};

// Lines that fit in a window of the given outer height: the opening and the
// resize handler drop the fraction, the scroll handler rounds to nearest.
int HdrLinesTruncated(double outerHeight, const HdrLineMetrics& metrics);
int HdrLinesNearest(double outerHeight, const HdrLineMetrics& metrics);

// Outer height that shows exactly numCards lines.
double HdrHeightForCards(int numCards, const HdrLineMetrics& metrics);

struct HdrScrollRange {
    int Minimum = 0;
    int Maximum = 0;
    int Value = 0;  // only the opening sets the value
};

// Scroll bar set up by the opening, for `lines` lines (truncated) and
// numCards cards: value at the minimum, the maximum never below the minimum.
HdrScrollRange HdrOpeningScroll(int numCards, int lines);

// What the resize handler does to the window and its scroll bar.
struct HdrResizeLayout {
    int Lines = 0;                // lines that fit (truncated)
    bool ScrollVisible = false;   // false when every card fits
    double NewOuterHeight = 0;    // when !ScrollVisible: the height that shows exactly every card
    int Minimum = 0;              // scroll range; the maximum may lie below the
    int Maximum = 0;              // minimum when every card fits
    // Placement of the scroll bar inside the window, from its outer size.
    double ScrollLeft = 0;
    double ScrollHeight = 0;
};

HdrResizeLayout HdrResizeFor(int numCards, double outerWidth, double outerHeight,
                             const HdrLineMetrics& metrics);

struct CardPage {
    int First = 1;
    int Last = 0;
    bool empty() const { return Last < First; }
    bool operator==(const CardPage&) const = default;
};

// The pages the resize and the scroll handler write for scroll value `value`
// of a bar whose minimum is `minimum`. The scroll handler's page lies one card
// further on than the resize handler's. Both start with card 1 at the bar's
// minimum and when every card fits; a page pulled back to end with the last
// card holds lines - 1 cards.
CardPage HdrResizePage(int numCards, int lines, int value, int minimum);
CardPage HdrScrollPage(int numCards, int lines, int value, int minimum);

// Scroll bar steps: one card per arrow click, ten per page click.
constexpr int kHdrSmallStep = 1;
constexpr int kHdrLargeStep = 10;

// Scroll bar width in twips.
constexpr double kHdrScrollWidth = 255;

}  // namespace wendrel
