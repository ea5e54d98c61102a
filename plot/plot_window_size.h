// The plot window's smallest size, and the size it opens at for a stored
// size. The redraw lays the plot out for the opened size.
#pragma once

namespace wendrel {

// The plot box lies 800 from the left and 415 from the right of the outer
// width, 300 below the top and 2050 above the bottom of the outer height.
// The smallest window keeps the box at least 2000 high, and wide enough both
// for a box of 3000 and for the bottom controls, whose right edge is at 7215,
// with the same 120 margin they keep on the left:
//   height 300 + 2000 + 2050 = 4350;  width max(800 + 3000 + 415, 7215 + 120) = 7335.
inline constexpr int kMinBoxHeight = 2000;
inline constexpr int kMinBoxWidth = 3000;
inline constexpr int kPlotWinMinHeight = 300 + kMinBoxHeight + 2050;
inline constexpr int kPlotWinMinWidth = 7215 + 120;

// The size the window opens at for a stored size: never below the minimum.
// (The stored size itself changes only when the user resizes or closes the
// window.)
constexpr int OpenedWidth(int storedWidth) { return storedWidth > kPlotWinMinWidth ? storedWidth : kPlotWinMinWidth; }
constexpr int OpenedHeight(int storedHeight) {
    return storedHeight > kPlotWinMinHeight ? storedHeight : kPlotWinMinHeight;
}

}  // namespace wendrel
