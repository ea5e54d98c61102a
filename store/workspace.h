// The one workspace every window shares: the ten slot rows, the plot view and
// the settings file's fields, each its own part. Whether a window is open or
// busy is the window's own business (app/ui_hooks.h asks it).
//
// Slots are numbered 1..10 (index 0 exists and is never used).
#pragma once

#include <array>
#include <string>

#include "store/plot_view.h"
#include "store/row.h"
#include "store/settings.h"

namespace wendrel {

struct Workspace {
    Workspace();

    Settings Config;  // the settings file's fields
    std::array<Row, kMaxSlots + 1> Slots;  // Slots[1] .. Slots[10]
    PlotView View;

    int CurSlot = 0;   // slot of the last Load, Unload or Hdr press
    int NumSlots = kMaxSlots;
    std::string FilePath;  // folder of the file chosen last
    bool DataReady = false;  // a spectrum is loaded and not all were unloaded since

    Row& slot(int i) { return Slots.at(static_cast<size_t>(i)); }
    const Row& slot(int i) const { return Slots.at(static_cast<size_t>(i)); }
};

}  // namespace wendrel
