#include "app/open_files.h"

#include "fits/fits_reader.h"

namespace wendrel {

namespace {

// Passes everything on to the windows except the redraws, which it only
// notes, so that a batch of loads draws the plot once.
class HeldRedraws final : public UiHooks {
public:
    explicit HeldRedraws(UiHooks& ui) : ui_(ui) {}

    void ShowMessage(const std::string& text) override { ui_.ShowMessage(text); }
    void ShowLoadedRow(int slot) override { ui_.ShowLoadedRow(slot); }
    void HideLoadedRow(int slot) override { ui_.HideLoadedRow(slot); }
    void RedrawPlot() override {}
    void ClearPlotWindow() override { ui_.ClearPlotWindow(); }
    void HidePlotWindow() override { ui_.HidePlotWindow(); }

private:
    UiHooks& ui_;
};

bool Empty(const Workspace& ws, int slot) { return !ws.slot(slot).Loaded; }

// Fills the plan from the rows in `order`, taking those `usable` allows.
template <typename Usable>
void Assign(FilePlan& plan, const std::vector<int>& order, Usable usable,
            std::vector<std::filesystem::path>::const_iterator file,
            std::vector<std::filesystem::path>::const_iterator end) {
    for (int slot : order) {
        if (file == end) return;
        if (usable(slot)) plan.targets.push_back({slot, *file++});
    }
    plan.left.assign(file, end);
}

// An absolute path whose last part names the file (a trailing separator is
// dropped, so that a folder is named by its own name).
std::filesystem::path FilePathOf(const std::filesystem::path& file) {
    std::error_code error;
    std::filesystem::path path = std::filesystem::absolute(file, error);
    if (error) path = file;
    path = path.lexically_normal();
    if (!path.has_filename() && path.has_parent_path() && path != path.root_path()) path = path.parent_path();
    return path;
}

bool LoadOne(Workspace& ws, const FileTarget& target, UiHooks& ui) {
    const std::filesystem::path path = FilePathOf(target.file);
    std::string& fileName = ws.slot(target.slot).FileName;
    const std::string previousName = fileName;
    fileName = path.filename().string();
    ws.FilePath = path.parent_path().string();
    if (LoadFitsFile(ws, target.slot, ui)) return true;
    fileName = previousName;
    return false;
}

}  // namespace

FilePlan PlanIntoEmptyRows(const Workspace& ws, const std::vector<std::filesystem::path>& files) {
    FilePlan plan;
    std::vector<int> rows;
    for (int slot = 1; slot <= kMaxSlots; ++slot) rows.push_back(slot);
    Assign(plan, rows, [&](int slot) { return Empty(ws, slot); }, files.begin(), files.end());
    return plan;
}

FilePlan PlanFromRow(const Workspace& ws, int row, const std::vector<std::filesystem::path>& files) {
    if (row < 1 || row > kMaxSlots) return PlanIntoEmptyRows(ws, files);
    FilePlan plan;
    if (files.empty()) return plan;
    plan.targets.push_back({row, files.front()});
    std::vector<int> others;
    for (int slot = row + 1; slot <= kMaxSlots; ++slot) others.push_back(slot);
    for (int slot = 1; slot < row; ++slot) others.push_back(slot);
    Assign(plan, others, [&](int slot) { return Empty(ws, slot); }, files.begin() + 1, files.end());
    return plan;
}

int LoadFiles(Workspace& ws, const FilePlan& plan, UiHooks& ui) {
    HeldRedraws held(ui);
    int loaded = 0;
    for (const FileTarget& target : plan.targets)
        if (target.slot >= 1 && target.slot <= kMaxSlots && LoadOne(ws, target, held)) ++loaded;
    if (loaded > 0) ui.RedrawPlot();
    if (!plan.left.empty()) ui.ShowMessage(NoRowLeftMessage(plan.left));
    return loaded;
}

std::string NoRowLeftMessage(const std::vector<std::filesystem::path>& left) {
    std::string text = left.size() == 1 ? "No empty row is left for this file, so it was not loaded:"
                                        : "No empty row is left for these files, so they were not loaded:";
    for (const std::filesystem::path& file : left) text += "\n" + file.string();
    return text;
}

}  // namespace wendrel
