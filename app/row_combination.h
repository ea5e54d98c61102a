// The ratio and the difference of two rows as a row of its own: row B
// rebinned, conserving flux, onto row A's pixels over their overlap, with
// sigma propagated (analysis/rebinning.h), of the flux as shown. The new row
// is named "a.fits / b.fits" or "a.fits − b.fits", takes A's wavelength
// scale, velocity and continuum level (its percent values are relative to
// A's level), and is measured, exported and saved in sessions like any row;
// a session makes it again from its two rows.
#pragma once

#include <string>

#include "app/ui_hooks.h"
#include "store/workspace.h"

namespace wendrel {

// The row's name for the combination of rows named `a` and `b`.
std::string CombinedName(RowCombination kind, const std::string& a, const std::string& b);

// Makes row `target` the combination `how` of its two loaded rows (which
// must differ from it). Returns why it cannot, a sentence naming the files;
// empty when done. The view is not touched.
std::string FillCombinedRow(Workspace& ws, int target, const CombinedRows& how);

// The combination into the first empty row: the range and view are taken
// anew, the row shown and the plot drawn. Returns the message shown when it
// cannot (no empty row, a row not loaded, no overlap), empty when done.
std::string CombineIntoNextRow(Workspace& ws, const CombinedRows& how, UiHooks& ui);

}  // namespace wendrel
