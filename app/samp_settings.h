// Whether the program connects to the SAMP hub when it starts, kept in
// "Wendrel3-samp.json" beside the settings file.
#pragma once

#include <filesystem>
#include <string_view>

namespace wendrel {

inline constexpr std::string_view kSampSettingsName = "Wendrel3-samp.json";

std::filesystem::path SampSettingsPath(const std::filesystem::path& settingsPath);

// {"version": 1, "connectAtStart": true|false}; a missing or broken file gives false.
bool ReadConnectAtStart(const std::filesystem::path& file);

// Written whole or not at all; returns whether it was written.
bool WriteConnectAtStart(const std::filesystem::path& file, bool connect);

}  // namespace wendrel
