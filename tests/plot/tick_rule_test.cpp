#include "plot/tick_rule.h"

#include <gtest/gtest.h>

#include <cmath>

namespace wendrel {
namespace {

TEST(TickStep, StepFromSpan) {
    const struct { double span; float step; } cases[] = {
        {300, 50}, {1000, 200}, {700, 100}, {500, 100}, {200, 50}, {120, 20}, {0.5, 0.1f}, {250, 50}, {2, 0.5f},
        {1, 0.2f}, {0.05, 0.01f}, {999.9999, 200},  // a hair under a power of ten still counts as that power
        {0, 0}, {-5, 0}, {NAN, 0}, {INFINITY, 0}, {1e-60, 0}, {1e60, 0}};  // no step
    for (const auto& c : cases) EXPECT_EQ(TickStep(c.span), c.step) << c.span;
}

TEST(TicksFor, WorkedExamples) {
    const struct { double span, lo, hi; float step; int64_t first, last; const char* label; } cases[] = {
        {300, 6500, 6800, 50, 130, 136, " 6500"},         // the ends of the range are ticks
        {2, 6562.3, 6564.3, 0.5f, 13125, 13128, " 6562."},  // first and last inside the range
        // Beyond 16 bits; the 32-bit step lies a hair above 0.1, so the right
        // end falls just short of the 500105th step.
        {0.5, 50010, 50010.5, 0.1f, 500100, 500104, " 50010"},
    };
    for (const auto& c : cases) {
        const AxisTicks t = TicksFor(c.span, c.lo, c.hi);
        ASSERT_TRUE(t.valid) << c.lo;
        EXPECT_EQ(t.step, c.step) << c.lo;
        EXPECT_EQ(t.first, c.first) << c.lo;
        EXPECT_EQ(t.last, c.last) << c.lo;
        EXPECT_EQ(t.LabelText(t.first), c.label) << c.lo;
        EXPECT_FALSE(t.wideValues);
    }
    EXPECT_FALSE(TicksFor(1e-30, 1e3, 1e3 + 1e-30).valid);  // too fine to mark
    EXPECT_FALSE(TicksFor(0, 6500, 6500).valid);
}

// Where 32-bit values cannot tell neighbouring ticks apart, the ticks still
// come out distinct and evenly spaced.
TEST(TicksFor, NarrowViewFarFromZero) {
    const double lo = 1e6, hi = 1e6 + 0.001;
    const AxisTicks t = TicksFor(hi - lo, lo, hi);
    ASSERT_TRUE(t.valid && t.wideValues);
    ASSERT_GE(t.last - t.first, 2);
    EXPECT_TRUE(t.Value(t.first) >= lo && t.Value(t.last) <= hi);
    for (int64_t k = t.first + 1; k <= t.last; ++k) EXPECT_NEAR(t.Value(k) - t.Value(k - 1), t.step, t.step * 1e-3);
}

}  // namespace
}  // namespace wendrel
