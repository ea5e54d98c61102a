#include "app/header_paging.h"

#include <algorithm>
#include <cmath>

#include "store/rounding.h"

namespace wendrel {
namespace {

double LinesExact(double outerHeight, const HdrLineMetrics& metrics) {
    return (outerHeight - metrics.Frame) / metrics.LineHeight;
}

int Truncate(double x) {
    if (std::isnan(x)) return 0;
    return static_cast<int>(std::trunc(std::clamp(x, -32768.0, 32767.0)));
}

// A page of lines + 1 cards from `first`, pulled back so that it ends with the
// last card when it would run past it. When every card fits, the page is the
// whole header.
CardPage EndClamped(int numCards, int lines, int first) {
    if (first < 1) first = 1;
    CardPage page{first, first + lines};
    if (page.Last > numCards) {
        page.Last = numCards;
        page.First = lines >= numCards ? 1 : numCards - lines + 2;
        if (page.First < 1) page.First = 1;
    }
    return page;
}

}  // namespace

int HdrLinesTruncated(double outerHeight, const HdrLineMetrics& metrics) {
    return Truncate(LinesExact(outerHeight, metrics));
}

int HdrLinesNearest(double outerHeight, const HdrLineMetrics& metrics) {
    return Nearest16(LinesExact(outerHeight, metrics));
}

double HdrHeightForCards(int numCards, const HdrLineMetrics& metrics) {
    return numCards * metrics.LineHeight + metrics.Frame;
}

HdrScrollRange HdrOpeningScroll(int numCards, int lines) {
    HdrScrollRange range;
    range.Minimum = Nearest16(lines / 2.0);
    range.Value = range.Minimum;
    range.Maximum = Nearest16(numCards - lines / 2.0);
    if (range.Maximum < range.Minimum) range.Maximum = range.Minimum;
    return range;
}

HdrResizeLayout HdrResizeFor(int numCards, double outerWidth, double outerHeight,
                             const HdrLineMetrics& metrics) {
    HdrResizeLayout layout;
    layout.Lines = HdrLinesTruncated(outerHeight, metrics);
    layout.ScrollVisible = layout.Lines < numCards;
    if (!layout.ScrollVisible) layout.NewOuterHeight = HdrHeightForCards(numCards, metrics);
    layout.Minimum = Nearest16(layout.Lines / 2.0);
    layout.Maximum = Nearest16(numCards - layout.Lines / 2.0);
    layout.ScrollLeft = outerWidth - 360;
    layout.ScrollHeight = outerHeight - 500;
    return layout;
}

CardPage HdrResizePage(int numCards, int lines, int value, int minimum) {
    const int first = value == minimum ? 1 : Nearest16(value - lines / 2.0 + 1);
    return EndClamped(numCards, lines, first);
}

CardPage HdrScrollPage(int numCards, int lines, int value, int minimum) {
    const int first = value == minimum ? 1 : Nearest16(value - lines / 2.0 + 2);
    return EndClamped(numCards, lines, first);
}

}  // namespace wendrel
