// Lines fitted by a drag with Shift and Ctrl across the plot: the slot they
// are fitted on, the profile kept for the plot, and the panel's table.
#pragma once

#include <string>

#include "plot/line_fit.h"
#include "store/workspace.h"

namespace wendrel {

struct SpanFit {
    std::string Refusal;  // why nothing was fitted, for a message box; empty when fitted
    std::string Text;     // the panel's text: the fit and a table of its components
    std::string Copied;   // the table as Copy puts it on the clipboard: tab-separated, a header line first
};

// Fits the components between `from` and `to`, wavelengths of the plot's
// axis, on the slot NearestCurve finds at (from, startIntensity). On success
// keeps the span and the sampled profile in ws.View.Measured; on a refusal leaves
// the workspace as it was.
SpanFit FitDraggedSpan(Workspace& ws, double from, double to, double startIntensity, LineProfile profile,
                       int components);

// Fits the span kept in ws.View.Measured again, with another profile or number of components.
SpanFit FitKeptSpan(Workspace& ws, LineProfile profile, int components);

// The panel's text and the copied table of a fit on the slot: wavelengths
// and widths with 3 decimals, other numbers with 6 significant digits,
// errors with 2; the copied numbers with 10 significant digits.
SpanFit FitText(const Row& s, const LineFit& fit);

}  // namespace wendrel
