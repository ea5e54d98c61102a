// A fixture that writes FITS files into a fresh folder and loads them into
// a workspace with a recording UI.
#pragma once

#include <gtest/gtest.h>
#include <unistd.h>

#include <atomic>
#include <cmath>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "app/slot_loading.h"
#include "fits/fits_reader.h"
#include "store/workspace.h"
#include "tests/support/fits_writer.h"
#include "tests/support/recording_ui.h"

namespace wendrel::testing {

inline std::filesystem::path FreshFolder(std::string_view purpose) {
    static std::atomic<int> counter{0};
    const auto dir = std::filesystem::temp_directory_path() /
                     ("wendrel-" + std::string(purpose) + "-" + std::to_string(::getpid()) + "-" +
                      std::to_string(counter++));
    std::filesystem::remove_all(dir);
    std::filesystem::create_directories(dir);
    return dir;
}

// Bytes of a float spectrum with the usual header, optionally with extra cards.
inline std::string FloatSpectrum(std::vector<double> values, std::vector<std::string> extraCards = {}) {
    SpectrumFile s;
    s.stored = std::move(values);
    s.extraCards = std::move(extraCards);
    return SpectrumBytes(s);
}

// A ramp of n positive values, so that every load of it succeeds.
inline std::vector<double> Ramp(size_t n, double first = 1) {
    std::vector<double> v(n);
    for (size_t i = 0; i < n; ++i) v[i] = first + static_cast<double>(i);
    return v;
}

// Equality of two doubles that counts two NaNs as equal.
inline bool SameValue(double a, double b) { return (std::isnan(a) && std::isnan(b)) || a == b; }

inline bool SameValues(const std::vector<double>& a, const std::vector<double>& b) {
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i)
        if (!SameValue(a[i], b[i])) return false;
    return true;
}

// Every field of a slot, for checking that a refused load changed nothing.
inline void ExpectSameSlot(const Slot& a, const Slot& b) {
    EXPECT_EQ(a.FileName, b.FileName);
    EXPECT_EQ(a.Loaded, b.Loaded);
    EXPECT_EQ(a.ObjectName, b.ObjectName);
    EXPECT_TRUE(SameValue(a.Bitpix, b.Bitpix));
    EXPECT_TRUE(SameValue(a.Naxis1, b.Naxis1));
    EXPECT_TRUE(SameValue(a.Bzero, b.Bzero));
    EXPECT_TRUE(SameValue(a.Lambda0, b.Lambda0));
    EXPECT_TRUE(SameValue(a.DLambda, b.DLambda));
    EXPECT_TRUE(SameValue(a.LambdaStart, b.LambdaStart));
    EXPECT_TRUE(SameValue(a.LambdaEnd, b.LambdaEnd));
    EXPECT_TRUE(SameValues(a.Flux, b.Flux));
    EXPECT_TRUE(SameValue(a.Level, b.Level));
    EXPECT_TRUE(SameValues(a.FluxPct, b.FluxPct));
    EXPECT_TRUE(SameValue(a.PctMax, b.PctMax));
    EXPECT_EQ(a.Offset, b.Offset);
    EXPECT_EQ(a.SlotColor, b.SlotColor);
    EXPECT_EQ(a.HdrCard, b.HdrCard);
    EXPECT_EQ(a.NumCards, b.NumCards);
}

class FitsFileTest : public ::testing::Test {
protected:
    void SetUp() override { dir_ = FreshFolder("fits"); }
    void TearDown() override { std::filesystem::remove_all(dir_); }

    std::filesystem::path Write(std::string_view bytes, const std::string& name = "spectrum.fits") {
        const auto path = dir_ / name;
        WriteFileBytes(path, bytes);
        return path;
    }

    // Loads a file of the test's folder into a slot, as the file chooser would.
    bool LoadNamed(const std::string& name, int slot = 1) {
        return LoadIntoSlot(ws_, slot, dir_ / name, ui_);
    }

    // Writes the bytes and loads them; the messages of earlier loads are dropped.
    bool Load(std::string_view bytes, int slot = 1, const std::string& name = "spectrum.fits") {
        Write(bytes, name);
        ui_.messages.clear();
        ui_.events.clear();
        return LoadNamed(name, slot);
    }

    const Slot& S(int slot = 1) const { return ws_.slot(slot); }

    std::filesystem::path dir_;
    Workspace ws_;
    RecordingUi ui_;
};

}  // namespace wendrel::testing
