#include "plot/axis_labels.h"

#include <algorithm>
#include <charconv>
#include <cmath>

namespace wendrel {

namespace {

constexpr int kLowestPlainDecade = -2, kHighestPlainDecade = 5;
constexpr double kExactIntegers = 0x1p53;
constexpr int kMostMajorTicks = 1000;

// n * 10^e, with one correctly rounded operation (10^|e| is exact up to 10^22).
double Scaled(double n, int e) { return e >= 0 ? n * std::pow(10.0, e) : n / std::pow(10.0, -e); }

// The decimal exponent of the first digit of a positive value.
int DecadeOf(double value) {
    int decade = static_cast<int>(std::floor(std::log10(value)));
    if (Scaled(1, decade) > value) --decade;
    if (Scaled(1, decade + 1) <= value) ++decade;
    return decade;
}

// The smallest index k with k * unit >= lo and the largest with k * unit <= hi,
// unit = mantissa * 10^e.
struct IndexRange {
    int64_t first, last;
};
IndexRange IndicesInside(double lo, double hi, int64_t mantissa, int e) {
    const double unit = Scaled(static_cast<double>(mantissa), e);
    const auto value = [&](int64_t k) { return Scaled(static_cast<double>(k * mantissa), e); };
    IndexRange r{static_cast<int64_t>(std::ceil(lo / unit)), static_cast<int64_t>(std::floor(hi / unit))};
    while (value(r.first) < lo) ++r.first;
    while (value(r.first - 1) >= lo) --r.first;
    while (value(r.last) > hi) --r.last;
    while (value(r.last + 1) <= hi) ++r.last;
    return r;
}

// n * 10^shift written out from n's digits.
std::string ScaledIntegerText(int64_t n, int shift) {
    if (n == 0) return "0";
    std::string digits = std::to_string(n < 0 ? -n : n);
    if (shift >= 0) {
        digits.append(static_cast<size_t>(shift), '0');
    } else {
        const auto decimals = static_cast<size_t>(-shift);
        if (digits.size() <= decimals) digits.insert(0, decimals + 1 - digits.size(), '0');
        const size_t whole = digits.size() - decimals;
        digits = digits.substr(0, whole) + "." + digits.substr(whole);
    }
    return (n < 0 ? "-" : "") + digits;
}

}  // namespace

std::string ExponentSuffix(int exponent) {
    if (exponent == 0) return "";
    static constexpr const char* kSuperscripts[] = {"⁰", "¹", "²", "³", "⁴", "⁵", "⁶", "⁷", "⁸", "⁹"};
    std::string text = "×10";
    if (exponent < 0) text += "⁻";
    for (char digit : std::to_string(std::abs(exponent))) text += kSuperscripts[digit - '0'];
    return text;
}

std::string FixedText(double value, int decimals) {
    char buf[400];
    const auto end = std::to_chars(buf, buf + sizeof buf, value, std::chars_format::fixed, std::clamp(decimals, 0, 30)).ptr;
    std::string text(buf, end);
    if (text.starts_with('-') && text.find_first_not_of("-0.") == std::string::npos) text.erase(0, 1);
    return text;
}

AxisLabelling LabelAxis(double lo, double hi, int maxMajorTicks) {
    AxisLabelling axis;
    const double span = hi - lo;
    if (!std::isfinite(lo) || !std::isfinite(hi) || !(span > 0) || !std::isfinite(span)) return axis;
    maxMajorTicks = std::clamp(maxMajorTicks, 2, kMostMajorTicks);

    // The smallest step of 1, 2 or 5 x 10^e with at most maxMajorTicks ticks.
    int e = DecadeOf(span / maxMajorTicks) - 1;
    int64_t mantissa = 1;
    IndexRange ticks{};
    for (;; mantissa = mantissa == 1 ? 2 : mantissa == 2 ? 5 : (++e, 1)) {
        const double far = std::max(std::abs(lo), std::abs(hi)) / Scaled(1, e);
        if (far > kExactIntegers / 10) return axis;
        ticks = IndicesInside(lo, hi, mantissa, e);
        if (ticks.last - ticks.first + 1 <= maxMajorTicks) break;
    }
    axis.step = Scaled(static_cast<double>(mantissa), e);

    const double far = std::max(std::abs(lo), std::abs(hi));
    const int decade = DecadeOf(far);
    if (decade < kLowestPlainDecade || decade > kHighestPlainDecade) axis.exponent = decade;
    axis.titleSuffix = ExponentSuffix(axis.exponent);
    axis.decimals = std::max(0, axis.exponent - e);
    for (int64_t k = ticks.first; k <= ticks.last; ++k)
        axis.major.push_back({k, Scaled(static_cast<double>(k * mantissa), e), ScaledIntegerText(k * mantissa, e - axis.exponent)});

    // Minor ticks at whole multiples of a unit of 10^(e - 1).
    const int64_t minorMantissa = mantissa == 1 ? 2 : mantissa == 2 ? 5 : 10;
    const int64_t perMajor = mantissa * 10 / minorMantissa;
    axis.minorStep = Scaled(static_cast<double>(minorMantissa), e - 1);
    const IndexRange minor = IndicesInside(lo, hi, minorMantissa, e - 1);
    for (int64_t j = minor.first; j <= minor.last; ++j)
        if (j % perMajor != 0) axis.minor.push_back(Scaled(static_cast<double>(j * minorMantissa), e - 1));
    axis.valid = true;
    return axis;
}

bool LabelsApart(const AxisLabelling& axis, double lo, double hi, double axisPixels, const TextWidth& widthOf,
                 double gap, int64_t every) {
    double previousRight = -INFINITY;
    for (const AxisTick& tick : axis.major) {
        if (tick.index % every != 0) continue;
        const double centre = (tick.value - lo) / (hi - lo) * axisPixels;
        const double half = widthOf(tick.text) / 2;
        if (centre - half < previousRight + gap) return false;
        previousRight = centre + half;
    }
    return true;
}

int64_t LabelStride(const AxisLabelling& axis, double lo, double hi, double axisPixels, const TextWidth& widthOf,
                    double gap) {
    for (int64_t decade = 1;; decade *= 10)
        for (const int64_t stride : {decade, 2 * decade, 5 * decade}) {
            const auto shown = std::count_if(axis.major.begin(), axis.major.end(),
                                             [&](const AxisTick& t) { return t.index % stride == 0; });
            if (shown <= 1 || LabelsApart(axis, lo, hi, axisPixels, widthOf, gap, stride)) return stride;
        }
}

}  // namespace wendrel
