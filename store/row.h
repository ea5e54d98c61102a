// One of the ten slot rows: its colour, offset and velocity, and the spectrum
// loaded into it, if any. A load of another spectrum into the row keeps its
// colour and offset and resets its velocity.
#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <optional>

#include "store/row_derivation.h"
#include "store/spectrum.h"

namespace wendrel {

constexpr int kMaxSlots = 10;

struct Row {
    // The spectrum shown in the row; none when the row is empty. Spectra are
    // never changed once loaded, so rows, pictures and sessions may share one.
    std::shared_ptr<const Spectrum> Data;
    int Offset = 0;         // vertical offset of the curve, in percent units
    // Radial velocity of the source in km/s, positive receding; the row is
    // drawn in its rest frame (store/rest_frame.h). 0 after every load.
    double Velocity = 0;
    // How much wider the row is drawn than its rest frame: 1, or on a velocity
    // axis with one rest wavelength per row the axis's rest wavelength over the
    // row's own (app/velocity_axis_rows.h sets it), so that each row's line lies
    // at the axis's velocity 0.
    double AxisScale = 1;
    int32_t SlotColor = 0;  // red + 256 * green + 65536 * blue
    // A smoothed row: Data holds the smoothed spectrum, Unsmoothed the file's.
    std::optional<Smoothing> Smoothed;
    std::shared_ptr<const Spectrum> Unsmoothed;
    // A row made from two others (a ratio or a difference); Kind None for a file's.
    CombinedRows Combined;

    bool Loaded() const { return Data != nullptr; }
    // Empties the row; it keeps its colour, offset and velocity.
    void Empty() {
        Data.reset();
        Unsmoothed.reset();
        Smoothed.reset();
        Combined = {};
    }
    // The loaded spectrum (only for a loaded row), also as row->Flux and the like.
    const Spectrum& spectrum() const { return *Data; }
    const Spectrum* operator->() const { return Data.get(); }
};

// Colours of the slots' curves at start, slot 1 first.
constexpr std::array<int32_t, kMaxSlots> kStartSlotColors = {
    255, 292856, 1694938, 246934, 9675008, 16752640, 16711808, 14614751, 1069248, 15};

// Starting offset of slot k: 15 * (k - 6).
constexpr int StartOffset(int slot) { return 15 * (slot - 6); }

}  // namespace wendrel
