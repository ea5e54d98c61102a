#include "plot/colour_contrast.h"

#include <algorithm>
#include <cmath>

namespace wendrel {

double LinearChannel(int32_t colour, int channel) {
    const double c = ((colour >> (8 * channel)) & 0xFF) / 255.0;
    return c <= 0.04045 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4);
}

double RelativeLuminance(int32_t colour) {
    return 0.2126 * LinearChannel(colour, 0) + 0.7152 * LinearChannel(colour, 1) + 0.0722 * LinearChannel(colour, 2);
}

double ContrastRatio(int32_t a, int32_t b) {
    const double la = RelativeLuminance(a), lb = RelativeLuminance(b);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

}  // namespace wendrel
