// Loading several files at once, as the command line and a drop of files on
// the main window do: which rows the files go into, and the loads themselves.
#pragma once

#include <filesystem>
#include <string>
#include <vector>

#include "app/ui_hooks.h"
#include "store/workspace.h"

namespace wendrel {

// A file and the slot (row) it is to be loaded into.
struct FileTarget {
    int slot = 0;
    std::filesystem::path file;
};

// Where each file of a batch goes, in the order given, and the files for
// which no row was left.
struct FilePlan {
    std::vector<FileTarget> targets;
    std::vector<std::filesystem::path> left;
};

// Files named on the command line or dropped away from the rows: into the
// empty rows from the top, one file per row, in the order given.
FilePlan PlanIntoEmptyRows(const Workspace& ws, const std::vector<std::filesystem::path>& files);

// Files dropped on row `row`: the first replaces that row's spectrum, as its
// Load button would; the others go into the empty rows below it and then,
// when those run out, into the empty rows above it.
FilePlan PlanFromRow(const Workspace& ws, int row, const std::vector<std::filesystem::path>& files);

// Loads the plan's files in order (its targets, then those left over) as the
// file chooser loads a file (LoadIntoSlot), a relative path taken from the
// current folder, each into the next of the plan's rows; a refused file
// leaves its row to the next file when the row is empty. A file of several
// spectra fills empty rows beyond its own (CommitLoad): the files after it
// skip the planned rows it filled, and when the plan runs out, take the
// first empty rows. Each load goes
// without its own redraw: once the batch has loaded, the plot is drawn once if
// any file loaded. The messages of the loads (a refused file named with its
// reason) and the names of the files that got no row then show as one
// message (BatchMessage). Returns the number of files loaded.
int LoadFiles(Workspace& ws, const FilePlan& plan, UiHooks& ui);

// One message of a batch's messages: a single one as it is, several under a
// line that counts them, in their order.
std::string BatchMessage(const std::vector<std::string>& messages);

// The message naming the files for which no row was left.
std::string NoRowLeftMessage(const std::vector<std::filesystem::path>& left);

}  // namespace wendrel
