#include "app/slot_loading.h"

#include <string>
#include <utility>

#include "app/slot_rows.h"
#include "plot/view_control.h"
#include "store/rest_frame.h"

namespace wendrel {

namespace {

// A message about a file, as its box shows it: the file's name first, unless
// the text already starts with the name in quotes.
std::string AboutFile(const std::string& name, const std::string& text) {
    return text.starts_with("\"" + name + "\"") ? text : name + ": " + text;
}

}  // namespace

bool CommitLoad(Workspace& ws, int slot, const std::filesystem::path& file, LoadResult read, UiHooks& ui,
                AfterLoad after) {
    ws.FilePath = file.parent_path().string();  // the folder chosen last, whether its file loads or not
    const std::string name = file.filename().string();
    for (const std::string& message : read.messages) ui.ShowMessage(AboutFile(name, message));
    if (!read.spectrum) return false;

    Slot& s = ws.slot(slot);
    Slot& fresh = *read.spectrum;
    // The slot keeps its colour and offset; the replaced pixel buffers go back
    // to the reader for the next load.
    std::swap(s.Flux, fresh.Flux);
    std::swap(s.FluxPct, fresh.FluxPct);
    KeepSpareBuffers(std::move(fresh.Flux), std::move(fresh.FluxPct));
    s.FileName = std::move(fresh.FileName);
    s.ObjectName = std::move(fresh.ObjectName);
    s.Bitpix = fresh.Bitpix;
    s.Naxis1 = fresh.Naxis1;
    s.Bzero = fresh.Bzero;
    s.Lambda0 = fresh.Lambda0;
    s.DLambda = fresh.DLambda;
    s.LambdaStart = fresh.LambdaStart;
    s.LambdaEnd = fresh.LambdaEnd;
    s.Dispersion = std::move(fresh.Dispersion);
    s.PixelEdge = std::move(fresh.PixelEdge);
    s.PixelCentre = std::move(fresh.PixelCentre);
    s.Level = fresh.Level;
    s.PctMax = fresh.PctMax;
    s.HdrCard = std::move(fresh.HdrCard);
    s.NumCards = fresh.NumCards;
    s.Velocity = 0;  // a new spectrum starts unshifted, as its row's velocity bar does

    if (ws.LambdaMin == kEmptyLambdaMin && ws.LambdaMax == kEmptyLambdaMax) {
        // The empty range's start values are no wavelengths to widen from.
        ws.LambdaMin = ShiftedStart(s);
        ws.LambdaMax = ShiftedEnd(s);
    } else {
        if (ShiftedStart(s) < ws.LambdaMin) ws.LambdaMin = ShiftedStart(s);
        if (ShiftedEnd(s) > ws.LambdaMax) ws.LambdaMax = ShiftedEnd(s);
    }
    ws.PlotLeft = ws.LambdaMin;
    ws.PlotRight = ws.LambdaMax;
    ws.PlotSpan = ws.PlotRight - ws.PlotLeft;
    ClearViewHistory(ws);

    s.Loaded = true;
    ui.ShowLoadedRow(slot);
    ws.DataReady = true;
    if (after == AfterLoad::RedrawWhenShown && ws.PlotShown) ui.RedrawPlot();
    return true;
}

bool LoadIntoSlot(Workspace& ws, int slot, const std::filesystem::path& file, UiHooks& ui, AfterLoad after) {
    return CommitLoad(ws, slot, file, LoadFitsFile(file, ws), ui, after);
}

}  // namespace wendrel
