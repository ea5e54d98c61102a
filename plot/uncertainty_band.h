// The +-1 sigma band of the rows whose spectra carry uncertainties, drawn
// under the curves in a light tint of each row's colour when the view shows
// uncertainties (PlotView::ShowUncertainties).
#pragma once

#include <cstdint>

#include "plot/plot_surface.h"
#include "plot/stepped_curve.h"
#include "store/band_blocks.h"
#include "store/workspace.h"

namespace wendrel {

// The colour mixed three parts in ten with seven of white.
int32_t BandTint(int32_t color);

// Draws one row's band, moved down by `shift`, cut to the box. On a surface of
// device columns (TwipsPerColumn() > 0) one filled column per device column
// over the extent of the band of the pixels that column meets, from the
// band's value blocks, so that its time does not grow with the pixels in
// view; otherwise one filled rectangle per pixel across its wavelengths.
void DrawUncertaintyBand(const Row& slot, const BandValues& band, double shift, const CurvePlacement& place,
                         PlotSurface& surface);

// Every loaded row's band in the shown scale, when the view shows uncertainties.
void DrawUncertaintyBands(const Workspace& ws, const CurvePlacement& place, PlotSurface& surface);

}  // namespace wendrel
