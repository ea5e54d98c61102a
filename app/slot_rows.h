// What the buttons and offset bars of the main window's slot rows do to the
// workspace. The window forwards each press here and only sets captions.
#pragma once

#include <string>

#include "app/ui_hooks.h"
#include "store/workspace.h"

namespace wendrel {

// The full range while no slot is loaded, as at start-up: any load widens it
// to that slot's range.
inline constexpr double kEmptyLambdaMin = 99999;
inline constexpr double kEmptyLambdaMax = -99999;

// Number of loaded slots among slots 1 to 10.
int CountLoaded(const Workspace& ws);

// The level as its row shows it: the whole part in plain digits for a level
// of 1 and more; a smaller one (a flux-calibrated spectrum's 1.06e-14) with
// three significant digits as the plot shows flux, so that it never reads 0.
std::string LevelText(double level);

// Sets LambdaMin and LambdaMax to the full range of every loaded slot (each
// slot's range as drawn, in the rest frame of its velocity), and the view
// (PlotLeft, PlotRight) to that range, whatever the zoom was.
// With no slot loaded the range returns to kEmptyLambdaMin/kEmptyLambdaMax,
// so the next load sets it afresh just as the first load after start does,
// and the view is left as it was.
void RecalcLambdaRange(Workspace& ws);

// "Load" in a row: the next confirmed file goes into this slot.
void LoadPressed(Workspace& ws, int slot);

// "Unload" in a row: the slot counts as empty (its data stay until the next
// load overwrites them), its row controls hide and the view history is
// cleared. With no slot left loaded DataReady clears. While the plot window
// is open (UiHooks::PlotShown) the range and view are recomputed from the remaining
// slots and the plot is cleared and redrawn, or hidden when no slot remains;
// with the plot window closed the range and view are left alone.
void UnloadSlot(Workspace& ws, int slot, UiHooks& ui);

// The offset bar of a row took a new value: it becomes the slot's offset, and
// the plot is redrawn once a spectrum has been loaded (DataReady).
void OffsetChanged(Workspace& ws, int slot, int value, UiHooks& ui);

// The velocity bar of a row took a new value (km/s): it becomes the slot's
// Velocity, held to kMinVelocity .. kMaxVelocity, as in VelocityTyped.
void VelocityChanged(Workspace& ws, int slot, int value, UiHooks& ui);

// A velocity typed into a row's entry (km/s, as ParseVelocity gives it)
// becomes the slot's Velocity as it is. When the slot is loaded the full
// range is recomputed from the loaded slots as drawn, and the view follows: a
// view that showed the whole former full range (give or take a hundredth of
// its width at either edge, as the scroll bar's re-centring on whole
// positions leaves it) becomes the new full range; any other view stays, with
// an edge beyond the new full range pulled in to it, and becomes the full
// range when nothing of it is left. The plot is redrawn once a spectrum has
// been loaded (DataReady).
void VelocityTyped(Workspace& ws, int slot, double velocity, UiHooks& ui);

// "Plot Spectra": always asks for a redraw, which does nothing before a load.
void PlotSpectra(UiHooks& ui);

// "Hdr" in a row: makes the slot current and tells whether it is loaded, that
// is, whether the header viewer should show its cards.
bool HdrPressed(Workspace& ws, int slot);

}  // namespace wendrel
