#include "plot/plot_legend.h"

#include <algorithm>
#include <cmath>
#include <vector>

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

}  // namespace

std::string LegendName(const Row& s) {
    const size_t first = s->ObjectName.find_first_not_of(' ');
    if (first == std::string::npos) return s->FileName;
    return s->ObjectName.substr(first, s->ObjectName.find_last_not_of(' ') - first + 1);
}

void DrawLegend(const Workspace& ws, int boxLeft, int boxRight, int boxTop, PlotSurface& surface, PlotLayout& layout) {
    if (!ws.View.ShowLegend) return;
    std::vector<int> slots;
    std::vector<std::string> names;
    double widest = 0;
    for (int i = 1; i <= std::clamp(ws.NumSlots, 0, kMaxSlots); ++i) {
        if (!ws.slot(i).Loaded()) continue;
        slots.push_back(i);
        names.push_back(LegendName(ws.slot(i)));
        widest = std::max(widest, surface.TextWidth(names.back()));
    }
    if (slots.empty()) return;

    const int right = boxRight - kInset;
    const int width = 2 * kPadding + kBarWidth + kBarGap + static_cast<int>(std::ceil(widest));
    const int left = std::max(boxLeft + kInset, right - width);
    const int top = boxTop + kInset;
    const int bottom = top + 2 * kPadding + kRowHeight * static_cast<int>(slots.size());
    surface.SetForeColor(kLegendGround);
    surface.FillRect(left, top, right, bottom);
    surface.SetForeColor(kGridColor);
    surface.Line(left, top, right, top);
    surface.Line(right, top, right, bottom);
    surface.Line(right, bottom, left, bottom);
    surface.Line(left, bottom, left, top);

    for (size_t k = 0; k < slots.size(); ++k) {
        const int rowTop = top + kPadding + kRowHeight * static_cast<int>(k);
        const int barLeft = left + kPadding, barTop = rowTop + (kRowHeight - kBarHeight) / 2;
        surface.SetForeColor(ws.slot(slots[k]).SlotColor);
        surface.FillRect(barLeft, barTop, barLeft + kBarWidth, barTop + kBarHeight);
        surface.SetForeColor(kBoxColor);
        const double textLeft = barLeft + kBarWidth + kBarGap;
        surface.CentredText(static_cast<float>(textLeft + surface.TextWidth(names[k]) / 2),
                            static_cast<float>(rowTop + kBaseline), names[k]);
        layout.legend.push_back({slots[k], left, rowTop, right, rowTop + kRowHeight});
    }
}

}  // namespace wendrel
