#include "plot/tick_rule.h"

#include <algorithm>
#include <cmath>

#include "plot/number_format.h"

namespace wendrel {

float TickStep(double span) {
    if (!(span > 0) || !std::isfinite(span)) return 0;
    // The decade comes from this 7-digit constant rather than ln 10, so a span a
    // hair under a power of ten (999.9999) still counts as that power.
    const double q = std::log(span) / 2.302585;
    const auto decade = static_cast<float>(std::pow(10.0, std::floor(q)));
    if (!(decade > 0) || !std::isfinite(decade)) return 0;
    // Held as a 32-bit value, so 0.5 / 0.1f comes out as exactly 5.
    const auto ratio = static_cast<float>(span / decade);
    int multiple = 10;
    if (ratio < 5) multiple = 5;
    if (ratio < 2) multiple = 2;
    const auto step = static_cast<float>(multiple * static_cast<double>(decade) / 10.0);
    return step > 0 && std::isfinite(step) ? step : 0;
}

double AxisTicks::Value(int64_t k) const {
    const double exact = static_cast<double>(k) * static_cast<double>(step);
    return wideValues ? exact : static_cast<double>(static_cast<float>(exact));
}

int TickDecimals(float step) {
    int decimals = 0;
    for (double s = step; decimals < 50 && std::abs(s - std::round(s)) > 1e-3 * s; s *= 10) ++decimals;
    return decimals;
}

std::string AxisTicks::LabelText(int64_t k) const {
    const auto text = [&](int64_t j) {
        const double value = Value(j);
        return wideValues ? PlainNumberText(value) : PlainNumberText(static_cast<float>(value));
    };
    const auto cut = [](const std::string& t) {
        if (t.find("E+") != std::string::npos) return t;  // the exponent tells the whole number's size
        return t.substr(0, std::max<size_t>(6, t.find_first_of(".E")));
    };
    const std::string full = text(k), label = cut(full);
    const size_t point = full.find('.');
    if (point == std::string::npos || full.find('E') != std::string::npos ||
        (label != cut(text(k - 1)) && label != cut(text(k + 1))))
        return label;
    return full.substr(0, std::max(label.size(), point + 1 + static_cast<size_t>(TickDecimals(step))));
}

AxisTicks TicksFor(double span, double lo, double hi) {
    AxisTicks ticks;
    ticks.step = TickStep(span);
    if (ticks.step == 0 || !std::isfinite(lo) || !std::isfinite(hi)) return ticks;

    const double step = ticks.step;
    const double far = std::max(std::abs(lo), std::abs(hi));
    // Beyond 2^50 steps from zero even 64-bit values cannot mark the ticks.
    if (far / step > 0x1p50) return ticks;
    const auto farAsFloat = static_cast<float>(far);
    const double floatSpacing = std::nextafter(farAsFloat, INFINITY) - farAsFloat;
    ticks.wideValues = floatSpacing > step / 4;

    ticks.first = static_cast<int64_t>(std::floor(lo / step));
    while (ticks.Value(ticks.first) < lo) ++ticks.first;
    ticks.last = static_cast<int64_t>(std::floor(hi / step));
    while (ticks.Value(ticks.last) > hi) --ticks.last;
    ticks.valid = true;
    return ticks;
}

}  // namespace wendrel
