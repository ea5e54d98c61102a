// The rows of the names of marked lines above the plot box: each name is
// centred on its mark and goes into the lowest row (0 next to the box) where
// it keeps a gap from the names already there, marks taken from left to
// right. Where even the last row has no room, neighbouring names that
// collide are merged into their common beginning ("Na D1" and "Na D2" become
// one "Na D" centred between the two marks, "Mg b1", "Mg b2", "Mg b4" one
// "Mg b"); a name that still finds no room is left out. Names never overlap.
#pragma once

#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "plot/axis_labels.h"

namespace wendrel {

struct MarkName {
    double x = 0;  // the mark, in pixels
    std::string_view name;
};

struct PlacedMarkName {
    // 0 .. rows - 1, counted up from the box; -1: not written, because its
    // name went into a merged name that its leftmost mark writes, or found
    // no room.
    int row = -1;
    double x = 0;      // centre of the written text, in pixels
    std::string text;  // the name, or a merged name; empty when not written
};

struct MarkNameRows {
    std::vector<PlacedMarkName> names;  // one per mark, in the marks' order
    int rowsUsed = 0;
};

// A merged name keeps at least this many characters, so that "Hα" and "Hβ"
// do not both become "H".
constexpr size_t kShortestMergedName = 2;

// widthOf measures a name in pixels; gap is the least room between two names
// in one row.
MarkNameRows StackMarkNames(std::span<const MarkName> marks, const TextWidth& widthOf, double gap, int rows = 4);

// The common beginning of two names without blanks at its end, cut at a
// whole UTF-8 character: "Mg b1", "Mg b2" -> "Mg b"; "Ca H", "Ca K" -> "Ca".
std::string CommonNameBeginning(std::string_view a, std::string_view b);

}  // namespace wendrel
