// The colour sets the View menu offers for the slots' curves, slot 1 first.
// "Design" is the program's start colours (kStartSlotColors). "High
// Contrast" holds each curve at least 3:1 (WCAG) against the plot's grounds
// and keeps every two curves apart for viewers with normal vision,
// deuteranopia and protanopia (plot/colour_vision.h): the Okabe-Ito hues,
// darkened, with black, dark red and navy added.
#pragma once

#include <array>
#include <cstdint>
#include <span>
#include <string_view>

#include "plot/colour_contrast.h"
#include "store/workspace.h"

namespace wendrel {

enum class CurvePalette { Design, HighContrast };

// The grounds curves are drawn on: the plot window's and its pictures' (Qt's
// default window grey) and the legend's white.
inline constexpr std::array<int32_t, 2> kCurveGrounds = {RgbColour(0xEF, 0xEF, 0xEF), RgbColour(0xFF, 0xFF, 0xFF)};

inline constexpr std::array<int32_t, kMaxSlots> kHighContrastColours = {
    RgbColour(0xC8, 0x70, 0x18),  // orange
    RgbColour(0x28, 0x60, 0xA0),  // blue
    RgbColour(0x00, 0x68, 0x48),  // bluish green
    RgbColour(0xA0, 0x78, 0x98),  // reddish purple
    RgbColour(0x00, 0x00, 0x00),  // black
    RgbColour(0x00, 0x88, 0xF0),  // sky blue
    RgbColour(0x78, 0x50, 0x00),  // brown
    RgbColour(0x70, 0x90, 0x50),  // olive (a darkened yellow)
    RgbColour(0x58, 0x00, 0x00),  // dark red
    RgbColour(0x00, 0x00, 0xB0),  // navy
};

// The colours of slots 1 .. 10.
std::span<const int32_t, kMaxSlots> PaletteColours(CurvePalette palette);

// The menu's name of the palette: "Design", "High Contrast".
std::string_view PaletteName(CurvePalette palette);

}  // namespace wendrel
