// Velocities and redshifts as typed, and how a row's bar and label show them.
#include <gtest/gtest.h>

#include "app/velocity_entry.h"
#include "store/rest_frame.h"

namespace wendrel::testing {
namespace {

TEST(VelocityEntry, VelocitiesAndRedshiftsOrWhatIsWrongWithTheText) {
    const char *notOne = " is not a velocity in km/s or a redshift z=...",
               *lowV = " is out of range: a velocity must be above -299792.458 km/s, the speed of light",
               *lowZ = " is out of range: a redshift must be above -1 and below 1e300";
    const struct { const char* text; double factor; const char* why; } cases[] = {
        {"796.9", RestFrameFactor(796.9), ""}, {" \t-4000 ", RestFrameFactor(-4000), ""},
        {"+1e4", RestFrameFactor(1e4), ""}, {"-299792.45", RestFrameFactor(-299792.45), ""},
        {"z=0.0123", 1 + 0.0123, ""}, {" Z = -0.43 ", 1 - 0.43, ""}, {"z=+0.5", 1.5, ""},
        {"abc", 0, notOne}, {"", 0, notOne}, {"796.9 km/s", 0, notOne}, {"+-5", 0, notOne}, {"z0.1", 0, notOne},
        {"inf", 0, notOne}, {"-nan", 0, notOne}, {"z=infinity", 0, notOne}, {"1e999", 0, notOne},
        {"-299792.458", 0, lowV}, {"-1e6", 0, lowV}, {"z=-1", 0, lowZ}, {"Z=-1.5", 0, lowZ}, {"z=1e301", 0, lowZ}};
    for (const auto& c : cases) {
        const TypedVelocity typed = ParseVelocity(c.text);
        EXPECT_EQ(typed.error, *c.why ? "\"" + std::string(c.text) + "\"" + c.why : "") << c.text;
        EXPECT_EQ(*c.why ? c.factor : RestFrameFactor(typed.velocity), c.factor) << c.text;
    }
}

TEST(VelocityEntry, ARedshiftDividesTheWavelengthsByOnePlusZToTheLastBit) {
    for (double z = -0.437; z < 0.874; z += 3e-6) ASSERT_EQ(RestFrameFactor(RedshiftVelocity(z)), 1 + z) << z;
}

TEST(VelocityEntry, TheBarTakesTheNearestWholeValueInItsRangeAndTheLabelUpToAMetrePerSecond) {
    const struct { double velocity; int bar; const char* label; } cases[] = {
        {796.9, 797, "796.9"}, {50000, kMaxVelocity, "50000"}, {-32767, kMinVelocity, "-32767"}, {2.5, 2, "2.5"},
        {kSpeedOfLight * 0.0123, 3687, "3687.447"}, {-0.0004, 0, "0"}, {-12.3456, -12, "-12.346"}};
    for (const auto& c : cases)
        EXPECT_EQ(std::tuple(VelocityBarPosition(c.velocity), VelocityText(c.velocity)), std::tuple(c.bar, c.label));
}

}  // namespace
}  // namespace wendrel::testing
