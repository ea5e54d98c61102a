// Velocities of rows by cross-correlation against a template row
// (analysis/cross_correlation.h), and their use as the rows' velocities.
// The template's own velocity counts: a row found at the template's shift
// gets the template's velocity.
#pragma once

#include <string>
#include <vector>

#include "analysis/cross_correlation.h"
#include "app/ui_hooks.h"
#include "store/workspace.h"

namespace wendrel {

struct FoundVelocity {
    int Row = 0;
    CrossCorrelation Result;  // Result.Refusal names the file when nothing was found
};

// Each of `rows` (loaded rows other than the template) against row
// `templateRow` with its velocity; an empty row or the template itself is
// refused in its entry.
std::vector<FoundVelocity> FindVelocities(const Workspace& ws, int templateRow, const std::vector<int>& rows,
                                          const VelocitySearch& search);

// The panel's line of one row: "3  a.fits  1234.5 ± 6.7 km/s  r = 12.3", or
// the refusal.
std::string FoundVelocityText(const Workspace& ws, const FoundVelocity& found);

// Sets each found velocity as a velocity typed into the row's entry does
// (VelocityTyped: range, view and redraw follow), and shows the row's bar
// and label anew. Refused entries are left out. Returns the rows set.
int ApplyVelocities(Workspace& ws, const std::vector<FoundVelocity>& found, UiHooks& ui);

}  // namespace wendrel
