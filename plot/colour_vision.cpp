#include "plot/colour_vision.h"

#include <algorithm>
#include <cmath>

#include "plot/colour_contrast.h"

namespace wendrel {

namespace {

using Matrix = std::array<std::array<double, 3>, 3>;

constexpr Matrix kIdentity = {{{1, 0, 0}, {0, 1, 0}, {0, 0, 1}}};
constexpr Matrix kDeuteranopia = {{{0.367322, 0.860646, -0.227968},
                                   {0.280085, 0.672501, 0.047413},
                                   {-0.011820, 0.042940, 0.968881}}};
constexpr Matrix kProtanopia = {{{0.152286, 1.052583, -0.204868},
                                 {0.114503, 0.786281, 0.099216},
                                 {-0.003882, -0.048116, 1.051998}}};

double LabCurve(double t) {
    constexpr double d = 6.0 / 29;
    return t > d * d * d ? std::cbrt(t) : t / (3 * d * d) + 4.0 / 29;
}

}  // namespace

Lab SeenColour(int32_t colour, ColourVision vision) {
    const Matrix& m = vision == ColourVision::Deuteranopia ? kDeuteranopia
                      : vision == ColourVision::Protanopia ? kProtanopia
                                                           : kIdentity;
    const std::array<double, 3> in = {LinearChannel(colour, 0), LinearChannel(colour, 1), LinearChannel(colour, 2)};
    std::array<double, 3> rgb{};
    for (size_t i = 0; i < 3; ++i) rgb[i] = std::clamp(m[i][0] * in[0] + m[i][1] * in[1] + m[i][2] * in[2], 0.0, 1.0);
    const double x = (0.4124 * rgb[0] + 0.3576 * rgb[1] + 0.1805 * rgb[2]) / 0.95047;
    const double y = 0.2126 * rgb[0] + 0.7152 * rgb[1] + 0.0722 * rgb[2];
    const double z = (0.0193 * rgb[0] + 0.1192 * rgb[1] + 0.9505 * rgb[2]) / 1.08883;
    const double fx = LabCurve(x), fy = LabCurve(y), fz = LabCurve(z);
    return {116 * fy - 16, 500 * (fx - fy), 200 * (fy - fz)};
}

double DeltaE76(const Lab& x, const Lab& y) { return std::hypot(x.L - y.L, x.a - y.a, x.b - y.b); }

}  // namespace wendrel
