// Writing a file whole or not at all, as the settings file, the recent list,
// sessions and exported spectra are written.
#pragma once

#include <filesystem>
#include <string_view>

namespace wendrel {

// Writes `bytes` into a new file in the folder of `path`, which then takes
// the place of whatever `path` named (a symbolic link is replaced, not
// followed); a file the user has given other permissions keeps them. A write
// cut short leaves the old file as it was and the new one removed. Returns 0
// when the file was written, otherwise the errno of the failure.
int ReplaceFileWith(const std::filesystem::path& path, std::string_view bytes);

}  // namespace wendrel
