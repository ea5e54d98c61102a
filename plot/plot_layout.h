// Where the plot window's bottom controls go, the window's smallest size, how
// its size is stored and where the plot's own picture ends. All in twips;
// heights and widths are outer sizes.
#pragma once

#include "plot/plot_window_size.h"
#include "plot/redraw_layout.h"

#include <array>
#include <string_view>

namespace wendrel {

enum class BottomControl { Label5, Label7, Label9, Label10, Label11, HScroll1, Command1, Command2, Command3, Label12 };

// A control along the window's bottom edge: its left, width and height are
// fixed; its top is the window's outer height less FromBottom.
struct BottomPlace {
    BottomControl Control;
    std::string_view Caption;
    int Left, Width, Height;
    int FromBottom;

    int Top(int windowHeight) const { return windowHeight - FromBottom; }
};

// In the order the window places them.
inline constexpr std::array<BottomPlace, 9> kBottomControls = {{
    {BottomControl::Label5, "Wavelength", 120, 1095, 255, 1300},
    {BottomControl::Label7, "", 1320, 855, 255, 1300},  // wavelength read-out
    {BottomControl::Label9, "Intensity", 2400, 735, 255, 1300},
    {BottomControl::Label10, "", 3240, 975, 255, 1300},  // intensity read-out
    {BottomControl::Label11, "Zoom", 4560, 615, 255, 1320},
    {BottomControl::HScroll1, "", 5280, 1935, 255, 1660},
    {BottomControl::Command1, "In", 4440, 735, 375, 1420},
    {BottomControl::Command2, "Out", 5280, 615, 255, 1300},
    {BottomControl::Command3, "Full Range", 6000, 1215, 255, 1300},
}};

// The curve read-out, right of "Full Range" on the row of the read-outs,
// reaching to 240 short of the window's outer width; of no width in the
// smallest window.
inline BottomPlace CurveReadoutPlace(int windowWidth) {
    constexpr int kLeft = 7320;
    return {BottomControl::Label12, "", kLeft, windowWidth - kLeft - 240 > 0 ? windowWidth - kLeft - 240 : 0, 255, 1300};
}

// The height of the plot's own picture, without the controls along the
// window's bottom: down to the lower of the box and the lowest label the
// redraw placed, each label `labelHeight` high, and a margin of 60 below.
double PlotPictureHeight(const PlotLayout& layout, double labelHeight);

// A window place in twips as the settings hold it: the nearest whole number,
// halves to even, clamped to -32768..32767.
int StoredTwips(double twips);

// A window size in twips as the workspace holds it: the nearest whole number,
// halves to even, not clamped, so that the plot is laid out for the window's
// real size. The settings file clamps it when it is written.
int SizeTwips(double twips);

}  // namespace wendrel
