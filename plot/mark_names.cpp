#include "plot/mark_names.h"

#include <algorithm>
#include <cmath>

#include "plot/line_marks.h"
#include "plot/renderer.h"

namespace wendrel {

MarkNamePlan PlanMarkNames(const Workspace& ws, double x0, double curveWidth, const PlotSurface& surface) {
    MarkNamePlan plan;
    const double span = ws.View.PlotSpan();
    if (ws.View.LineMarkSets.empty() || !(span > 0) || !std::isfinite(span)) return plan;
    std::vector<MarkName> marks;
    for (const LineSet& set : LineSets()) {
        if (!ws.View.LineMarkSets.contains(std::string(set.Key))) continue;
        for (const MarkedLine& line : set.Lines) {
            const double wavelength = MarkWavelength(ws, line);
            if (wavelength < ws.View.PlotLeft || wavelength > ws.View.PlotRight) continue;
            // The curves' mapping, so that a mark meets a curve's tread at its wavelength.
            const double x = x0 + curveWidth * (wavelength - ws.View.PlotLeft) / span;
            marks.push_back({static_cast<double>(static_cast<float>(x)), line.Name});
        }
    }
    std::ranges::stable_sort(marks, {}, &MarkName::x);
    for (const MarkName& m : marks) plan.marks.push_back(m.x);
    const auto widthOf = [&surface](std::string_view text) { return surface.TextWidth(std::string(text)); };
    plan.rows = StackMarkNames(marks, widthOf, kMarkNameGap);
    return plan;
}

double MarkNameRowHeight(const PlotSurface& surface) { return surface.TextAscent() + surface.TextDescent() + 20; }

namespace {

// The leader from mark k's name (its baseline given) down to the box, broken
// where it would cross a name of a lower row.
void DrawLeader(const MarkNamePlan& plan, size_t k, double baseline, double boxTop, double rowHeight,
                PlotSurface& surface) {
    const double x = plan.marks[k], ascent = surface.TextAscent(), descent = surface.TextDescent();
    double from = baseline + descent;
    for (int row = plan.rows.names[k].row - 1; row >= 0; --row) {
        const double rowBaseline = boxTop - kMarkNameRaise - rowHeight * row;
        const bool crossed = std::ranges::any_of(plan.rows.names, [&](const PlacedMarkName& n) {
            return n.row == row && std::abs(n.x - x) <= surface.TextWidth(n.text) / 2 + kMarkNameGap / 4;
        });
        if (!crossed) continue;
        if (rowBaseline - ascent > from)
            surface.Line(static_cast<float>(x), static_cast<float>(from), static_cast<float>(x),
                         static_cast<float>(rowBaseline - ascent));
        from = rowBaseline + descent;
    }
    if (boxTop > from) surface.Line(static_cast<float>(x), static_cast<float>(from), static_cast<float>(x), static_cast<float>(boxTop));
}

}  // namespace

void DrawMarkNames(const MarkNamePlan& plan, double boxTop, double boxBottom, PlotSurface& surface) {
    surface.SetForeColor(kLineMarkColor);
    const double rowHeight = MarkNameRowHeight(surface);
    for (size_t k = 0; k < plan.marks.size(); ++k) {
        const auto x = static_cast<float>(plan.marks[k]);
        surface.DashedLine(x, static_cast<float>(boxTop), x, static_cast<float>(boxBottom));
        const PlacedMarkName& name = plan.rows.names[k];
        if (name.row < 0 || name.text.empty()) continue;
        const double baseline = boxTop - kMarkNameRaise - rowHeight * name.row;
        surface.CentredText(static_cast<float>(name.x), static_cast<float>(baseline), name.text);
        if (name.row > 0 || name.x != plan.marks[k]) DrawLeader(plan, k, baseline, boxTop, rowHeight, surface);
    }
}

}  // namespace wendrel
