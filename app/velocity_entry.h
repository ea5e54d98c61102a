// Velocities as a row's velocity entry and wendrel-info's --velocities take
// them, and how a row's velocity bar and value label show a slot's velocity.
#pragma once

#include <string>
#include <string_view>

namespace wendrel {

struct TypedVelocity {
    double velocity = 0;  // km/s, positive receding
    std::string error;    // empty when the text was a velocity
};

// Reads a velocity in km/s ("796.9", "-4000", "1e4"), above -299792.458 so
// that its rest-frame factor is positive, or a redshift z above -1 written
// "z=0.0123" (or "Z = 0.0123"), which gives RedshiftVelocity(z). Blanks may
// surround the text and the "=". Anything else, infinities and NaN included,
// gives an error naming the text.
TypedVelocity ParseVelocity(std::string_view text);

// The velocity c * z of redshift z, chosen among the doubles nearest c * z so
// that RestFrameFactor gives 1 + z to the last bit: the slot's wavelengths are
// then divided by 1 + z itself. For z from -0.437 to 0.874 (and for the
// larger part of other z) such a double exists; where none does, as for z
// close to -1, the factor is that of c * z, within an ulp or so of z in v/c.
double RedshiftVelocity(double z);

// Where a row's velocity bar stands for a velocity: the nearest whole km/s
// (an exact half to the even one), held to kMinVelocity .. kMaxVelocity.
int VelocityBarPosition(double velocity);

// A row's value label: the velocity in km/s rounded to three decimals (a
// metre per second), trailing zeros and a bare decimal point cut, so whole
// bar values show as whole numbers, a typed 796.9 as "796.9", and the
// velocity of a redshift to the metre per second.
std::string VelocityText(double velocity);

}  // namespace wendrel
