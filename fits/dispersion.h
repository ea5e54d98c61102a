// Wavelength scales that are not linear in the pixel number, as IRAF writes
// them, turned into the wavelengths of the pixel edges once per load.
//
// Pixel l of the file is centred at position l and covers l - 1/2 .. l + 1/2;
// w(x) is the wavelength at position x.
//
// Log-linear (DC-FLAG = 1): the two wavelength keywords hold log10 of the
// wavelength at the centre of pixel 1 and its step per pixel, so
// w(x) = 10^(start + (x - 1) step).
//
// Multispec (the WAT2_nnn card strings, joined in their numbered order, hold
// "wtype=multispec" and one attribute specN = "ap beam dtype w1 dw nw z aplow
// aphigh [functions]" per image line): image line k takes the k-th specN in
// the order of N, line 1 the one with the lowest N. With the
// physical pixel coordinate p = (x - LTV1) / LTM1_1 of the file's position x,
// the wavelength is
//   dtype 0 (linear):      (w1 + dw (p - 1)) / (1 + z)
//   dtype 1 (log-linear):  10^(w1 + dw (p - 1)) / (1 + z)
//   dtype 2 (non-linear):  sum over the functions of wt (w0 + W(p)) / (1 + z),
//                          each function "wt w0 type parameters" with the
//                          types of fits/dispersion_functions.h.
//
// SDSS's older spectra (spSpec) give a log-linear scale by COEFF0 and COEFF1:
// w(x) = 10^(COEFF0 + COEFF1 (x - 1)), in vacuum.
//
// So a linear and a log-linear file of one spectrum overlay exactly.
#pragma once

#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace wendrel {

inline constexpr const char* kLinearScale = "linear";
inline constexpr const char* kLogLinearScale = "log-linear";
inline constexpr const char* kMultispecScale = "multispec";
// CTYPE1 WAVE-LOG or AWAV-LOG: w(x) = CRVAL1 exp(step (x - CRPIX1) / CRVAL1).
inline constexpr const char* kLogarithmicScale = "logarithmic";

// The cards that can describe a scale other than the linear one, collected
// while the reader walks over the header: DC-FLAG, LTV1, LTM1_1, COEFF0,
// COEFF1 and the WAT1_nnn and WAT2_nnn cards (the last card of each keyword
// counts), and what tells air from vacuum (CTYPE1, VACUUM).
class DispersionCards {
public:
    // Offers one header card (its keyword and its characters as read).
    void Take(std::string_view keyword, std::string_view card);

    // "linear" unless DC-FLAG holds something other than 0 or -1 (not
    // calibrated), the WAT2 strings describe a multispec scale, CTYPE1 is
    // WAVE-LOG or AWAV-LOG, or COEFF0 and COEFF1 give a log-linear scale.
    std::string Kind() const;

    // Whether the scale is SDSS's COEFF0 and COEFF1, which takes the place of
    // the wavelength keywords.
    bool FromCoefficients() const;

    // "vacuum" when VACUUM = T (SDSS, LAMOST) or the scale is SDSS's
    // coefficients; else as CTYPE1 and IRAF's cards tell (MediumOfAxis in
    // fits/spectral_axis.h).
    std::string Medium() const;

    // The "units" attribute of the WAT1 cards (IRAF's name of the wavelength
    // unit); empty when there is none.
    std::string WavelengthUnit() const;

    // Whether the header carries the wavelength cards IRAF writes (DC-FLAG,
    // WAT1_nnn, WAT2_nnn).
    bool FromIraf() const { return dcFlag_ || !wat1_.empty() || !wat2_.empty(); }

private:
    friend struct PixelScale;
    std::optional<double> dcFlag_, ltv1_, ltm1_, crval1_, crpix1_, coeff0_, coeff1_;
    bool logarithmic_ = false;
    bool vacuum_ = false;
    std::string ctype1_;
    std::map<int64_t, std::string> wat1_, wat2_;  // card string by card number
};

struct PixelScale {
    std::string kind = kLinearScale;
    // Pixel p (from 1) is centred at centres[p - 1] and covers edges[p - 1]
    // .. edges[p]; the edges run strictly one way. Both empty for a linear
    // scale.
    std::vector<double> centres, edges;
    // Why the scale cannot be evaluated, as the end of a sentence that begins
    // with the file's name ("has a multispec wavelength scale that ...");
    // empty when it could.
    std::string problem;

    // The scale of a spectrum of `pixels` pixels. linearStart and linearStep
    // are the values of the wavelength keywords, with pixel 1 centred at
    // linearStart: the logarithms for DC-FLAG = 1; a multispec scale does not
    // use them. A linear scale gives no centres and edges. `line` is the
    // image line (aperture) whose multispec scale is taken.
    static PixelScale Evaluate(const DispersionCards& cards, int64_t pixels, double linearStart,
                               double linearStep, int64_t line = 1);
};

}  // namespace wendrel
