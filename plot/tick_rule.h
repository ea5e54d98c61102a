// Where the grid lines and tick marks of one plot axis go: a step of 1, 2 or 5
// times a power of ten, chosen from the axis span, and the whole multiples of
// that step that lie inside the axis range.
#pragma once

#include <cstdint>
#include <string>

namespace wendrel {

struct AxisTicks {
    // False when the axis has no positive span, or a span so small or so far
    // from zero that its ticks cannot be told apart; such an axis is not marked.
    bool valid = false;
    float step = 0;     // grid step, a 32-bit value
    int64_t first = 0;  // index of the first tick: its value is first * step
    int64_t last = 0;   // index of the last tick
    // Tick values are 32-bit floats; only where 32-bit values cannot tell
    // neighbouring ticks apart (very narrow views far from zero) are they
    // kept in 64 bits, so the grid stays in place.
    bool wideValues = false;

    double Value(int64_t k) const;
    // The first six characters of the value's plain number text, as the
    // wavelength tick labels show it, but never fewer than the whole number
    // takes: " 100000" stays whole, and so does " 1.5E+07". Where that would
    // read the same as a neighbouring tick's label (" 6562." for both 6562.2
    // and 6562.4), the label keeps the step's decimals (" 6562.2").
    std::string LabelText(int64_t k) const;
};

// The decimals that write whole multiples of the step: 0 for steps of 1 and
// above, 1 for 0.5, 0.2 and 0.1, 2 for 0.05, and so on.
int TickDecimals(float step);

// The grid step for a positive span: q = ln(span) / 2.302585, U = 10^floor(q)
// as a 32-bit float, r = span / U as a 32-bit float, and the step is U for
// r >= 5, U / 2 for 2 <= r < 5 and U / 5 below. Returns 0 for a span that is
// not positive or whose step a 32-bit float cannot hold.
float TickStep(double span);

// The step for `span` and the ticks between lo and hi (both included).
AxisTicks TicksFor(double span, double lo, double hi);

}  // namespace wendrel
