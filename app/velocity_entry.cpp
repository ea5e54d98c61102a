#include "app/velocity_entry.h"

#include <algorithm>
#include <charconv>
#include <cmath>

#include "store/rest_frame.h"
#include "store/rounding.h"

namespace wendrel {

namespace {

constexpr double kMaxRedshift = 1e300;  // c * z stays a finite velocity below it

std::string_view Trimmed(std::string_view text) {
    const size_t first = text.find_first_not_of(" \t");
    if (first == std::string_view::npos) return {};
    return text.substr(first, text.find_last_not_of(" \t") - first + 1);
}

// The whole text as one finite decimal number, a "+" sign allowed.
bool ReadNumber(std::string_view text, double& value) {
    if (text.starts_with('+') && !text.substr(1).starts_with('-')) text.remove_prefix(1);
    const auto [stop, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    return error == std::errc() && stop == text.data() + text.size() && std::isfinite(value);
}

}  // namespace

TypedVelocity ParseVelocity(std::string_view text) {
    const std::string_view trimmed = Trimmed(text);
    const std::string quoted = "\"" + std::string(trimmed) + "\"";
    const bool isRedshift = trimmed.starts_with('z') || trimmed.starts_with('Z');
    std::string_view number = trimmed;
    if (isRedshift) {
        number = Trimmed(number.substr(1));
        number = number.starts_with('=') ? Trimmed(number.substr(1)) : std::string_view();
    }
    double value = 0;
    if (!ReadNumber(number, value)) return {0, quoted + " is not a velocity in km/s or a redshift z=..."};
    if (isRedshift) {
        if (!(value > -1 && value < kMaxRedshift))
            return {0, quoted + " is out of range: a redshift must be above -1 and below 1e300"};
        return {RedshiftVelocity(value), {}};
    }
    if (!(RestFrameFactor(value) > 0))
        return {0, quoted + " is out of range: a velocity must be above -299792.458 km/s, the speed of light"};
    return {value, {}};
}

double RedshiftVelocity(double z) {
    const double v = kSpeedOfLight * z;
    for (const double candidate : {v, std::nextafter(v, -HUGE_VAL), std::nextafter(v, HUGE_VAL)})
        if (RestFrameFactor(candidate) == 1 + z) return candidate;
    return v;
}

int VelocityBarPosition(double velocity) {
    return static_cast<int>(RoundHalfEven(std::clamp<double>(velocity, kMinVelocity, kMaxVelocity)));
}

std::string VelocityText(double velocity) {
    char digits[400];  // the largest double has 309 digits before the point
    std::string text(digits, std::to_chars(digits, digits + sizeof digits, velocity, std::chars_format::fixed, 3).ptr);
    text.erase(text.find_last_not_of('0') + 1);
    if (text.ends_with('.')) text.pop_back();
    return text == "-0" ? "0" : text;
}

}  // namespace wendrel
