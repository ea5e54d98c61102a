// What wendrel-info's comparing options do to the loaded rows: smoothing,
// ratios and differences, and the "xcorr" object of a line.
#pragma once

#include <string>
#include <vector>

#include "store/workspace.h"
#include "tools/info_compare_options.h"
#include "tools/json_line.h"

namespace wendrel {

// Smooths the rows of --smooth; `fileRows[k]` is the row of file k + 1's
// (first) spectrum, 0 when it loaded none. Returns the messages of those
// refused, each a sentence naming the file.
std::vector<std::string> SmoothRequestedRows(Workspace& ws, const InfoComparisons& c, const std::vector<int>& fileRows);

struct CombinedLine {
    int row = 0;        // the row it filled; 0 when refused
    CombinedRows how;   // in rows
    std::string name;   // "a.fits / b.fits", of the files as given
    std::string refusal;
};

// Makes each --ratio and --difference into the next empty row.
std::vector<CombinedLine> MakeRequestedCombinations(Workspace& ws, const InfoComparisons& c,
                                                    const std::vector<int>& fileRows,
                                                    const std::vector<std::string>& files);

// {"velocity", "error", "r"} of row `row` against `templateRow`, or {"refused"}.
JsonLine XcorrObject(const Workspace& ws, int templateRow, int row, const VelocitySearch& search);

}  // namespace wendrel
