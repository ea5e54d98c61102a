#include "analysis/smoothing_budget.h"

#include <charconv>
#include <cmath>

namespace wendrel {

namespace {

constexpr double kBudgetSeconds = 3;

// Seconds per pixel pair, measured with kernels of thousands of pixels on a
// 1,000,000-pixel row with sigma and blanks, on the 2-core development machine.
double SecondsPerPair(SmoothingPath path) {
    switch (path) {
        case SmoothingPath::Taps: return 0.3e-9;
        case SmoothingPath::VaryingGaussian: return 1.8e-9;
        case SmoothingPath::Median: return 16e-9;
    }
    return 0;
}

std::string NumberText(double value) {
    char text[32];
    const auto end = std::to_chars(text, text + sizeof text, value).ptr;
    return std::string(text, end);
}

// The width in the user's words, e.g. "a FWHM of 150 km/s".
std::string WidthText(SmoothingKernel kernel, double width) {
    switch (kernel) {
        case SmoothingKernel::Boxcar: return "a boxcar of " + NumberText(width) + " pixels";
        case SmoothingKernel::Median: return "a median of " + NumberText(width) + " pixels";
        case SmoothingKernel::GaussianAngstrom: return "a FWHM of " + NumberText(width) + " \u00c5";
        case SmoothingKernel::GaussianVelocity: return "a FWHM of " + NumberText(width) + " km/s";
    }
    return {};
}

// Rounded down to a whole number of pixels, or to three significant digits.
double RoundedDown(SmoothingKernel kernel, double width) {
    if (kernel == SmoothingKernel::Boxcar || kernel == SmoothingKernel::Median) return std::floor(width);
    if (!(width > 0)) return 0;
    const double unit = std::pow(10, std::floor(std::log10(width)) - 2);
    return std::floor(width / unit) * unit;
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
    std::string text = WidthText(how.Kernel, how.Width) + " is too wide for this row of " + std::to_string(pixels) +
                       " pixels: each smoothed pixel would draw on about " +
                       std::to_string(std::lround(pairs / static_cast<double>(pixels))) +
                       " pixels, more than can be smoothed within a few seconds.";
    text[0] = 'A';
    const double widest = RoundedDown(how.Kernel, fits);
    if (widest > 0) text += " The widest accepted is " + WidthText(how.Kernel, widest) + ".";
    return text;
}

}  // namespace wendrel
