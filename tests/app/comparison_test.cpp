// Rows compared: velocities found by cross-correlation applied as typed ones,
// a smoothed row beside its file's spectrum, and a ratio row made from two
// rows and made again by a session.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <filesystem>

#include "analysis/velocity_axis.h"
#include "app/row_combination.h"
#include "app/row_smoothing.h"
#include "app/session_file.h"
#include "app/slot_loading.h"
#include "app/slot_rows.h"
#include "app/velocity_search.h"
#include "tests/support/fits_writer.h"
#include "tests/support/recording_ui.h"
#include "tests/support/temp_folder.h"

namespace wendrel::testing {
namespace {

namespace fs = std::filesystem;

// 4000 pixels from 4000 A in steps of 0.5 A, a continuum of 100 with 30
// absorption lines, the source receding at `velocity` km/s.
SpectrumFile LineSpectrum(double velocity, const char* object) {
    SpectrumFile s;
    s.cd1_1 = 0.5;
    s.object = object;
    for (int p = 0; p < 4000; ++p) {
        const double rest = (4000 + 0.5 * p) / (1 + velocity / kSpeedOfLightKms);
        double flux = 100;
        for (int k = 0; k < 30; ++k) {
            const double centre = 4050 + 63.7 * k + 9 * std::sin(k * 1.7);
            flux -= (20 + 15 * std::cos(k)) * std::exp(-0.5 * std::pow((rest - centre) / 1.2, 2));
        }
        s.stored.push_back(flux);
    }
    return s;
}

class Comparison : public ::testing::Test {
protected:
    Comparison() {
        WriteFileBytes(temp.path() / "a.fits", SpectrumBytes(LineSpectrum(0, "G1")));
        WriteFileBytes(temp.path() / "b.fits", SpectrumBytes(LineSpectrum(1000, "G2")));
        EXPECT_TRUE(LoadIntoSlot(ws, 1, temp.path() / "a.fits", ui));
        EXPECT_TRUE(LoadIntoSlot(ws, 2, temp.path() / "b.fits", ui));
    }
    TempFolder temp;
    Workspace ws;
    RecordingUi ui;
};

TEST_F(Comparison, FoundVelocitiesComposeWithTheTemplatesAndApplyAsTypedOnes) {
    ws.slot(1).Velocity = 500;
    const std::vector<FoundVelocity> found = FindVelocities(ws, 1, {2, 1, 3}, {});
    ASSERT_EQ(found.size(), 3u);
    const double expected = kSpeedOfLightKms * ((1 + 500 / kSpeedOfLightKms) * (1 + 1000 / kSpeedOfLightKms) - 1);
    EXPECT_NEAR(found[0].Result.VelocityKms, expected, 3);
    EXPECT_NE(found[1].Result.Refusal.find("template itself"), std::string::npos);
    EXPECT_NE(found[2].Result.Refusal.find("Row 3"), std::string::npos);

    ws.DataReady = true;
    ui.events.clear();
    EXPECT_EQ(ApplyVelocities(ws, found, ui), 1);
    EXPECT_EQ(ws.slot(2).Velocity, found[0].Result.VelocityKms);
    EXPECT_EQ(ws.slot(1).Velocity, 500);
    EXPECT_EQ(ui.events, (std::vector<std::string>{"redraw", "show row 2"}));
}

TEST_F(Comparison, SmoothedRowKeepsTheFileSpectrumAndNamesTheKernel) {
    const std::shared_ptr<const Spectrum> file = ws.slot(2).Data;
    ASSERT_EQ(SmoothRow(ws, 2, Smoothing{SmoothingKernel::GaussianVelocity, 150}), "");
    const Row& row = ws.slot(2);
    EXPECT_EQ(row.Unsmoothed, file);
    EXPECT_EQ(row->ObjectName, "G2 (FWHM 150 km/s)");
    EXPECT_EQ(row->Level, file->Level);
    ASSERT_EQ(row->Flux.size(), file->Flux.size());
    EXPECT_NE(row->Flux, file->Flux);
    for (size_t p = 0; p < row->Flux.size(); p += 97) EXPECT_DOUBLE_EQ(row->FluxPct[p], 100 * row->Flux[p] / row->Level);

    // Smoothing again starts from the file's pixels, and None gives them back.
    ASSERT_EQ(SmoothRow(ws, 2, Smoothing{SmoothingKernel::Boxcar, 1}), "");
    EXPECT_EQ(ws.slot(2)->Flux, file->Flux);
    ASSERT_EQ(SmoothRow(ws, 2, std::nullopt), "");
    EXPECT_EQ(ws.slot(2).Data, file);
    EXPECT_FALSE(ws.slot(2).Unsmoothed);
}

TEST_F(Comparison, RatioRowOfTwoRowsIsMadeAgainBySessions) {
    ASSERT_EQ(SmoothRow(ws, 1, Smoothing{SmoothingKernel::Median, 5}), "");
    ASSERT_EQ(CombineIntoNextRow(ws, {RowCombination::Ratio, 2, 1}, ui), "");
    const Row& ratio = ws.slot(3);
    ASSERT_TRUE(ratio.Loaded());
    EXPECT_EQ(ratio->FileName, "b.fits / a.fits");
    for (size_t p = 10; p < ratio->Flux.size(); p += 211) {
        EXPECT_NEAR(ratio->Flux[p], ws.slot(2)->Flux[p] / ws.slot(1)->Flux[p], 1e-12);
        // the ratio of the two rows' percent values: 100 % where both lie at their continua
        EXPECT_NEAR(ratio->FluxPct[p], 100 * ws.slot(2)->FluxPct[p] / ws.slot(1)->FluxPct[p], 1e-9);
    }

    const fs::path file = temp.path() / "s.wendrel";
    ASSERT_EQ(WriteSessionFile(file, ws), "");
    Workspace reopened;
    RecordingUi quiet;
    EXPECT_EQ(OpenSession(reopened, *ReadSessionFile(file).session, file, quiet), 3);
    EXPECT_TRUE(quiet.messages.empty());
    EXPECT_EQ(reopened.slot(1).Smoothed, ws.slot(1).Smoothed);
    EXPECT_EQ(reopened.slot(3).Combined, ratio.Combined);
    EXPECT_EQ(reopened.slot(3)->FileName, "b.fits / a.fits");
    EXPECT_EQ(reopened.slot(3)->Flux, ratio->Flux);  // made again from row 2 and the smoothed row 1
    EXPECT_EQ(reopened.slot(3)->FluxPct, ratio->FluxPct);
}

// A ratio row follows its rows: made again when one is smoothed or takes
// another file, with its own smoothing and velocity; emptied with them.
TEST_F(Comparison, RatioRowFollowsTheRowsItIsMadeFrom) {
    ASSERT_EQ(CombineIntoNextRow(ws, {RowCombination::Ratio, 2, 1}, ui), "");
    ASSERT_EQ(SmoothRow(ws, 3, Smoothing{SmoothingKernel::Boxcar, 3}), "");
    ws.slot(3).Velocity = 250;
    ASSERT_EQ(SmoothRowAndFollow(ws, 1, Smoothing{SmoothingKernel::Boxcar, 9}, ui), "");
    const auto expectRatioOfShownRows = [&] {
        Workspace fresh = ws;
        fresh.slot(3).Empty();
        ASSERT_EQ(FillCombinedRow(fresh, 3, {RowCombination::Ratio, 2, 1}), "");
        ASSERT_EQ(SmoothRow(fresh, 3, Smoothing{SmoothingKernel::Boxcar, 3}), "");
        EXPECT_EQ(ws.slot(3)->Flux, fresh.slot(3)->Flux);
        EXPECT_EQ(ws.slot(3).Smoothed, fresh.slot(3).Smoothed);
        EXPECT_EQ(ws.slot(3).Velocity, 250);
    };
    expectRatioOfShownRows();

    WriteFileBytes(temp.path() / "c.fits", SpectrumBytes(LineSpectrum(-400, "G3")));
    ASSERT_TRUE(LoadIntoSlot(ws, 2, temp.path() / "c.fits", ui));
    EXPECT_EQ(ws.slot(3)->FileName, "c.fits / a.fits");
    expectRatioOfShownRows();

    ASSERT_EQ(CombineIntoNextRow(ws, {RowCombination::Difference, 3, 2}, ui), "");  // row 4, made from row 3
    ui.events.clear();
    UnloadSlot(ws, 1, ui);
    EXPECT_FALSE(ws.slot(3).Loaded());
    EXPECT_FALSE(ws.slot(4).Loaded());
    EXPECT_TRUE(ws.slot(2).Loaded());
    EXPECT_EQ(std::count(ui.events.begin(), ui.events.end(), "hide row 4"), 1);
}

}  // namespace
}  // namespace wendrel::testing
