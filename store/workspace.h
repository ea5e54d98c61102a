// The one workspace every window shares: ten spectrum slots, the plot view and
// geometry and the window places of the settings file. Whether a window is
// open or busy is the window's own business (app/ui_hooks.h asks it).
//
// Slots are numbered 1..10 (index 0 exists and is never used).
#pragma once

#include <array>
#include <cstdint>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "store/spectrum.h"
#include "store/value_blocks.h"

namespace wendrel {

// One row: the spectrum loaded into it, and the row's own state, which a
// load of another spectrum into the row keeps (colour and offset) or resets
// (velocity).
struct Slot : Spectrum {
    bool Loaded = false;
    int Offset = 0;         // vertical offset of the curve, in percent units
    // Radial velocity of the source in km/s, positive receding; the slot is
    // drawn in its rest frame (store/rest_frame.h). 0 after every load.
    double Velocity = 0;
    int32_t SlotColor = 0;  // red + 256 * green + 65536 * blue
};

// The settings file's fields: the two keyword names and the window places,
// in twips. Their in-class values are the defaults used when the file is
// missing or cannot be read.
struct Settings {
    std::string Lambda0Key = "CRVAL1";
    std::string DLambdaKey = "CD1_1";
    int MainLeft = 200, MainTop = 200;
    int LoadLeft = 500, LoadTop = 500;
    int HdrLeft = 500;
    double HdrTop = 500;  // kept as read: it may carry a fraction
    int HdrWidth = 3000, HdrHeight = 10000;
    int SpareLeft = 500, SpareTop = 500, SpareWidth = 3000, SpareHeight = 10000;
    int PlotWinLeft = 100, PlotWinTop = 2000, PlotWinWidth = 10000, PlotWinHeight = 1000;
    int HelpLeft = 500, HelpTop = 500, HelpWidth = 10000, HelpHeight = 500;
    int AboutLeft = 500, AboutTop = 500;

    bool operator==(const Settings&) const = default;
};

constexpr int kMaxSlots = 10;

// A line measured or fitted on the plot (plot/span_measurement.h,
// plot/span_fit.h), drawn over its curve: the span's ends at the wavelengths
// of the slot's file, so that the marks follow a change of the slot's
// velocity, and the continuum there in the file's flux units.
struct MeasuredSpan {
    int Slot = 0;  // 0: nothing measured
    double Left = 0, Right = 0;
    double LeftFlux = 0, RightFlux = 0;
    // A fit's profile sampled at FitLambda (the file's wavelengths): the
    // whole profile first, then the continuum with each component alone.
    // Empty for a measurement.
    std::vector<double> FitLambda;
    std::vector<std::vector<double>> FitCurves;
};

// Colours of the slots' curves at start, slot 1 first.
constexpr std::array<int32_t, kMaxSlots> kStartSlotColors = {
    255, 292856, 1694938, 246934, 9675008, 16752640, 16711808, 14614751, 1069248, 15};

// Starting offset of slot k: 15 * (k - 6).
constexpr int StartOffset(int slot) { return 15 * (slot - 6); }

struct Workspace : Settings {
    Workspace();

    std::array<Slot, kMaxSlots + 1> Slots;  // Slots[1] .. Slots[10]

    int CurSlot = 0;   // slot of the last Load, Unload or Hdr press
    int NumSlots = kMaxSlots;
    std::string FilePath;  // folder of the file chosen last

    // Full range of the loaded slots and the view.
    double LambdaMin = 99999;
    double LambdaMax = -99999;
    double PlotLeft = 0, PlotRight = 0;
    double PlotSpan() const { return PlotRight - PlotLeft; }
    // Earlier views (left, right), the latest last, for "Previous View"
    // (plot/view_control.h). A load or an unload clears them.
    std::vector<std::pair<double, double>> ViewHistory;

    bool DataReady = false;  // a spectrum is loaded and not all were unloaded since

    // Keys of the laboratory line sets marked on the plot (plot/line_marks.h).
    // They last for the run and are kept in no file.
    std::set<std::string> LineMarkSets;
    bool LineMarksInVacuum = false;  // the marks at vacuum wavelengths instead of air ones

    // The intensity axis: Automatic (0 to the largest maximum), FitToView
    // (the lowest to the highest value of the curves in the view, following
    // every view change) or Fixed (IntensityLow .. IntensityHigh).
    enum class IntensityRange { Automatic, FitToView, Fixed };
    IntensityRange Intensity = IntensityRange::Automatic;
    double IntensityLow = 0, IntensityHigh = 100;
    bool ScaleFlux = false;   // curves in the file's flux units instead of percent of the continuum level
    bool ShowLegend = false;  // a legend of the loaded slots inside the box
    int PickedSlot = 0;       // the slot a legend click picked for the read-out; 0: the nearest curve
    MeasuredSpan Measured;    // the line measured last; a load or an unload forgets it

    Slot& slot(int i) { return Slots.at(static_cast<size_t>(i)); }
    const Slot& slot(int i) const { return Slots.at(static_cast<size_t>(i)); }
};

}  // namespace wendrel
