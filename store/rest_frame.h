// A slot's radial velocity and the wavelengths it is drawn at. A slot is
// drawn in the rest frame of its source: every wavelength of the slot, as the
// file gives it, is divided by the Doppler factor 1 + v/c, with v the slot's
// Velocity in km/s, positive for a receding source. So a line observed at
// 6577.4 A from a source receding at 667 km/s is drawn at 6562.8 A.
#pragma once

#include "store/workspace.h"

namespace wendrel {

inline constexpr double kSpeedOfLight = 299792.458;  // km/s

// The velocity bars' range, in km/s; every factor in it is positive.
inline constexpr int kMinVelocity = -32767;
inline constexpr int kMaxVelocity = 32767;

inline double RestFrameFactor(double velocity) { return 1.0 + velocity / kSpeedOfLight; }

// Where a wavelength of the slot's file is drawn.
inline double RestWavelength(const Row& s, double observed) { return observed / RestFrameFactor(s.Velocity); }
// The wavelength of the slot's file that is drawn at `rest`.
inline double ObservedWavelength(const Row& s, double rest) { return rest * RestFrameFactor(s.Velocity); }

// Where the slot's first pixel starts and its last pixel ends, as drawn.
inline double ShiftedStart(const Row& s) { return RestWavelength(s, s->LambdaStart); }
inline double ShiftedEnd(const Row& s) { return RestWavelength(s, s->LambdaEnd); }

}  // namespace wendrel
