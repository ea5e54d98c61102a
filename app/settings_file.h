// The settings file "Wendrel3.ini": the two keyword names of the wavelength
// calibration and the places and sizes of the windows, as eight lines of
// comma-separated fields.
#pragma once

#include <cstddef>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

#include "store/workspace.h"

namespace wendrel {

inline constexpr std::string_view kSettingsFileName = "Wendrel3.ini";

// The third field of the first line, always written in place of whatever the
// file held there.
inline constexpr std::string_view kSettingsComment = "Names for Lambda0 and dLambda/dp, resp.";

// The 25 fields must lie within this many bytes at the start of the file; the
// reader never reads more, whatever the size of the file.
inline constexpr std::size_t kSettingsReadLimit = 64 * 1024;

// Reads the 25 fields from the start of a settings text, in the order the
// writer puts them: Lambda0Key, DLambdaKey, the comment (dropped), then the
// 22 numbers from MainLeft to AboutTop.
//
// A field ends at a comma or a line end (CR LF, LF alone or CR alone, each one
// line end), so the line layout does not matter. Leading blanks (spaces and
// tabs) are skipped; a field that then starts with a double quote runs to the
// next double quote, line ends and commas included, and may be followed only
// by blanks before its separator; any other field runs to the next comma or
// line end with surrounding blanks removed. The end of the text ends no field:
// the 25th field needs its comma or line end too, so a file cut short
// anywhere counts as broken.
//
// A number field holds a decimal number (optional sign, digits with an
// optional point, optional exponent) that rounds, an exact half to the even
// neighbour, into -32768..32767. Whole-number fields keep the rounded value;
// HdrTop keeps its fraction.
//
// Returns nothing when the text is broken in any way: fewer than 25 fields,
// an empty or non-numeric number, a number outside the 16-bit range. The
// caller then uses every default; a broken file is never used in part.
// Anything after the 25th field is ignored.
std::optional<Settings> ParseSettingsText(std::string_view text);

// Reads the settings file at path, at most kSettingsReadLimit bytes of it.
// Returns nothing when the file is missing, cannot be read or is broken.
std::optional<Settings> ReadSettingsFile(const std::filesystem::path& path);

// The eight lines the program writes, each ended by CR LF. Numbers are plain
// decimal, clamped to -32768..32767; HdrTop carries a fraction only when it
// has one, in its shortest exact decimal form with "." as the point. The two
// keyword names are quoted; a double quote inside a name, which the file
// cannot hold, is left out.
std::string SettingsFileText(const Settings& settings);

// Writes SettingsFileText to path, replacing the file. Returns an empty text
// when the file was written, otherwise a message naming the file and the reason.
std::string WriteSettingsFile(const std::filesystem::path& path, const Settings& settings);

}  // namespace wendrel
