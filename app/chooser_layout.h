// Where the file chooser's controls go for a given outer window size.
#pragma once

#include <array>
#include <string_view>

namespace wendrel {

// The file types of the chooser's type list, in their order.
inline constexpr std::array<const char*, 5> kChooserFileTypes = {
    "*.fts", "*.fit", "*.fits", "*.*", "Spectra (*.fits *.fit *.fts *.gz *.fz *.txt *.dat *.csv *.tsv *.ascii)"};

// Whether the chooser lists the file `name` under the file type `type`: a
// pattern, or the patterns in parentheses after a name ("Spectra (*.fits
// *.txt)"), matched without regard to case. "*.*" lists every file, whether
// its name holds a dot or not.
bool FileTypeLists(std::string_view type, std::string_view name);

// The smallest outer size of the file chooser, in twips.
inline constexpr double kChooserMinWidth = 6525;
inline constexpr double kChooserMinHeight = 3540;

// A control's rectangle in twips, relative to the client area.
struct TwipsRect {
    double left = 0, top = 0, width = 0, height = 0;
    bool operator==(const TwipsRect&) const = default;
};

struct ChooserLayout {
    TwipsRect label1, text1, file1, label2, combo1;          // left column
    TwipsRect label3, label4, dir1, label5, drive1;          // right column
    TwipsRect command1, command2;                            // OK, Cancel
};

// The layout for an outer window of width x height twips (already at least
// the minimum size).
ChooserLayout LayOutChooser(double width, double height);

}  // namespace wendrel
