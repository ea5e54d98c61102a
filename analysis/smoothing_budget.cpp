#include "analysis/smoothing_budget.h"

#include <algorithm>
#include <charconv>
#include <cmath>

namespace wendrel {

namespace {

constexpr double kBudgetSeconds = 3;

// Seconds per pixel pair, measured with kernels of thousands of pixels on a
// 1,000,000-pixel row with sigma and blanks, on one core of the development
// machine (a varying Gaussian takes a second core where one is free).
double SecondsPerPair(SmoothingPath path) {
    switch (path) {
        case SmoothingPath::Taps: return 0.3e-9;
        case SmoothingPath::VaryingGaussian: return 0.85e-9;
        case SmoothingPath::Median: return 16e-9;
    }
    return 0;
}

// The value with this many decimals, or else as a whole number or the shortest text that reads back as it.
std::string NumberText(double value, int decimals = -1) {
    char text[64];
    if (decimals < 0 && value == std::floor(value) && std::abs(value) < 1e15) decimals = 0;
    const auto end = decimals < 0 ? std::to_chars(text, text + sizeof text, value).ptr
                                  : std::to_chars(text, text + sizeof text, value, std::chars_format::fixed, decimals).ptr;
    return std::string(text, end);
}

// A width in the user's words, e.g. "a FWHM of 150 km/s".
std::string WidthText(SmoothingKernel kernel, const std::string& width) {
    switch (kernel) {
        case SmoothingKernel::Boxcar: return "a boxcar of " + width + " pixels";
        case SmoothingKernel::Median: return "a median of " + width + " pixels";
        case SmoothingKernel::GaussianAngstrom: return "a FWHM of " + width + " \u00c5";
        case SmoothingKernel::GaussianVelocity: return "a FWHM of " + width + " km/s";
    }
    return {};
}

// Rounded down to a whole number of pixels, or to three significant digits; empty when that is none.
std::string RoundedDownText(SmoothingKernel kernel, double width) {
    if (kernel == SmoothingKernel::Boxcar || kernel == SmoothingKernel::Median)
        return width >= 1 ? NumberText(std::floor(width)) : std::string();
    if (!(width > 0)) return {};
    const int decimals = 2 - static_cast<int>(std::floor(std::log10(width)));
    const double unit = std::pow(10.0, -decimals);
    return NumberText(std::floor(width / unit * (1 + 1e-12)) * unit, std::max(0, decimals));
}

}  // namespace

std::string SmoothingTooSlow(const Smoothing& how, size_t pixels, SmoothingPath path,
                             const std::function<double(double width)>& pairsAtWidth) {
    const double cost = SecondsPerPair(path);
    const double pairs = pairsAtWidth(how.Width);
    if (pairs * cost <= kBudgetSeconds) return {};
    double fits = 0, tooWide = how.Width;
    for (int step = 0; step < 50 && tooWide - fits > 1e-6 * tooWide; ++step) {
        const double middle = 0.5 * (fits + tooWide);
        (pairsAtWidth(middle) * cost <= kBudgetSeconds ? fits : tooWide) = middle;
    }
    std::string text = WidthText(how.Kernel, NumberText(how.Width)) + " is too wide for this row of " + std::to_string(pixels) +
                       " pixels: each smoothed pixel would draw on about " +
                       std::to_string(std::lround(pairs / static_cast<double>(pixels))) +
                       " pixels, more than can be smoothed within a few seconds.";
    text[0] = 'A';
    if (const std::string widest = RoundedDownText(how.Kernel, fits); !widest.empty())
        text += " The widest accepted is " + WidthText(how.Kernel, widest) + ".";
    return text;
}

}  // namespace wendrel
