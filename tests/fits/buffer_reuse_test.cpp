// The reader reuses the pixel buffers of replaced spectra. Whatever was
// loaded before, a slot must end up with exactly what a fresh workspace gets
// from the same file.
#include <gtest/gtest.h>

#include <limits>

#include "tests/fits/fits_test_support.h"

namespace wendrel::testing {
namespace {

class BufferReuseTest : public FitsFileTest {
protected:
    // What a workspace that never loaded anything holds after loading `name`.
    Slot FreshLoad(const std::string& name) {
        Workspace fresh;
        RecordingUi ui;
        EXPECT_TRUE(LoadIntoSlot(fresh, 1, dir_ / name, ui));
        return fresh.slot(1);
    }

    void ExpectAsFresh(int slot, const std::string& name) {
        const Slot expected = FreshLoad(name);
        const Slot& actual = S(slot);
        EXPECT_TRUE(SameValues(actual.Flux, expected.Flux)) << name << " in slot " << slot;
        EXPECT_TRUE(SameValues(actual.FluxPct, expected.FluxPct)) << name << " in slot " << slot;
        EXPECT_EQ(actual.Level, expected.Level);
        EXPECT_EQ(actual.PctMax, expected.PctMax);
        EXPECT_EQ(actual.Naxis1, expected.Naxis1);
    }
};

TEST_F(BufferReuseTest, EverySequenceOfLargeAndSmallSpectraGivesFreshResults) {
    std::vector<double> large = Ramp(120'003, 5);
    large[7] = std::numeric_limits<double>::quiet_NaN();
    Write(FloatSpectrum(large), "large.fits");
    Write(FloatSpectrum(Ramp(77, 40)), "small.fits");
    Write(FloatSpectrum(Ramp(8193, 2)), "middle.fits");

    const struct { const char* file; int slot; } sequence[] = {
        {"large.fits", 1}, {"small.fits", 1}, {"middle.fits", 2}, {"large.fits", 2},
        {"small.fits", 3}, {"large.fits", 1}, {"middle.fits", 1}, {"small.fits", 2},
    };
    for (const auto& step : sequence) {
        ASSERT_TRUE(LoadNamed(step.file, step.slot)) << step.file;
        ExpectAsFresh(step.slot, step.file);
    }
    ExpectAsFresh(1, "middle.fits");
    ExpectAsFresh(2, "small.fits");
    ExpectAsFresh(3, "small.fits");
}

TEST_F(BufferReuseTest, RefusedLoadAfterALargeOneKeepsEverySlotIntact) {
    Write(FloatSpectrum(Ramp(100'000, 3)), "large.fits");
    Write(FloatSpectrum(Ramp(60, 1)), "small.fits");
    Write(FloatSpectrum(std::vector<double>(500, -1.0)), "negative.fits");  // level 0: refused
    ASSERT_TRUE(LoadNamed("large.fits", 1));
    ASSERT_TRUE(LoadNamed("small.fits", 2));
    ASSERT_TRUE(LoadNamed("large.fits", 2));  // slot 2's small buffers become the spare
    const Slot before1 = S(1);
    const Slot before2 = S(2);

    EXPECT_FALSE(LoadNamed("negative.fits", 1));
    ExpectSameSlot(S(1), before1);
    ExpectSameSlot(S(2), before2);

    ASSERT_TRUE(LoadNamed("small.fits", 3));
    ExpectAsFresh(3, "small.fits");
    ExpectSameSlot(S(1), before1);
    ExpectSameSlot(S(2), before2);
}

}  // namespace
}  // namespace wendrel::testing
