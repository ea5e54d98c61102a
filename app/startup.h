// Start-up and shut-down of the program's workspace: the settings file read
// at the start and written at the end, and the state every run starts from.
#pragma once

#include <filesystem>
#include <string>
#include <vector>

#include "app/ui_hooks.h"
#include "store/workspace.h"

namespace wendrel {

// "Wendrel3.ini" in the folder that is current now, as an absolute path.
// Taken once when the program starts and kept, it makes the file written at
// the end go back to the folder it was read from, however the current folder
// changes in between (loading a file makes its folder current). Falls back
// to the bare name when the current folder cannot be found.
std::filesystem::path SettingsPathInCurrentFolder();

// Puts the workspace into its start state: ten slot rows; the settings from
// the file at settingsPath, or every default when it cannot be read (no
// message); every row empty (HideLoadedRow for rows 1 to 10); the slot
// colours; the empty wavelength range; the plot window closed; the start
// offsets 15 * (i - 6); no data ready. The window then places itself at
// MainLeft, MainTop and sets its offset bars from the slots' offsets.
void StartUp(Workspace& ws, const std::filesystem::path& settingsPath, UiHooks& ui);

// Records the main window's place (in twips, each rounded to the nearest
// whole number and clamped to -32768..32767) and writes the settings file to
// settingsPath. Returns an empty text when the file was written, otherwise a
// message naming the file and the reason, for the window to show before the
// program ends.
std::string ShutDown(Workspace& ws, double mainLeft, double mainTop, const std::filesystem::path& settingsPath);

// The choices kept from the last run in "Wendrel3-view.json" beside the
// settings file (app/view_choices.h): the menus' view choices go into
// ws.View; returns the recent list. A missing or broken file gives the
// defaults and an empty list, without a message.
std::vector<std::string> RestoreKeptChoices(Workspace& ws, const std::filesystem::path& settingsPath);

// Writes the view's choices and the recent list into that file, whole or
// not at all; returns whether it was written.
bool KeepChoices(const Workspace& ws, const std::filesystem::path& settingsPath, const std::vector<std::string>& recent);

}  // namespace wendrel
