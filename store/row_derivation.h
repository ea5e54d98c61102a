// How a row's shown spectrum derives from others: a smoothing of its file's
// spectrum, or the ratio or difference of two other rows. The row keeps the
// recipe, so that a session can make the spectrum again.
#pragma once

namespace wendrel {

enum class SmoothingKernel { Boxcar, GaussianAngstrom, GaussianVelocity, Median };

struct Smoothing {
    SmoothingKernel Kernel = SmoothingKernel::Boxcar;
    double Width = 1;  // N pixels (Boxcar, Median), FWHM in A (GaussianAngstrom) or km/s (GaussianVelocity)
    bool operator==(const Smoothing&) const = default;
};

enum class RowCombination { None, Ratio, Difference };

// Row A divided by, or less, row B (rows 1 .. 10), on A's pixels.
struct CombinedRows {
    RowCombination Kind = RowCombination::None;
    int A = 0, B = 0;
    bool operator==(const CombinedRows&) const = default;
};

}  // namespace wendrel
