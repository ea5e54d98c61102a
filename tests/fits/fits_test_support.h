// A fixture that writes FITS files into a fresh folder and loads them into a workspace with a recording UI.
#pragma once

#include <gtest/gtest.h>
#include <filesystem>
#include <numeric>
#include <optional>
#include <string>
#include <vector>

#include "app/slot_loading.h"
#include "tests/robustness/workspace_difference.h"
#include "tests/support/fits_writer.h"
#include "tests/support/recording_ui.h"
#include "tests/support/temp_folder.h"

namespace wendrel::testing {

// A ramp of n positive values, so that every load of it succeeds.
inline std::vector<double> Ramp(size_t n, double first = 1) {
    std::vector<double> v(n);
    std::iota(v.begin(), v.end(), first);
    return v;
}

// A float spectrum with the usual header, CRVAL1 and CD1_1 as given, and the extra cards.
inline std::string FloatSpectrum(std::vector<double> values, std::vector<std::string> extraCards = {},
                                 std::optional<double> crval1 = 4000, std::optional<double> cd1_1 = 1) {
    return SpectrumBytes({-32, std::move(values), {}, {}, {}, crval1, cd1_1, std::move(extraCards)});
}

class FitsFileTest : public ::testing::Test {
protected:
    std::filesystem::path Write(std::string_view bytes, const std::string& name = "spectrum.fits") {
        return temp_.Write(name, bytes);
    }
    // Loads a file as the file chooser would; the messages and events of earlier loads are dropped.
    bool LoadFile(const std::filesystem::path& file, int slot = 1) {
        const bool plotShown = ui_.plotShown;
        ui_ = RecordingUi();
        ui_.plotShown = plotShown;
        return LoadIntoSlot(ws_, slot, file, ui_);
    }
    bool Load(std::string_view bytes, int slot = 1, const std::string& name = "spectrum.fits") {
        return LoadFile(Write(bytes, name), slot);
    }
    // Expects a refused load into slot 1 whose last message holds `mentions`, changing nothing but FilePath.
    void ExpectRefusedFile(const std::filesystem::path& file, const std::string& mentions) {
        SCOPED_TRACE(mentions);
        Workspace expected = ws_;
        expected.FilePath = file.parent_path().string();
        EXPECT_FALSE(LoadFile(file));
        EXPECT_EQ(WorkspaceDifference(expected, ws_), "");
        EXPECT_TRUE(ui_.events.empty());
        ASSERT_FALSE(ui_.messages.empty());
        EXPECT_NE(ui_.messages.back().find(mentions), std::string::npos) << ui_.messages.back();
    }
    void ExpectRefused(std::string_view bytes, const std::string& mentions) { ExpectRefusedFile(Write(bytes), mentions); }
    const Row& S(int slot = 1) const { return ws_.slot(slot); }

    TempFolder temp_;
    const std::filesystem::path dir_ = temp_.path();
    Workspace ws_;
    RecordingUi ui_;
};

}  // namespace wendrel::testing
