// Where a slot's pixels lie in wavelength: on a linear scale by LambdaStart
// and DLambda, otherwise by the slot's pixel edges (PixelEdge), which the
// reader computes once per load, so that nothing here costs more than a
// look-up or a binary search. Wavelengths here are those the slot is drawn
// at: the file's, taken to the rest frame of the slot's Velocity
// (store/rest_frame.h).
#pragma once

#include <algorithm>
#include <cstdint>

#include "store/rest_frame.h"
#include "store/workspace.h"

namespace wendrel {

// The wavelength of the file where pixel p ends, p = 0 .. Naxis1 (p = 0:
// where pixel 1 starts). On a linear scale LambdaStart + p * DLambda.
inline double ObservedPixelEnd(const Spectrum& s, int64_t p) {
    if (s.PixelEdge.empty()) return s.LambdaStart + static_cast<double>(p) * s.DLambda;
    return s.PixelEdge[static_cast<size_t>(std::clamp<int64_t>(p, 0, std::ssize(s.PixelEdge) - 1))];
}

// The wavelength of the file at the centre of pixel p, p = 1 .. Naxis1.
inline double ObservedPixelCentre(const Spectrum& s, int64_t p) {
    if (s.PixelCentre.empty()) return s.Lambda0 + static_cast<double>(p - 1) * s.DLambda;
    return s.PixelCentre[static_cast<size_t>(p - 1)];
}

// Where pixel p ends as drawn: ObservedPixelEnd in the slot's rest frame.
inline double PixelEndLambda(const Row& s, int64_t p) { return RestWavelength(s, ObservedPixelEnd(s.spectrum(), p)); }

// The first pixel p of 1 .. n whose end does not lie before `lambda` on the
// plot's axis (n + 1 when none): a binary search, as pixel ends rise. With
// `onBefore` an end equal to `lambda` counts as lying before it.
inline int64_t FirstPixelEndingAt(const Row& s, int64_t n, double lambda, bool onBefore) {
    int64_t first = 1, count = n;
    while (count > 0) {
        const int64_t half = count / 2;
        const double end = PixelEndLambda(s, first + half);
        if (onBefore ? end <= lambda : end < lambda) {
            first += half + 1;
            count -= half + 1;
        } else {
            count = half;
        }
    }
    return first;
}

// The slot's pixels inside the view plotLeft .. plotRight and the wavelength
// its curve starts at.
struct PixelsInView {
    int64_t first = 1;   // first pixel in view
    int64_t last = 0;    // last pixel in view
    double startLambda = 0;
};

// On a linear scale, with n = Naxis1, S and E the slot's start and end as
// drawn (ShiftedStart, ShiftedEnd) and D = E - S: when the view starts inside
// or beyond the slot, first = 1 + n (plotLeft - S) / D to the nearest whole
// number and the curve starts at plotLeft, else first = 1 and it starts at S;
// last = (plotRight - S) / D n to the nearest whole number when the view ends
// before the slot does, else n. With pixel edges the same, with the fractional
// pixel position of the wavelength found among the edges (inside a pixel in
// proportion to its width; beyond the slot by the width of its end pixel)
// in place of n (lambda - LambdaStart) / D; so a linear spectrum and the
// same spectrum given by its edges show the same pixels.
PixelsInView FindPixelsInView(const Row& s, double plotLeft, double plotRight);

}  // namespace wendrel
