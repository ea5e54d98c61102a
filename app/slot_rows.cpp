#include "app/slot_rows.h"

#include "app/row_combination.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "plot/number_format.h"
#include "plot/view_control.h"
#include "store/rest_frame.h"

namespace wendrel {

namespace {

// The smallest start and largest end of the loaded slots as drawn; false when
// no slot is loaded.
bool LoadedRange(const Workspace& ws, double& min, double& max) {
    bool any = false;
    for (int s = 1; s <= ws.NumSlots; ++s) {
        const Row& slot = ws.slot(s);
        if (!slot.Loaded()) continue;
        min = any ? std::min(min, ShiftedStart(slot)) : ShiftedStart(slot);
        max = any ? std::max(max, ShiftedEnd(slot)) : ShiftedEnd(slot);
        any = true;
    }
    return any;
}

void SetView(Workspace& ws, double left, double right) {
    ws.View.PlotLeft = left;
    ws.View.PlotRight = right;
}

}  // namespace

std::string LevelText(double level) {
    if (level < 1) return SignificantText(level);
    char text[32];
    std::snprintf(text, sizeof text, "%.0f", std::floor(level));
    return text;
}

int CountLoaded(const Workspace& ws) {
    return static_cast<int>(std::count_if(ws.Slots.begin() + 1, ws.Slots.end(),
                                          [](const Row& s) { return s.Loaded(); }));
}

void RecalcLambdaRange(Workspace& ws) {
    double min = kEmptyLambdaMin, max = kEmptyLambdaMax;
    const bool any = LoadedRange(ws, min, max);
    ws.View.LambdaMin = any ? min : kEmptyLambdaMin;
    ws.View.LambdaMax = any ? max : kEmptyLambdaMax;
    if (any) SetView(ws, ws.View.LambdaMin, ws.View.LambdaMax);
}

void LoadPressed(Workspace& ws, int slot) { ws.CurSlot = slot; }

void UnloadSlot(Workspace& ws, int slot, UiHooks& ui) {
    ws.CurSlot = slot;
    ws.slot(slot).Empty();
    for (const int emptied : FollowRowChange(ws, slot).Emptied) ui.HideLoadedRow(emptied);
    ClearViewHistory(ws);
    ws.View.Measured = {};
    ui.HideLoadedRow(slot);
    const bool anyLoaded = CountLoaded(ws) > 0;
    if (!anyLoaded) ws.DataReady = false;
    if (!ui.PlotShown()) return;
    RecalcLambdaRange(ws);
    if (anyLoaded) {
        ui.ClearPlotWindow();
        ui.RedrawPlot();
    } else {
        ui.HidePlotWindow();
    }
}

void OffsetChanged(Workspace& ws, int slot, int value, UiHooks& ui) {
    ws.slot(slot).Offset = value;
    if (ws.DataReady) ui.RedrawPlot();
}

void VelocityChanged(Workspace& ws, int slot, int value, UiHooks& ui) {
    VelocityTyped(ws, slot, std::clamp(value, kMinVelocity, kMaxVelocity), ui);
}

void VelocityTyped(Workspace& ws, int slot, double velocity, UiHooks& ui) {
    Row& s = ws.slot(slot);
    s.Velocity = velocity;
    double min = 0, max = 0;
    if (s.Loaded() && LoadedRange(ws, min, max)) {
        const double oldWidth = ws.View.LambdaMax - ws.View.LambdaMin;
        const double slack = 0.01 * oldWidth;
        const bool showedAll = ws.View.PlotLeft - ws.View.LambdaMin <= slack && ws.View.LambdaMax - ws.View.PlotRight <= slack;
        ws.View.LambdaMin = min;
        ws.View.LambdaMax = max;
        const double left = std::max(ws.View.PlotLeft, min), right = std::min(ws.View.PlotRight, max);
        if (showedAll || !(left < right))
            SetView(ws, min, max);
        else
            SetView(ws, left, right);
    }
    if (ws.DataReady) ui.RedrawPlot();
}

void PlotSpectra(UiHooks& ui) { ui.RedrawPlot(); }

bool HdrPressed(Workspace& ws, int slot) {
    ws.CurSlot = slot;
    return ws.slot(slot).Loaded();
}

}  // namespace wendrel
