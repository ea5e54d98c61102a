// The velocity axis's rest wavelengths as the View menu, sessions and
// wendrel-info set them: one for every row, or one per row. The axis is
// labelled v = c (x / lambda0 - 1) about the view's rest wavelength lambda0
// (PlotView::VelocityRestLambda). A row with a rest wavelength lambda_i of its
// own (PlotView::VelocityRowRest) is drawn stretched by lambda0 / lambda_i
// (Row::AxisScale): its pixel at rest wavelength lambda lies at x = lambda
// lambda0 / lambda_i, so the axis shows it at c (lambda / lambda_i - 1), its
// velocity about its own line, and the lines of all rows meet at 0.
#pragma once

#include <string>
#include <vector>

#include "store/workspace.h"

namespace wendrel {

// Sets the axis about `common` (0: a wavelength axis, and the rows' own are
// dropped) with the rows' own rest wavelengths `perRow` (index slot - 1; 0 or
// beyond the list: `common`), then each row's AxisScale as ApplyVelocityAxis.
void SetVelocityAxis(Workspace& ws, double common, std::vector<double> perRow);

// Sets each row's AxisScale from the view's rest wavelengths. When one
// changes, the full range is recomputed and shown, and the earlier views are
// forgotten (they lie elsewhere on the new axis). Returns whether one changed.
bool ApplyVelocityAxis(Workspace& ws);

// Rest wavelengths in Angstroms separated by commas, each above 0; sets
// `rests` and returns an empty text, or returns why the text is refused.
std::string ReadVelocityRests(const std::string& typed, std::vector<double>& rests);

// A line of the Lines menu's sets that a row's rest wavelength can be picked
// from: "H-alpha 6562.80 A", at its wavelength in the medium the marks show.
struct PickableLine {
    std::string Caption;
    double Wavelength = 0;
};
std::vector<PickableLine> PickableLines(const Workspace& ws);

}  // namespace wendrel
