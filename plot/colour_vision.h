// How a colour looks to viewers without red or green cones, and how far
// apart two colours look: the simulation of Machado, Oliveira and Fernandes
// (2009) at full severity, applied to linear sRGB, and the CIE 1976 colour
// difference in CIELAB (D65 white).
#pragma once

#include <array>
#include <cstdint>

namespace wendrel {

enum class ColourVision { Normal, Deuteranopia, Protanopia };

inline constexpr std::array kColourVisions = {ColourVision::Normal, ColourVision::Deuteranopia,
                                              ColourVision::Protanopia};

struct Lab {
    double L = 0, a = 0, b = 0;
};

// The CIELAB coordinates of the colour (red + 256 * green + 65536 * blue) as
// seen with that vision.
Lab SeenColour(int32_t colour, ColourVision vision);

// CIE 1976 ΔE*ab: the distance in CIELAB.
double DeltaE76(const Lab& x, const Lab& y);

}  // namespace wendrel
