// What the plot shows of the loaded rows: the full wavelength range and the
// view within it, the intensity axis, the scale, the legend, the line marks
// and the line measured last. The plot's size is the surface's it draws on.
#pragma once

#include <set>
#include <string>
#include <utility>
#include <vector>

#include "store/plot_look.h"
#include "store/wavelength_unit.h"

namespace wendrel {

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

struct PlotView {
    // Full range of the loaded slots and the view.
    double LambdaMin = 99999;
    double LambdaMax = -99999;
    double PlotLeft = 0, PlotRight = 0;
    double PlotSpan() const { return PlotRight - PlotLeft; }
    // Earlier views (left, right), the latest last, for "Previous View"
    // (plot/view_control.h). A load or an unload clears them.
    std::vector<std::pair<double, double>> ViewHistory;

    // Keys of the laboratory line sets marked on the plot (plot/line_marks.h).
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
    bool ShowUncertainties = false;  // the +-1 sigma band under the curves of rows with uncertainties
    // The unit of the axis labels, the read-out and exports; the view's range stays in Angstroms.
    WavelengthUnit XUnit = WavelengthUnit::Angstrom;
    // The rest wavelength (Angstroms, in the medium of the line marks) of a velocity axis in km/s
    // about it, each row in its rest frame; 0: the axis shows wavelengths.
    double VelocityRestLambda = 0;
    // One rest wavelength per row (index slot - 1, same medium) on a velocity axis; a row beyond
    // the list or with 0 takes VelocityRestLambda. Each row is drawn stretched by Row::AxisScale.
    std::vector<double> VelocityRowRest;
    int PickedSlot = 0;       // the slot a legend click picked for the read-out; 0: the nearest curve
    MeasuredSpan Measured;    // the line measured last; a load or an unload forgets it
    PlotLook Look;
};

}  // namespace wendrel
