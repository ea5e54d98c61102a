// An axis with a label at every major tick: the major ticks at whole
// multiples of a step of 1, 2 or 5 times a power of ten, the minor ticks
// between them, and label texts with the fewest decimals that tell
// neighbouring ticks apart. Very small or very large values share one
// exponent for the whole axis, shown once in the axis title ("×10⁻¹³").
//
// The step and the texts are worked out in whole numbers (the tick index
// times the step's mantissa), so a label never carries rounding residue:
// zero reads "0", never "-0" or "1E-17", and 6562.802 reads "6562.802".
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace wendrel {

struct AxisTick {
    int64_t index = 0;  // value = index * step
    double value = 0;
    std::string text;  // the label: value / 10^exponent with `decimals` decimals; "0" for zero
};

struct AxisLabelling {
    // False for a range that is not finite or has no positive span, or one too
    // narrow for its distance from zero to be marked (beyond 2^53 steps).
    bool valid = false;
    double step = 0;       // between major ticks
    double minorStep = 0;  // a fifth of the step (a quarter for steps of 2 x 10^n)
    std::vector<AxisTick> major;  // ascending, all inside [lo, hi]
    std::vector<double> minor;    // ascending, inside [lo, hi], none at a major tick
    // The labels show value / 10^exponent. Non-zero where the largest value
    // of the axis is below 0.01 or at least 10^6; then the axis title ends in
    // titleSuffix, "×10⁻¹³" (UTF-8), which is empty for exponent 0.
    int exponent = 0;
    std::string titleSuffix;
    int decimals = 0;  // of every label but "0"
};

// The ticks and labels of the axis from lo to hi (lo < hi) with the smallest
// step that gives at most maxMajorTicks major ticks (2 .. 1000 are asked).
AxisLabelling LabelAxis(double lo, double hi, int maxMajorTicks = 6);

// "×10⁻¹³" for -13, "" for 0.
std::string ExponentSuffix(int exponent);

// The value rounded to `decimals` decimals (0 .. 30), "." as the separator and
// no sign on a value that rounds to zero: FixedText(-0.004, 2)
// = "0.00", FixedText(6563.5, 1) = "6563.5".
std::string FixedText(double value, int decimals);

// Width of a label text in pixels, as the drawing font measures it.
using TextWidth = std::function<double(std::string_view)>;

// Whether the labels, each centred on its tick along an axis `axisPixels`
// long from lo to hi, keep at least `gap` pixels from each other. Only ticks
// whose index k (value = k * step) is a multiple of `every` count.
bool LabelsApart(const AxisLabelling& axis, double lo, double hi, double axisPixels, const TextWidth& widthOf,
                 double gap, int64_t every = 1);

// The smallest of 1, 2, 5, 10, 20, ... such that labelling only every that
// many-th major tick (those at multiples of it times the step, so zero keeps
// its label) keeps the labels `gap` pixels apart; 1 when every label fits.
// An axis whose labels can never fit gets the stride that leaves one label.
int64_t LabelStride(const AxisLabelling& axis, double lo, double hi, double axisPixels, const TextWidth& widthOf,
                    double gap);

}  // namespace wendrel
