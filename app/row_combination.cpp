#include "app/row_combination.h"

#include <array>
#include <optional>

#include "analysis/rebinning.h"
#include "app/derived_spectrum.h"
#include "app/row_smoothing.h"
#include "app/slot_rows.h"

namespace wendrel {

std::string CombinedName(RowCombination kind, const std::string& a, const std::string& b) {
    return a + (kind == RowCombination::Ratio ? " / " : " \u2212 ") + b;
}

std::string FillCombinedRow(Workspace& ws, int target, const CombinedRows& how) {
    const auto usable = [](int row) { return row >= 1 && row <= kMaxSlots; };
    if (!usable(how.A) || !usable(how.B) || !ws.slot(how.A).Loaded() || !ws.slot(how.B).Loaded())
        return "Rows " + std::to_string(how.A) + " and " + std::to_string(how.B) + " must both hold spectra.";
    if (how.A == how.B || how.A == target || how.B == target)
        return "The two rows must differ from each other and from the row they fill.";
    const Row& a = ws.slot(how.A);
    const Row& b = ws.slot(how.B);
    const std::string name = CombinedName(how.Kind, a->FileName, b->FileName);
    const RowData pixelsA(a.spectrum()), pixelsB(b.spectrum());
    ResampledRow result = how.Kind == RowCombination::Ratio ? RatioOfRows(pixelsA.Row, pixelsB.Row)
                                                            : DifferenceOfRows(pixelsA.Row, pixelsB.Row);
    if (!result.Refusal.empty()) return name + " cannot be made: " + result.Refusal;
    const double level = how.Kind == RowCombination::Ratio ? a->Level / b->Level : a->Level;
    auto made = WithPixelValues(a.spectrum(), std::move(result.Flux), std::move(result.Sigma), level);
    made->FileName = name;
    made->ObjectName.clear();  // the legend names the row by its two files
    made->SourcePath.clear();
    Row& row = ws.slot(target);
    row.Data = std::move(made);
    row.Unsmoothed.reset();
    row.Smoothed.reset();
    row.Combined = how;
    row.Velocity = a.Velocity;
    return {};
}

FollowedRows FollowRowChange(Workspace& ws, int changed) {
    FollowedRows followed;
    std::vector<int> queue = {changed};
    std::array<bool, kMaxSlots + 1> done{};
    for (size_t next = 0; next < queue.size(); ++next) {
        const int source = queue[next];
        for (int row = 1; row <= kMaxSlots; ++row) {
            Row& r = ws.slot(row);
            const CombinedRows how = r.Combined;
            if (done[static_cast<size_t>(row)] || how.Kind == RowCombination::None || (how.A != source && how.B != source))
                continue;
            done[static_cast<size_t>(row)] = true;
            const std::optional<Smoothing> smoothing = r.Smoothed;
            const double velocity = r.Velocity;
            if (!FillCombinedRow(ws, row, how).empty()) {
                r.Empty();
                followed.Emptied.push_back(row);
            } else {
                r.Velocity = velocity;
                if (smoothing) SmoothRow(ws, row, smoothing);
                followed.Remade.push_back(row);
            }
            queue.push_back(row);
        }
    }
    return followed;
}

std::string SmoothRowAndFollow(Workspace& ws, int slot, const std::optional<Smoothing>& how, UiHooks& ui) {
    if (std::string why = SmoothRow(ws, slot, how); !why.empty()) return why;
    ui.ShowRowCaptions(slot);
    const FollowedRows followed = FollowRowChange(ws, slot);
    for (const int row : followed.Remade) ui.ShowRowCaptions(row);
    for (const int row : followed.Emptied) ui.HideLoadedRow(row);
    ui.RedrawPlot();
    return {};
}

std::string CombineIntoNextRow(Workspace& ws, const CombinedRows& how, UiHooks& ui) {
    int target = 1;
    while (target <= kMaxSlots && ws.slot(target).Loaded()) ++target;
    if (target > kMaxSlots) return "Every row holds a spectrum; unload one for the result.";
    const std::string refusal = FillCombinedRow(ws, target, how);
    if (!refusal.empty()) return refusal;
    RecalcLambdaRange(ws);
    ui.ShowRowCaptions(target);
    ui.RedrawPlot();
    return {};
}

}  // namespace wendrel
