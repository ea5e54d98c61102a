#include "plot/number_format.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdlib>
#include <limits>

#include "store/numeric_text.h"

namespace wendrel {

namespace {

// Shortest significant digits (at most maxDigits) that read back to `magnitude`
// in its own type, with the decimal exponent of the first digit.
template <class T>
void ShortestDigits(T magnitude, int maxDigits, std::string& digits, int& exponent) {
    char buf[64];
    char* end = buf;
    for (int count = 1; count <= maxDigits; ++count) {
        end = std::to_chars(buf, buf + sizeof buf, magnitude, std::chars_format::scientific, count - 1).ptr;
        T back{};
        std::from_chars(buf, end, back);
        if (back == magnitude) break;
    }
    // buf holds "d.ddde+XX" (or "de+XX" for one digit).
    const std::string_view text(buf, static_cast<size_t>(end - buf));
    const size_t e = text.find('e');
    digits.clear();
    for (char c : text.substr(0, e))
        if (c != '.') digits += c;
    while (digits.size() > 1 && digits.back() == '0') digits.pop_back();
    std::from_chars(text.data() + e + (text[e + 1] == '+' ? 2 : 1), text.data() + text.size(), exponent);
}

template <class T>
std::string PlainFloatText(T value, int maxDigits) {
    if (std::isnan(value)) return " NaN";
    if (std::isinf(value)) return value > 0 ? " Inf" : "-Inf";
    std::string text = value < 0 ? "-" : " ";
    if (value == 0) return text + "0";

    std::string digits;
    int exponent = 0;
    ShortestDigits(std::abs(value), maxDigits, digits, exponent);
    const int count = static_cast<int>(digits.size());

    if (exponent < -4 || exponent >= maxDigits) {
        text += digits[0];
        if (count > 1) text += "." + digits.substr(1);
        const int magnitude = std::abs(exponent);
        text += exponent < 0 ? "E-" : "E+";
        if (magnitude < 10) text += '0';
        text += std::to_string(magnitude);
    } else if (exponent < 0) {
        text += "." + std::string(static_cast<size_t>(-exponent - 1), '0') + digits;
    } else if (count <= exponent + 1) {
        text += digits + std::string(static_cast<size_t>(exponent + 1 - count), '0');
    } else {
        const auto whole = static_cast<size_t>(exponent + 1);
        text += digits.substr(0, whole) + "." + digits.substr(whole);
    }
    return text;
}

}  // namespace

std::string PlainNumberText(double value) { return PlainFloatText(value, 15); }

std::string PlainNumberText(float value) { return PlainFloatText(value, 7); }

std::string PlainNumberText(int64_t value) {
    return (value < 0 ? "" : " ") + std::to_string(value);
}

std::string WithoutLeadingBlanks(std::string_view text) {
    const size_t first = text.find_first_not_of(' ');
    return std::string(first == std::string_view::npos ? std::string_view{} : text.substr(first));
}

std::string FormatNum(double value, int width, int decimals) {
    decimals = std::max(decimals, 0);
    std::string s = WithoutLeadingBlanks(PlainNumberText(value));
    if (!std::isfinite(value)) {
        s.resize(static_cast<size_t>(std::max(width, 0)), ' ');
        return s;
    }

    const size_t point = s.find('.');
    int fractionDigits = 0;
    if (point == std::string::npos)
        s += '.';
    else
        fractionDigits = static_cast<int>(s.size() - point - 1);

    if (fractionDigits < decimals) {
        s.append(static_cast<size_t>(decimals - fractionDigits), '0');
    } else {
        const double scale = std::pow(10.0, decimals);
        const double scaled = value * scale;
        // A value too large to scale has no decimals to round.
        s = PlainNumberText(std::isfinite(scaled) ? std::floor(scaled + 0.5) / scale : value);
    }

    const double shown = NumericValue(s);
    if (width >= decimals + 3 && shown > -1 && shown < 1) {
        s = WithoutLeadingBlanks(PlainNumberText(shown));
        if (s.starts_with('.'))
            s.insert(0, "0");
        else if (s.starts_with("-."))
            s.insert(1, "0");
    }

    const int room = width - static_cast<int>(s.size());
    if (room >= 0) return s + std::string(static_cast<size_t>(room), ' ');
    if (-room >= decimals + 1) return FormatExp(value, width, width - 6);
    return s.substr(0, static_cast<size_t>(std::max(width, 0)));
}

std::string FormatExp(double value, int width, int decimals) {
    // NaN and infinities have no exponent; they read as in FormatNum.
    if (!std::isfinite(value)) return FormatNum(value, width, decimals);
    decimals = std::clamp(decimals, 0, std::max(width - 6, 0));
    std::string s;
    if (std::abs(value) <= 1e-16) {
        s = "." + std::string(static_cast<size_t>(decimals), '0') + "D+00";
    } else {
        int exponent = static_cast<int>(std::floor(std::log(std::abs(value)) / std::log(10.0))) + 1;
        // One division, so that halves round as the mantissa reads (555 -> .56); only where
        // 10^exponent overflows, near the double range's end, is the scaling done in two steps.
        // The exponent is corrected where the logarithm lands a hair off a power of ten.
        auto mantissa = [&] {
            const double scale = std::pow(10.0, exponent);
            return std::isfinite(scale) ? value / scale : value / std::pow(10.0, exponent - 1) / 10.0;
        };
        double m = mantissa();
        if (std::abs(m) >= 1) {
            ++exponent;
            m = mantissa();
        } else if (std::abs(m) < 0.1) {
            --exponent;
            m = mantissa();
        }
        s = FormatNum(m, decimals + 2, decimals) + (exponent < 0 ? "D-" : "D+") +
            PadNum(std::abs(exponent), 2, '0');
    }
    if (static_cast<int>(s.size()) < width) s.resize(static_cast<size_t>(width), ' ');
    return s;
}

std::string SignificantText(double value) {
    constexpr int kLowestPlain = -2, kHighestPlain = 5;  // decimal exponents written without one
    if (std::isnan(value)) return "NaN";
    if (std::isinf(value)) return value > 0 ? "Inf" : "-Inf";
    if (value == 0) return "0";
    char buf[64];
    char* end = std::to_chars(buf, buf + sizeof buf, value, std::chars_format::scientific, 2).ptr;
    const std::string_view scientific(buf, static_cast<size_t>(end - buf));
    const size_t e = scientific.find('e');
    int exponent = 0;
    std::from_chars(scientific.data() + e + (scientific[e + 1] == '+' ? 2 : 1), end, exponent);
    if (exponent < kLowestPlain || exponent > kHighestPlain) return std::string(scientific);
    double rounded = 0;
    std::from_chars(buf, end, rounded);
    end = std::to_chars(buf, buf + sizeof buf, rounded, std::chars_format::fixed, std::max(0, 2 - exponent)).ptr;
    return std::string(buf, end);
}

std::string PadNum(int64_t number, int width, char fill) {
    std::string s = WithoutLeadingBlanks(PlainNumberText(number));
    const int missing = width - static_cast<int>(s.size());
    if (missing > 0) s.insert(0, static_cast<size_t>(missing), fill);
    return s;
}

}  // namespace wendrel
