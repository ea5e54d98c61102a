// How long a smoothing would take, and the sentence that refuses one that
// would keep the user waiting more than a few seconds (the window smooths
// while the user waits, so a kernel of thousands of pixels over a long row
// must not freeze it).
#pragma once

#include <cstddef>
#include <functional>
#include <string>

#include "store/row_derivation.h"  // Smoothing

namespace wendrel {

// How the smoothed pixels are found: a convolution with one set of taps, a
// Gaussian's weights computed per pixel, or a median.
enum class SmoothingPath { Taps, VaryingGaussian, Median };

// Empty when `pairsAtWidth(how.Width)` pixel pairs (a smoothed pixel and one
// of its window) fit in the budget of `path`; otherwise a sentence naming
// the width that is too wide and the widest accepted, in the user's unit.
// pairsAtWidth must not fall as the width shrinks.
std::string SmoothingTooSlow(const Smoothing& how, size_t pixels, SmoothingPath path,
                             const std::function<double(double width)>& pairsAtWidth);

}  // namespace wendrel
