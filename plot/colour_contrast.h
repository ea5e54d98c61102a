// WCAG 2 relative luminance and contrast ratio of the program's colours
// (red + 256 * green + 65536 * blue, sRGB).
#pragma once

#include <cstdint>

namespace wendrel {

// The colour value of 8-bit red, green and blue.
constexpr int32_t RgbColour(int red, int green, int blue) { return red + 256 * green + 65536 * blue; }

// Channel 0 (red), 1 (green) or 2 (blue) of the colour as linear light, 0 .. 1.
double LinearChannel(int32_t colour, int channel);

// 0 for black .. 1 for white.
double RelativeLuminance(int32_t colour);

// (lighter + 0.05) / (darker + 0.05): 1 .. 21.
double ContrastRatio(int32_t a, int32_t b);

}  // namespace wendrel
