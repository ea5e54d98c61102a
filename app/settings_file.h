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
// reader reads one byte more, whatever the size of the file, only to learn
// whether the file ends there.
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
// line end with surrounding blanks removed. When the text is the whole file,
// its end ends the field it falls in (many editors leave the last line
// without a line end); a text cut at the read limit ends no field there.
//
// A number field holds a decimal number (optional sign, digits with an
// optional point, optional exponent) within the range of doubles. Whole-number
// fields must round, an exact half to the even neighbour, into
// -32768..32767 and keep the rounded value; HdrTop keeps any such number,
// fraction and all.
//
// Returns nothing when the text is broken in any way: fewer than 25 fields,
// an empty or non-numeric number, a whole number outside the 16-bit range. The
// caller then uses every default; a broken file is never used in part.
// Anything after the 25th field is ignored.
std::optional<Settings> ParseSettingsText(std::string_view text, bool textIsWholeFile = true);

// Reads the settings file at path, at most kSettingsReadLimit bytes of it.
// Returns nothing when the file is missing, cannot be read or is broken.
std::optional<Settings> ReadSettingsFile(const std::filesystem::path& path);

// The eight lines the program writes, each ended by CR LF. Numbers are plain
// decimal, the whole numbers clamped to -32768..32767; HdrTop is written in
// full, a fraction only when it has one, in its shortest exact decimal form
// with "." as the point (NaN as 0, an infinity as the largest number of its
// sign), so that it reads back as it was. The two
// keyword names are quoted; a double quote inside a name, which the file
// cannot hold, is left out.
std::string SettingsFileText(const Settings& settings);

// Writes SettingsFileText to path, whole or not at all: into a new file in the
// same folder that then takes the place of whatever path named (a symbolic
// link is replaced, not followed); a file the user has given other
// permissions keeps them. Returns an empty text when the file was written,
// otherwise a message naming the file and the reason; the old file is then
// left as it was and the new one removed.
std::string WriteSettingsFile(const std::filesystem::path& path, const Settings& settings);

}  // namespace wendrel
