// The dispersion functions of IRAF's multispec format: each gives a
// wavelength offset W(p) for a physical pixel coordinate p, from the numbers
// that follow its type code in a specN attribute.
#pragma once

#include <span>
#include <string>
#include <vector>

namespace wendrel {

// Type codes as written in the attribute.
enum class FunctionType { Chebyshev = 1, Legendre = 2, CubicSpline = 3, LinearSpline = 4, PixelArray = 5,
                          SampledArray = 6 };

class DispersionFunction {
public:
    // Reads one function's parameters and coefficients from the front of
    // `fields` (the numbers after its type code) and says how many it took,
    // or sets `problem` and returns 0 when they do not describe a function:
    //   Chebyshev, Legendre:  order pmin pmax c1 .. c(order)
    //   cubic spline:         npieces pmin pmax c0 .. c(npieces + 2)
    //   linear spline:        npieces pmin pmax c0 .. c(npieces)
    //   pixel array:          ncoords w1 .. w(ncoords)      (w at pixels 1, 2, ..)
    //   sampled array:        ncoords dummy p1 w1 .. p(ncoords) w(ncoords)
    // Counts are whole numbers of at least 1, pmin differs from pmax and the
    // sampled pixel coordinates increase.
    static size_t Read(FunctionType type, std::span<const double> fields, DispersionFunction& function,
                       std::string& problem);

    // W(p). Polynomials take p normalised to -1 .. 1 over pmin .. pmax;
    // splines run over npieces equal pieces of pmin .. pmax; the arrays
    // interpolate linearly between their neighbouring points. Beyond its
    // range each function continues its end piece.
    double operator()(double p) const;

private:
    FunctionType type_ = FunctionType::Chebyshev;
    double pmin_ = 0, pmax_ = 0;
    int64_t pieces_ = 0;
    std::vector<double> c_;  // coefficients, or the arrays' wavelengths
    std::vector<double> x_;  // the sampled array's pixel coordinates
};

}  // namespace wendrel
