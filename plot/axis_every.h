// The axes of the "Label Every Tick" look: grid and ticks at every major
// tick, minor ticks between them, a label at every major tick (or every
// LabelStride-th, so that labels keep apart with the surface's own font),
// and axis titles with units and the axis's shared exponent.
#pragma once

#include <string>

#include "plot/axis_labels.h"
#include "plot/plot_surface.h"
#include "store/workspace.h"

namespace wendrel {

// Whether any loaded row is shifted down by its offset in the flux scale.
bool CurvesOffsetInFlux(const Workspace& ws);

// "Wavelength (Å)", with ", rest frame of each row" when a loaded row has a velocity.
std::string WavelengthTitle(const Workspace& ws);

// "Flux (UNIT)" (FluxTitle), with ", curves offset" when CurvesOffsetInFlux;
// "Percent of continuum" in percent.
std::string IntensityTitle(const Workspace& ws);

// The box and the axes' ranges, in twips.
struct AxesFrame {
    double x0 = 0, x1 = 0, y0 = 0, y1 = 0;
    double curveWidth = 0;  // x1 - x0 + 1: the curves' mapping of the view
    double left = 0, right = 0;  // the view's wavelengths
    double yMin = 0, yMax = 0;
};

// The intensity axis's labelling for a box about `boxHeight` twips high.
AxisLabelling IntensityLabelling(double yMin, double yMax, double boxHeight);

// The widest label text of the axis.
double WidestLabel(const AxisLabelling& axis, const PlotSurface& surface);

// Where the texts stand: tick labels this far from the box, titles this far from the labels.
constexpr double kAxisLabelGap = 100;

// Draws grid, ticks, labels and titles of both axes; the intensity title left-aligned at
// (titleLeft, titleBaseline). Returns the lowest twip any text reaches.
double DrawEveryTickAxes(const Workspace& ws, const AxesFrame& frame, const AxisLabelling& intensity,
                         double titleLeft, double titleBaseline, PlotSurface& surface);

}  // namespace wendrel
