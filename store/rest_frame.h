// A slot's radial velocity and the wavelengths it is drawn at. A slot is
// drawn in the rest frame of its source: every wavelength of the slot, as the
// file gives it, is divided by the Doppler factor 1 + v/c, with v the slot's
// Velocity in km/s, positive for a receding source. So a line observed at
// 6577.4 A from a source receding at 667 km/s is drawn at 6562.8 A.
//
// On a velocity axis with one rest wavelength per row the rest frame is
// further stretched by the row's AxisScale; the functions below place the row
// as drawn, and a row with AxisScale 1 (InItsRestFrame) in its rest frame,
// where measurements, fits and exports take it.
#pragma once

#include "store/workspace.h"

namespace wendrel {

inline constexpr double kSpeedOfLight = 299792.458;  // km/s

// The velocity bars' range, in km/s; every factor in it is positive.
inline constexpr int kMinVelocity = -32767;
inline constexpr int kMaxVelocity = 32767;

inline double RestFrameFactor(double velocity) { return 1.0 + velocity / kSpeedOfLight; }

// The file's wavelengths over the drawn ones.
inline double DrawnFactor(const Row& s) { return RestFrameFactor(s.Velocity) / s.AxisScale; }

// The row as it lies in its rest frame, without a velocity axis's stretch.
inline Row InItsRestFrame(Row s) {
    s.AxisScale = 1;
    return s;
}

// Where a wavelength of the slot's file is drawn.
inline double RestWavelength(const Row& s, double observed) { return observed / DrawnFactor(s); }
// The wavelength of the slot's file that is drawn at `rest`.
inline double ObservedWavelength(const Row& s, double rest) { return rest * DrawnFactor(s); }

// Where the slot's first pixel starts and its last pixel ends, as drawn.
inline double ShiftedStart(const Row& s) { return RestWavelength(s, s->LambdaStart); }
inline double ShiftedEnd(const Row& s) { return RestWavelength(s, s->LambdaEnd); }

}  // namespace wendrel
