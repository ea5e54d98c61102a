#include "app/startup.h"

#include <system_error>

#include "app/settings_file.h"
#include "app/slot_rows.h"
#include "app/view_choices.h"
#include "store/rounding.h"

namespace wendrel {

std::filesystem::path SettingsPathInCurrentFolder() {
    std::error_code error;
    const std::filesystem::path folder = std::filesystem::current_path(error);
    if (error) return std::filesystem::path(kSettingsFileName);
    return folder / kSettingsFileName;
}

void StartUp(Workspace& ws, const std::filesystem::path& settingsPath, UiHooks& ui) {
    ws.NumSlots = kMaxSlots;
    ws.Config = ReadSettingsFile(settingsPath).value_or(Settings{});
    for (int i = 1; i <= ws.NumSlots; ++i) {
        ws.slot(i).Data.reset();
        ui.HideLoadedRow(i);
    }
    for (int i = 1; i <= ws.NumSlots; ++i) ws.slot(i).SlotColor = kStartSlotColors[static_cast<size_t>(i - 1)];
    ws.View.LambdaMin = kEmptyLambdaMin;
    ws.View.LambdaMax = kEmptyLambdaMax;
    for (int i = 1; i <= ws.NumSlots; ++i) ws.slot(i).Offset = StartOffset(i);
    ws.DataReady = false;
}

std::string ShutDown(Workspace& ws, double mainLeft, double mainTop, const std::filesystem::path& settingsPath) {
    ws.Config.MainLeft = Nearest16(mainLeft);
    ws.Config.MainTop = Nearest16(mainTop);
    return WriteSettingsFile(settingsPath, ws.Config);
}

std::vector<std::string> RestoreKeptChoices(Workspace& ws, const std::filesystem::path& settingsPath) {
    KeptChoices kept = ReadKeptChoices(ViewFilePath(settingsPath));
    TakeViewChoices(ws.View, kept.view);
    return std::move(kept.recent);
}

bool KeepChoices(const Workspace& ws, const std::filesystem::path& settingsPath, const std::vector<std::string>& recent) {
    return WriteKeptChoices(ViewFilePath(settingsPath), ws.View, recent);
}

}  // namespace wendrel
