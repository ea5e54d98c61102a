// Comparison of two workspaces field by field, for checking that a refused load left everything as it was.
// Blank (NaN) pixels differ from themselves here, so the spectra compared must have none.
#pragma once

#include <string>
#include <tuple>

#include "store/workspace.h"

namespace wendrel::testing {

inline auto Fields(const Spectrum& s) {
    return std::tie(s.FileName, s.ObjectName, s.Bitpix, s.Naxis1, s.Bzero, s.Lambda0, s.DLambda, s.LambdaStart, s.LambdaEnd,
                    s.Dispersion, s.PixelCentre, s.PixelEdge, s.Medium, s.FluxUnit, s.Flux, s.Sigma, s.FluxMax, s.FluxBlocks,
                    s.PctBlocks, s.FluxBandBlocks, s.PctBandBlocks, s.Level, s.FluxPct, s.PctMax, s.HdrCard, s.NumCards, s.SourcePath, s.NumberInFile);
}
// A row's spectrum is never changed in place, so the same spectrum is the same pointer.
inline auto Fields(const Row& s) { return std::tie(s.Data, s.Offset, s.Velocity, s.SlotColor, s.Smoothed, s.Unsmoothed, s.Combined); }
inline auto Fields(const Workspace& w) {
    return std::tie(w.Config, w.CurSlot, w.NumSlots, w.FilePath, w.View.LambdaMin, w.View.LambdaMax, w.View.PlotLeft,
                    w.View.PlotRight, w.DataReady, w.View.LineMarkSets);
}

// "Slots[3]" for the first slot that differs, "workspace" for another field, or nothing when the same.
inline std::string WorkspaceDifference(const Workspace& a, const Workspace& b) {
    for (int i = 0; i <= kMaxSlots; ++i)
        if (Fields(a.slot(i)) != Fields(b.slot(i))) return "Slots[" + std::to_string(i) + "]";
    return Fields(a) == Fields(b) ? "" : "workspace";
}

}  // namespace wendrel::testing
