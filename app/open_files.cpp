#include "app/open_files.h"

#include "app/slot_loading.h"

namespace wendrel {

namespace {

bool Empty(const Workspace& ws, int slot) { return !ws.slot(slot).Loaded(); }

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

// Passes everything on to the windows but the messages, which it keeps for
// one message after the batch.
class MessageGathering : public UiHooks {
public:
    explicit MessageGathering(UiHooks& ui) : ui_(ui) {}
    void ShowMessage(const std::string& text) override { messages.push_back(text); }
    void ShowLoadedRow(int slot) override { ui_.ShowLoadedRow(slot); }
    void HideLoadedRow(int slot) override { ui_.HideLoadedRow(slot); }
    void RedrawPlot() override { ui_.RedrawPlot(); }
    void ClearPlotWindow() override { ui_.ClearPlotWindow(); }
    void HidePlotWindow() override { ui_.HidePlotWindow(); }
    bool PlotShown() const override { return ui_.PlotShown(); }
    std::optional<ColumnChoice> ChooseTableColumns(const std::string& fileName,
                                                   const std::vector<TableColumn>& columns) override {
        return ui_.ChooseTableColumns(fileName, columns);
    }
    std::vector<std::string> messages;

private:
    UiHooks& ui_;
};

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

int LoadFiles(Workspace& ws, const FilePlan& plan, UiHooks& windows) {
    MessageGathering ui(windows);
    std::vector<std::filesystem::path> files, left;
    for (const FileTarget& target : plan.targets) files.push_back(target.file);
    files.insert(files.end(), plan.left.begin(), plan.left.end());
    int loaded = 0;
    size_t row = 0;  // the plan's rows in turn
    for (const std::filesystem::path& file : files) {
        // A file of several spectra may have filled the rows planned for the files after it: those then
        // take the next planned row still empty, or when the plan has none left, the first empty row.
        while (row > 0 && row < plan.targets.size() && plan.targets[row].slot >= 1 &&
               plan.targets[row].slot <= kMaxSlots && ws.slot(plan.targets[row].slot).Loaded())
            ++row;
        int slot = 0;
        if (row < plan.targets.size()) {
            slot = plan.targets[row].slot;
        } else {
            for (int empty = kMaxSlots; empty >= 1; --empty)
                if (!ws.slot(empty).Loaded()) slot = empty;
        }
        if (slot == 0) {
            left.push_back(file);
            continue;
        }
        const bool inRange = slot >= 1 && slot <= kMaxSlots;
        if (inRange && LoadIntoSlot(ws, slot, FilePathOf(file), ui, AfterLoad::NoRedraw)) ++loaded;
        // A refused file leaves its row empty for the next one; a loaded row keeps its spectrum.
        if (row < plan.targets.size() && (!inRange || ws.slot(slot).Loaded())) ++row;
    }
    if (loaded > 0) ui.RedrawPlot();
    if (!left.empty()) ui.messages.push_back(NoRowLeftMessage(left));
    if (!ui.messages.empty()) windows.ShowMessage(BatchMessage(ui.messages));
    return loaded;
}

std::string BatchMessage(const std::vector<std::string>& messages) {
    if (messages.size() == 1) return messages.front();
    std::string text = "Loading the files gave " + std::to_string(messages.size()) + " messages:";
    for (const std::string& message : messages) text += "\n\n" + message;
    return text;
}

std::string NoRowLeftMessage(const std::vector<std::filesystem::path>& left) {
    std::string text = left.size() == 1 ? "No empty row is left for this file, so it was not loaded:"
                                        : "No empty row is left for these files, so they were not loaded:";
    for (const std::filesystem::path& file : left) text += "\n" + file.string();
    return text;
}

}  // namespace wendrel
