#include "plot/plot_legend.h"

#include <algorithm>
#include <cmath>
#include <vector>

#include "plot/curve_colour.h"
#include "plot/renderer.h"

namespace wendrel {

namespace {

// Sizes in twips.
constexpr int kInset = 120;     // from the box's sides
constexpr int kPadding = 90;    // inside the frame
constexpr int kRowHeight = 240;
constexpr int kBaseline = 185;  // of a row's name, below the row's top
constexpr int kBarWidth = 300, kBarHeight = 30, kBarGap = 90;
constexpr int32_t kLegendGround = 0xFFFFFF;

std::vector<int> LegendSlots(const Workspace& ws) {
    std::vector<int> slots;
    if (!ws.View.ShowLegend) return slots;
    for (int i = 1; i <= std::clamp(ws.NumSlots, 0, kMaxSlots); ++i)
        if (ws.slot(i).Loaded()) slots.push_back(i);
    return slots;
}

}  // namespace

std::string LegendName(const Row& s) {
    const size_t first = s->ObjectName.find_first_not_of(' ');
    if (first == std::string::npos) return s->FileName;
    return s->ObjectName.substr(first, s->ObjectName.find_last_not_of(' ') - first + 1);
}

LegendSize MeasureLegend(const Workspace& ws, const PlotSurface& surface) {
    const std::vector<int> slots = LegendSlots(ws);
    if (slots.empty()) return {};
    double widest = 0;
    for (int i : slots) widest = std::max(widest, surface.TextWidth(LegendName(ws.slot(i))));
    return {2 * kPadding + kBarWidth + kBarGap + std::ceil(widest),
            2.0 * kPadding + kRowHeight * static_cast<double>(slots.size())};
}

LegendPlace PlaceLegend(const PlotView& view, LegendSize size, const PlotLayout& box, double outsideLeft,
                        std::span<const CurveColumn> columns, double cell) {
    if (view.Look.LegendMoved) return {view.Look.LegendLeft, view.Look.LegendTop};
    if (view.Look.LegendOutside) return {outsideLeft, static_cast<double>(box.y0)};
    // A legend wider than the box keeps to its left edge, as it always did.
    const double width = std::min(size.width, box.x1 - box.x0 - 2.0 * kInset);
    const CellRect cells{box.x0 / cell, box.y0 / cell, box.x1 / cell, box.y1 / cell};
    const LegendCorner corner = QuietestCorner(cells, width / cell, size.height / cell, kInset / cell, columns);
    const CellRect at = LegendRect(cells, width / cell, size.height / cell, corner, kInset / cell);
    return {std::round(at.left * cell), std::round(at.top * cell)};
}

void DrawLegend(const Workspace& ws, LegendPlace place, PlotSurface& surface, PlotLayout& layout) {
    const std::vector<int> slots = LegendSlots(ws);
    if (slots.empty()) return;
    const LegendSize size = MeasureLegend(ws, surface);
    layout.legendLeft = place.left;
    layout.legendTop = place.top;
    const auto left = static_cast<float>(place.left), top = static_cast<float>(place.top);
    const auto right = static_cast<float>(place.left + size.width), bottom = static_cast<float>(place.top + size.height);
    surface.SetForeColor(kLegendGround);
    surface.FillRect(left, top, right, bottom);
    surface.SetForeColor(kGridColor);
    surface.Line(left, top, right, top);
    surface.Line(right, top, right, bottom);
    surface.Line(right, bottom, left, bottom);
    surface.Line(left, bottom, left, top);

    for (size_t k = 0; k < slots.size(); ++k) {
        const float rowTop = top + kPadding + kRowHeight * static_cast<float>(k);
        const float barLeft = left + kPadding, barTop = rowTop + (kRowHeight - kBarHeight) / 2.0f;
        surface.SetForeColor(CurveColour(ws, slots[k]));
        surface.FillRect(barLeft, barTop, barLeft + kBarWidth, barTop + kBarHeight);
        surface.SetForeColor(kBoxColor);
        const std::string name = LegendName(ws.slot(slots[k]));
        const double textLeft = barLeft + kBarWidth + kBarGap;
        surface.CentredText(static_cast<float>(textLeft + surface.TextWidth(name) / 2), rowTop + kBaseline, name);
        layout.legend.push_back({slots[k], static_cast<int>(left), static_cast<int>(rowTop), static_cast<int>(right),
                                 static_cast<int>(rowTop) + kRowHeight});
    }
}

}  // namespace wendrel
