#include "app/slot_loading.h"

#include <string>
#include <utility>
#include <vector>

#include "app/row_combination.h"
#include "app/slot_rows.h"
#include "plot/view_control.h"
#include "store/rest_frame.h"

namespace wendrel {

namespace {

// A message about a file, as its box shows it: the file's name first, unless
// the text already starts with the name in quotes (or a spectrum of it,
// "name.fits#2").
std::string AboutFile(const std::string& name, const std::string& text) {
    const bool named = text.starts_with("\"" + name + "\"") || text.starts_with("\"" + name + "#");
    return named ? text : name + ": " + text;
}

// "2", "2 and 3", "2, 3 and 5".
std::string ListOf(const std::vector<std::string>& items) {
    std::string text;
    for (size_t k = 0; k < items.size(); ++k)
        text += (k == 0 ? "" : k + 1 == items.size() ? " and " : ", ") + items[k];
    return text;
}

// The file a load of `file` reads, as an absolute path: "name.fits#N", when
// no file has that name but name.fits exists, is read from name.fits (as
// LoadFitsFile does).
std::filesystem::path SourceFileOf(const std::filesystem::path& file) {
    std::error_code error;
    std::filesystem::path path = std::filesystem::absolute(file, error);
    if (error) path = file;
    path = path.lexically_normal();
    const std::string name = path.filename().string();
    const size_t hash = name.rfind('#');
    if (hash == std::string::npos || hash == 0 || hash + 1 == name.size() ||
        name.find_first_not_of("0123456789", hash + 1) != std::string::npos)
        return path;
    const std::filesystem::path whole = path.parent_path() / name.substr(0, hash);
    if (std::filesystem::exists(std::filesystem::symlink_status(path, error)) ||
        !std::filesystem::exists(whole, error))
        return path;
    return whole;
}

// Commits one read spectrum to a slot and shows its row.
void CommitSpectrum(Workspace& ws, int slot, Spectrum& fresh, UiHooks& ui) {
    Row& s = ws.slot(slot);
    // The read spectrum replaces the row's; the row keeps its colour and offset.
    s.Data = std::make_shared<const Spectrum>(std::move(fresh));
    s.Velocity = 0;  // a new spectrum starts unshifted, as its row's velocity bar does
    s.Unsmoothed.reset();
    s.Smoothed.reset();
    s.Combined = {};

    if (ws.View.LambdaMin == kEmptyLambdaMin && ws.View.LambdaMax == kEmptyLambdaMax) {
        // The empty range's start values are no wavelengths to widen from.
        ws.View.LambdaMin = ShiftedStart(s);
        ws.View.LambdaMax = ShiftedEnd(s);
    } else {
        if (ShiftedStart(s) < ws.View.LambdaMin) ws.View.LambdaMin = ShiftedStart(s);
        if (ShiftedEnd(s) > ws.View.LambdaMax) ws.View.LambdaMax = ShiftedEnd(s);
    }
    ws.View.PlotLeft = ws.View.LambdaMin;
    ws.View.PlotRight = ws.View.LambdaMax;
    ClearViewHistory(ws);
    ws.View.Measured = {};

    ui.ShowLoadedRow(slot);
}

}  // namespace

bool CommitLoad(Workspace& ws, int slot, const std::filesystem::path& file, LoadResult read, UiHooks& ui,
                AfterLoad after) {
    ws.FilePath = file.parent_path().string();  // the folder chosen last, whether its file loads or not
    const std::string name = file.filename().string();
    for (const std::string& message : read.messages) ui.ShowMessage(AboutFile(name, message));
    if (read.spectra.empty()) return false;

    // The first spectrum goes into the slot, the others into the empty rows below it, then those above.
    std::vector<int> rows = {slot};
    for (int row = slot + 1; row <= kMaxSlots; ++row)
        if (!ws.slot(row).Loaded()) rows.push_back(row);
    for (int row = 1; row < slot; ++row)
        if (!ws.slot(row).Loaded()) rows.push_back(row);
    std::vector<std::string> filled, left;
    const std::string source = SourceFileOf(file).string();
    for (size_t k = 0; k < read.spectra.size(); ++k) {
        read.spectra[k].SourcePath = source;
        read.spectra[k].NumberInFile = k < read.numbers.size() ? read.numbers[k] : 1;
        if (k < rows.size()) {
            CommitSpectrum(ws, rows[k], read.spectra[k], ui);
            filled.push_back(std::to_string(rows[k]));
        } else {
            left.push_back(read.spectra[k].FileName);
        }
    }
    if (read.spectraInFile > 1) {
        const std::string count = filled.size() == read.spectraInFile ? "its " + std::to_string(filled.size())
                                  : std::to_string(filled.size()) + " of its " + std::to_string(read.spectraInFile);
        std::string text =
            count + " spectra were loaded, into " + (filled.size() == 1 ? "row " : "rows ") + ListOf(filled) + ".";
        if (!left.empty()) text += " No empty row was left for " + ListOf(left) + ".";
        ui.ShowMessage(AboutFile(name, text));
    }
    for (size_t k = 0; k < filled.size(); ++k) {
        const FollowedRows followed = FollowRowChange(ws, rows[k]);
        for (const int remade : followed.Remade) ui.ShowRowCaptions(remade);
        for (const int emptied : followed.Emptied) ui.HideLoadedRow(emptied);
    }
    ws.DataReady = true;
    if (after == AfterLoad::RedrawWhenShown && ui.PlotShown()) ui.RedrawPlot();
    return true;
}

bool LoadIntoSlot(Workspace& ws, int slot, const std::filesystem::path& file, UiHooks& ui, AfterLoad after) {
    LoadResult read = LoadFitsFile(file, ws.Config);
    if (read.spectra.empty() && !read.tableColumns.empty())
        if (const std::optional<ColumnChoice> chosen = ui.ChooseTableColumns(file.filename().string(), read.tableColumns))
            read = LoadFitsFile(file, ws.Config, chosen);
    return CommitLoad(ws, slot, file, std::move(read), ui, after);
}

}  // namespace wendrel
