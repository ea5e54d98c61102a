// A line measured by a drag with Ctrl across the plot: the slot it is
// measured on, the span kept for the plot, and the measurement panel's text.
#pragma once

#include <string>

#include "plot/line_measure.h"
#include "store/workspace.h"

namespace wendrel {

struct SpanMeasurement {
    std::string Refusal;  // why nothing was measured, for a message box; empty when measured
    std::string Text;     // the measurement panel's text
    std::string Copied;   // what Copy puts on the clipboard: MeasurementTable
};

// The unit of a line's flux: the file's flux unit times Angstroms,
// "erg/s/cm2/A × Å" ("flux × Å" where the file names no unit).
std::string LineFluxUnit(const std::string& fluxUnit);

// Measures the line between `from` and `to`, wavelengths of the plot's axis,
// on the slot NearestCurve finds at the drag's start (from, startIntensity):
// the slot picked in the legend, else the nearest curve. On success keeps the
// span in ws.View.Measured; on a refusal leaves the workspace as it was.
// The row is measured in its rest frame: on a velocity axis with one rest
// wavelength per row the span is taken back from the axis by the row's
// AxisScale, so that centroids and widths are the row's own Angstroms.
SpanMeasurement MeasureDraggedSpan(Workspace& ws, double from, double to, double startIntensity,
                                   const ContinuumChoice& continuum = {});

// Measures the span kept in ws.View.Measured again, with another continuum.
SpanMeasurement MeasureKeptSpan(Workspace& ws, const ContinuumChoice& continuum);

// What the panels add to "Errors from the file's pixel errors" for a row
// smoothed by a boxcar or a Gaussian; empty for any other row.
std::string SmoothedErrorsText(const Row& s);

// The measurement as the panel shows it, one quantity a line: wavelengths
// and widths in the row's rest frame with 3 decimals in Å, the other numbers with
// 6 significant digits, each error with 2, "none" where there is none.
std::string MeasurementText(const Row& s, const LineMeasurement& m);

// The measurement as Copy puts it: tab-separated lines under the header
// "quantity, value, error, unit", numbers with 10 significant digits, empty
// cells where there is no value or no error.
std::string MeasurementTable(const Row& s, const LineMeasurement& m);

}  // namespace wendrel
