#include "plot/tick_rule.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace wendrel {
namespace {

TEST(TickStep, StepFromSpan) {
    const struct {
        double span;
        float step;
    } cases[] = {
        {300, 50},   {1000, 200},      {700, 100},  {500, 100},   {200, 50},
        {120, 20},   {0.5, 0.1f},      {250, 50},   {2, 0.5f},    {1, 0.2f},
        // A hair under a power of ten still counts as that power.
        {999.9999, 200},
        {0.05, 0.01f},
    };
    for (const auto& c : cases) EXPECT_EQ(TickStep(c.span), c.step) << c.span;
}

TEST(TickStep, NoStepWithoutAPositiveSpan) {
    for (const double span : {0.0, -5.0, std::numeric_limits<double>::quiet_NaN(),
                              std::numeric_limits<double>::infinity(), 1e-60, 1e60})
        EXPECT_EQ(TickStep(span), 0) << span;
}

TEST(TicksFor, EndsOfTheRangeAreTicks) {
    const AxisTicks t = TicksFor(300, 6500, 6800);
    ASSERT_TRUE(t.valid);
    EXPECT_EQ(t.step, 50);
    EXPECT_EQ(t.first, 130);
    EXPECT_EQ(t.last, 136);
    EXPECT_FALSE(t.wideValues);
}

TEST(TicksFor, FirstAndLastInsideTheRange) {
    const AxisTicks t = TicksFor(2, 6562.3, 6564.3);
    ASSERT_TRUE(t.valid);
    EXPECT_EQ(t.step, 0.5f);
    EXPECT_EQ(t.Value(t.first), 6562.5);
    EXPECT_EQ(t.Value(t.last), 6564.0);
    EXPECT_EQ(t.LabelText(t.first), " 6562.");
}

TEST(TicksFor, IndexesBeyondSixteenBits) {
    const AxisTicks t = TicksFor(0.5, 50010, 50010.5);
    ASSERT_TRUE(t.valid);
    EXPECT_EQ(t.first, 500100);
    // The 32-bit step lies a hair above 0.1, so the right end falls just short
    // of the 500105th step and the last tick is the one before it.
    EXPECT_EQ(t.last, 500104);
    EXPECT_EQ(t.LabelText(t.first), " 50010");
}

// Where 32-bit values cannot tell neighbouring ticks apart, the ticks still
// come out distinct and evenly spaced.
TEST(TicksFor, NarrowViewFarFromZero) {
    const double lo = 1e6, hi = 1e6 + 0.001;
    const AxisTicks t = TicksFor(hi - lo, lo, hi);
    ASSERT_TRUE(t.valid);
    EXPECT_TRUE(t.wideValues);
    ASSERT_GE(t.last - t.first, 2);
    for (int64_t k = t.first; k <= t.last; ++k) {
        EXPECT_GE(t.Value(k), lo);
        EXPECT_LE(t.Value(k), hi);
        if (k > t.first) {
            EXPECT_NEAR(t.Value(k) - t.Value(k - 1), t.step, t.step * 1e-3);
        }
    }
}

TEST(TicksFor, TooFineToMarkIsNoAxis) {
    EXPECT_FALSE(TicksFor(1e-30, 1e3, 1e3 + 1e-30).valid);
    EXPECT_FALSE(TicksFor(0, 6500, 6500).valid);
    EXPECT_FALSE(TicksFor(-50, 0, -50).valid);
}

}  // namespace
}  // namespace wendrel
