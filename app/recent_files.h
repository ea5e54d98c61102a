// File > Recent: the spectra and sessions opened last, newest first, kept in
// "Wendrel3-recent.json" beside the settings file.
#pragma once

#include <cstddef>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace wendrel {

inline constexpr std::string_view kRecentFileName = "Wendrel3-recent.json";
inline constexpr size_t kMaxRecent = 8;

// The recent list's file in the folder of the settings file.
std::filesystem::path RecentListPath(const std::filesystem::path& settingsPath);

// The list in the file: {"version": 1, "recent": [paths]}, at most kMaxRecent
// non-empty paths. A missing, broken or other file gives an empty list.
std::vector<std::string> ReadRecentList(const std::filesystem::path& file);

// `opened` first, then the others without it, at most kMaxRecent in all.
std::vector<std::string> WithRecent(std::vector<std::string> list, const std::string& opened);

// Writes the list whole or not at all; returns whether it was written.
bool WriteRecentList(const std::filesystem::path& file, const std::vector<std::string>& list);

}  // namespace wendrel
