#include "plot/readout_digits.h"

#include <algorithm>
#include <cmath>

#include "plot/number_format.h"

namespace wendrel {

int ReadoutDecimals(double viewSpan, double plotPixels) {
    const double pixel = viewSpan / plotPixels;
    if (!(pixel > 0) || !std::isfinite(pixel) || !(plotPixels > 0)) return 2;
    // The small allowance keeps 0.1 A a pixel at 1 decimal.
    return std::clamp(static_cast<int>(std::ceil(-std::log10(pixel) - 1e-9)), 0, 15);
}

std::string WavelengthReadoutText(double wavelength, double viewSpan, double plotPixels) {
    return FixedText(wavelength, ReadoutDecimals(viewSpan, plotPixels));
}

std::string AxisDigitsText(double value, const AxisLabelling& axis) {
    if (!axis.valid) return WithoutLeadingBlanks(PlainNumberText(value));
    if (axis.exponent == 0) return FixedText(value, axis.decimals);
    return FixedText(value / std::pow(10.0, axis.exponent), axis.decimals) + "e" + std::to_string(axis.exponent);
}

std::pair<std::string, std::string> RangeDialogTexts(double lo, double hi) {
    const AxisLabelling axis = LabelAxis(lo, hi);
    return {AxisDigitsText(lo, axis), AxisDigitsText(hi, axis)};
}

}  // namespace wendrel
