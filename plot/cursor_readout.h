// The wavelength and intensity under the mouse cursor, read from the plot
// box that the last redraw laid out, and the spectrum whose curve lies
// nearest to it.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "plot/redraw_layout.h"
#include "store/workspace.h"

namespace wendrel {

enum class MousePointer { Arrow = 1, Cross = 2 };

struct CursorReadout {
    // Inside the plot box: the cross pointer and fresh read-outs. Outside
    // (a point on the box's edge counts as outside): the arrow, and the
    // read-out labels keep what they show.
    bool Inside = false;
    MousePointer Pointer = MousePointer::Arrow;
    float Wavelength = 0;  // Angstroms
    float Intensity = 0;   // the intensity axis's value, in the shown scale
    // The wavelength in the view's unit (plot/x_axis_mapping.h), with as many
    // decimals as tell apart the values of two neighbouring screen pixels
    // (WavelengthReadoutText, plot/readout_digits.h).
    std::string WavelengthCaption;
    // Percent of the continuum: 8 characters, no decimals. Flux: SignificantText.
    std::string IntensityCaption;
    // The curve read-out (CurveCaption) at the cursor's wavelength and
    // height; empty where no curve has a pixel.
    std::string CurveCaption;
    std::string CurveName;  // the name that starts CurveCaption, which a narrow label may shorten
    int CurveSlot = 0;      // the slot CurveCaption reads; 0 for none
};

// x and y are twips on the plot window's drawing surface, of `twipsPerPixel`
// twips a screen pixel. A box of no width or height has no inside, so
// nothing divides by its size.
CursorReadout ReadCursor(const Workspace& ws, const PlotLayout& layout, float x, float y, double twipsPerPixel = 15);

// The wavelength at x and the intensity at y of the laid-out plot, for points
// beyond the box at its nearest edge (a drag let go outside the box).
double WavelengthAt(const Workspace& ws, const PlotLayout& layout, double x);
double IntensityAt(const PlotLayout& layout, double y);

// A slot's pixel at a wavelength of the plot's axis.
struct CurvePoint {
    int Slot = 0;
    int64_t Pixel = 0;  // 1-based
    double Centre = 0;  // the pixel's centre on the plot's axis (the slot's rest frame)
    double Value = 0;   // in the shown scale, without the slot's offset
};

// The pixel at `wavelength` of the slot picked in the legend (PickedSlot),
// while it is loaded; otherwise of the loaded slot whose curve, as drawn
// (offset included), is nearest to `intensity` there, the lower slot number
// on a tie. Blank pixels and slots without a pixel there take no part; none
// when no slot is left.
std::optional<CurvePoint> NearestCurve(const Workspace& ws, double wavelength, double intensity);

// "HD 1234  6562.82  98.6": the slot's object name (its file name when it
// has none), the pixel's centre in the view's unit with `decimals` decimals and its value,
// percent with one decimal, flux as SignificantText.
std::string CurveCaption(const Workspace& ws, const CurvePoint& point, int decimals);

// The slot of the legend entry at (x, y) in twips; 0 off the legend.
int LegendSlotAt(const PlotLayout& layout, double x, double y);

}  // namespace wendrel
