// What is kept between runs beside the settings file, in "Wendrel3-view.json":
// the View and Lines menus' choices (scale, legend, intensity axis, line
// sets, air or vacuum) and the recent list of File > Recent. The settings
// file itself keeps its eight lines.
#pragma once

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "store/plot_view.h"

namespace wendrel {

inline constexpr std::string_view kViewFileName = "Wendrel3-view.json";

// The file in the folder of the settings file.
std::filesystem::path ViewFilePath(const std::filesystem::path& settingsPath);

// The choices kept: {"version": 1, "view": {...}, "recent": [paths]}.
struct KeptChoices {
    PlotView view;  // only the menus' choices are kept; the rest stays as PlotView starts
    std::vector<std::string> recent;
};

// The file's choices. A missing or broken file, or one of another version,
// gives the defaults, without a message; a field that is missing or of the
// wrong kind keeps its default.
KeptChoices ReadKeptChoices(const std::filesystem::path& file);

// Writes the menus' choices of `view` and the recent list whole or not at
// all (through a new file that takes the old one's place); returns whether
// the file was written.
bool WriteKeptChoices(const std::filesystem::path& file, const PlotView& view, const std::vector<std::string>& recent);

// Takes the menus' choices of `kept` into `view`, leaving its range, history,
// picked slot and measured line alone.
void TakeViewChoices(PlotView& view, const PlotView& kept);

}  // namespace wendrel
