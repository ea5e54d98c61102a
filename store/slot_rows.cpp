#include "store/slot_rows.h"

#include <algorithm>

namespace wendrel {

int CountLoaded(const Workspace& ws) {
    return static_cast<int>(std::count_if(ws.Slots.begin() + 1, ws.Slots.end(),
                                          [](const Slot& s) { return s.Loaded; }));
}

void RecalcLambdaRange(Workspace& ws) {
    ws.LambdaMin = kEmptyLambdaMin;
    ws.LambdaMax = kEmptyLambdaMax;
    bool any = false;
    for (int s = 1; s <= ws.NumSlots; ++s) {
        const Slot& slot = ws.slot(s);
        if (!slot.Loaded) continue;
        ws.LambdaMin = any ? std::min(ws.LambdaMin, slot.LambdaStart) : slot.LambdaStart;
        ws.LambdaMax = any ? std::max(ws.LambdaMax, slot.LambdaEnd) : slot.LambdaEnd;
        any = true;
    }
    if (!any) return;
    ws.PlotLeft = ws.LambdaMin;
    ws.PlotRight = ws.LambdaMax;
    ws.PlotSpan = ws.PlotRight - ws.PlotLeft;
}

void LoadPressed(Workspace& ws, int slot) { ws.CurSlot = slot; }

void UnloadSlot(Workspace& ws, int slot, UiHooks& ui) {
    ws.CurSlot = slot;
    ws.slot(slot).Loaded = false;
    ui.HideLoadedRow(slot);
    const bool anyLoaded = CountLoaded(ws) > 0;
    if (!anyLoaded) ws.DataReady = false;
    if (!ws.PlotShown) return;
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

void PlotSpectra(UiHooks& ui) { ui.RedrawPlot(); }

bool HdrPressed(Workspace& ws, int slot) {
    ws.CurSlot = slot;
    return ws.slot(slot).Loaded;
}

}  // namespace wendrel
