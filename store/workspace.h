// The one workspace every window shares: ten spectrum slots, the plot view and
// geometry and the window places of the settings file. Whether a window is
// open or busy is the window's own business (app/ui_hooks.h asks it).
//
// Slots are numbered 1..10 (index 0 exists and is never used). Inside a slot,
// pixels and header cards are numbered from 1 in the program's vocabulary but
// are stored 0-based: pixel p is Flux[p - 1], card k is HdrCard[k - 1].
#pragma once

#include <array>
#include <cstdint>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "store/value_blocks.h"

namespace wendrel {

// One spectrum with its header, as the FITS reader leaves it.
struct Slot {
    std::string FileName;    // name of the loaded file, without folder, as its row shows it
    // The file the spectrum was read from, as an absolute path, and the
    // spectrum's number in it (1 for a file of one spectrum), from which a
    // session opens it again. Set when the load commits.
    std::string SourcePath;
    int64_t NumberInFile = 1;
    bool Loaded = false;
    std::string ObjectName;  // OBJECT value without its quotes

    // Keyword values as read from the header.
    double Bitpix = 0;
    double Naxis1 = 0;  // number of pixels
    double Bzero = 0;
    // Wavelengths in Angstroms, rising with the pixel number: a file whose
    // wavelengths fall is stored with its pixels in reverse order.
    double Lambda0 = 0;  // wavelength at the centre of pixel 1
    double DLambda = 0;  // wavelength step per pixel; the mean step on a scale that is not linear

    double LambdaStart = 0;  // where pixel 1 starts: half a step below its centre
    double LambdaEnd = 0;    // where the last pixel ends: half a step above its centre

    // How the wavelengths run along the pixels: "linear", "log-linear" or
    // "multispec" (see fits/dispersion.h).
    std::string Dispersion = "linear";
    // On a scale that is not linear, the wavelength of each pixel's centre
    // (Naxis1 values) and of its edges (Naxis1 + 1 values, strictly rising):
    // pixel p is centred at PixelCentre[p - 1] and covers PixelEdge[p - 1] ..
    // PixelEdge[p]. Both are empty on a linear scale, where pixel p is centred
    // at Lambda0 + (p - 1) * DLambda and covers half a step either side.
    std::vector<double> PixelCentre;
    std::vector<double> PixelEdge;
    // Whether the wavelengths are measured in "air" or in "vacuum", as far as
    // the file tells; empty when it does not.
    std::string Medium;
    // The unit of the Flux values as the file names it (a table's TUNIT of
    // the flux column, else BUNIT of the spectrum's header, else of the
    // primary header); empty when it names none.
    std::string FluxUnit;

    std::vector<double> Flux;     // decoded pixel values; NaN marks a blank pixel
    double FluxMax = 0;           // largest finite Flux value
    double Level = 0;             // continuum level
    std::vector<double> FluxPct;  // 100 * Flux / Level; NaN where Flux is blank
    double PctMax = 0;            // largest FluxPct, at least -9999
    // The extremes of Flux and of FluxPct per kValueBlock pixels
    // (BlockExtentsOf), for the plot's intensity range and dense curves.
    std::vector<ValueExtent> FluxBlocks, PctBlocks;

    int Offset = 0;         // vertical offset of the curve, in percent units
    // Radial velocity of the source in km/s, positive receding; the slot is
    // drawn in its rest frame (store/rest_frame.h). 0 after every load.
    double Velocity = 0;
    int32_t SlotColor = 0;  // red + 256 * green + 65536 * blue

    // Header cards before END, 80 characters each.
    std::vector<std::string> HdrCard;
    int NumCards = 0;
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

// A line measured on the plot (plot/span_measurement.h), drawn over its
// curve: the span's ends at the wavelengths of the slot's file, so that the
// marks follow a change of the slot's velocity, and the continuum there in
// the file's flux units.
struct MeasuredSpan {
    int Slot = 0;  // 0: nothing measured
    double Left = 0, Right = 0;
    double LeftFlux = 0, RightFlux = 0;
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
