// The ratio and the difference of two rows as a row of its own: row B
// rebinned, conserving flux, onto row A's pixels over their overlap, with
// sigma propagated (analysis/rebinning.h), of the flux as shown. The new row
// is named "a.fits / b.fits" or "a.fits − b.fits", takes A's wavelength
// scale and velocity, and is measured, exported and saved in sessions like
// any row; a session makes it again from its two rows. A difference's
// percent values are relative to A's continuum level, a ratio's to A's level
// over B's, so that where both rows lie at their continua the ratio reads
// 100 %. A row made from others follows them: it is made again when one of
// them takes another spectrum or is smoothed, and emptied with them.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "app/ui_hooks.h"
#include "store/workspace.h"

namespace wendrel {

// The row's name for the combination of rows named `a` and `b`.
std::string CombinedName(RowCombination kind, const std::string& a, const std::string& b);

// Makes row `target` the combination `how` of its two loaded rows (which
// must differ from it). Returns why it cannot, a sentence naming the files;
// empty when done. The view is not touched.
std::string FillCombinedRow(Workspace& ws, int target, const CombinedRows& how);

// The rows made again or emptied after a change of the rows they are made from.
struct FollowedRows {
    std::vector<int> Remade, Emptied;
};

// After row `changed` took another spectrum, was smoothed or was emptied:
// each row made from it is made again from its two rows (and smoothed again
// as it was, keeping its own velocity), or emptied when it can no longer be
// made; and so on for the rows made from those.
FollowedRows FollowRowChange(Workspace& ws, int changed);

// Smooths row `slot` as SmoothRow does, makes the rows made from it follow,
// shows the changed rows and redraws. Returns why it cannot, empty when done.
std::string SmoothRowAndFollow(Workspace& ws, int slot, const std::optional<Smoothing>& how, UiHooks& ui);

// The combination into the first empty row: the range and view are taken
// anew, the row shown and the plot drawn. Returns the message shown when it
// cannot (no empty row, a row not loaded, no overlap), empty when done.
std::string CombineIntoNextRow(Workspace& ws, const CombinedRows& how, UiHooks& ui);

}  // namespace wendrel
