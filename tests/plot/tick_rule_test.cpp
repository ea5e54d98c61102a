#include "plot/tick_rule.h"

#include <gtest/gtest.h>

#include <cmath>

namespace wendrel {
namespace {

TEST(TickRule, StepFromSpan) {
    const std::pair<double, float> cases[] = {
        {300, 50}, {1000, 200}, {700, 100}, {500, 100}, {200, 50}, {120, 20}, {0.5, 0.1f}, {2, 0.5f}, {1, 0.2f},
        {999.9999, 200},  // a hair under a power of ten still counts as that power
        {0, 0}, {-5, 0}, {NAN, 0}, {INFINITY, 0}, {1e-60, 0}, {1e60, 0}};
    for (const auto& [span, step] : cases) EXPECT_EQ(TickStep(span), step) << span;
}

TEST(TickRule, TicksInsideTheRange) {
    const struct { double span, lo, hi; int64_t first, last; const char* label; } cases[] = {
        {300, 6500, 6800, 130, 136, " 6500"},
        {2, 6562.3, 6564.3, 13125, 13128, " 6562."},
        // The 32-bit step lies a hair above 0.1: the right end falls just short of the 500105th step.
        {0.5, 50010, 50010.5, 500100, 500104, " 50010"},
    };
    for (const auto& c : cases) {
        const AxisTicks t = TicksFor(c.span, c.lo, c.hi);
        EXPECT_EQ(std::tuple(t.valid, t.first, t.last, t.LabelText(t.first)), std::tuple(true, c.first, c.last, c.label));
    }
    EXPECT_FALSE(TicksFor(1e-30, 1e3, 1e3 + 1e-30).valid);  // too fine to mark
    // Where 32-bit values cannot tell neighbouring ticks apart, they still come out distinct and even.
    const AxisTicks t = TicksFor(0.001, 1e6, 1e6 + 0.001);
    ASSERT_TRUE(t.valid && t.wideValues && t.last - t.first >= 2);
    EXPECT_TRUE(t.Value(t.first) >= 1e6 && t.Value(t.last) <= 1e6 + 0.001);
    for (int64_t k = t.first + 1; k <= t.last; ++k) EXPECT_NEAR(t.Value(k) - t.Value(k - 1), t.step, t.step * 1e-3);
}

}  // namespace
}  // namespace wendrel
