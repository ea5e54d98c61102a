// Conversions of floating values to whole numbers as the program stores them.
#pragma once

#include <cstdint>

namespace wendrel {

// Nearest whole number, an exact half going to the even neighbour (2.5 -> 2,
// 3.5 -> 4). NaN gives 0; values beyond the 64-bit range are clamped.
int64_t RoundHalfEven(double x);

// RoundHalfEven clamped to the 16-bit range -32768..32767, for the window
// places and scroll positions that the settings file and scroll bars hold.
int Nearest16(double x);

}  // namespace wendrel
