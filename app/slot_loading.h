// Loading a file into a slot: the one place where a read spectrum enters the
// workspace and the windows are told of it.
#pragma once

#include <filesystem>

#include "app/ui_hooks.h"
#include "fits/fits_reader.h"
#include "store/workspace.h"

namespace wendrel {

// Whether a load redraws the plot itself or leaves that to its caller, as a
// batch of loads does to draw once at the end.
enum class AfterLoad { RedrawWhenShown, NoRedraw };

// FilePath becomes the file's folder, loaded or not. Shows the read's messages
// in their order, each after the file's name ("name.fits: text") unless it
// already starts with the name in quotes, then commits the read spectra:
// the first to slot `slot`, the others to the empty rows below it and then
// to those above, each with its fields and FileName, SourcePath (the file
// read, "name.fits" for "name.fits#2", absolute) and NumberInFile, Velocity 0,
// LambdaMin/LambdaMax widened to its range (set afresh from the empty
// range), the view reset to the full range and its history cleared, the
// slot Loaded and its row shown. A file of several spectra gets a message of
// how many were loaded into which rows, naming those no row was left for.
// Then DataReady, and with RedrawWhenShown the plot is redrawn when its
// window is open. A refused read changes nothing else in the workspace.
// Returns whether a spectrum was loaded.
bool CommitLoad(Workspace& ws, int slot, const std::filesystem::path& file, LoadResult read, UiHooks& ui,
                AfterLoad after = AfterLoad::RedrawWhenShown);

// Reads `file` with the workspace's keywords and commits it (CommitLoad).
// When the file's table holds no column of the names the reader knows, the
// user is asked for the wavelength and flux columns and the file is read
// again with them.
bool LoadIntoSlot(Workspace& ws, int slot, const std::filesystem::path& file, UiHooks& ui,
                  AfterLoad after = AfterLoad::RedrawWhenShown);

}  // namespace wendrel
