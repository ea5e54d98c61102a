// Loading a FITS spectrum into a slot of the workspace.
#pragma once

#include "store/ui_hooks.h"
#include "store/workspace.h"

namespace wendrel {

// Reads the file FilePath/FileName of slot `slot` (0..10) into that slot:
// header cards, keyword values, pixels, wavelength range, continuum level and
// percent values. The slot's Velocity returns to 0. It widens
// LambdaMin/LambdaMax to the slot's range, resets the view to the full
// range, marks the slot loaded, shows its row through `ui` and, when the plot
// window is open, redraws the plot. Warnings and refusals go to
// ui.ShowMessage in the order they arise. A refused load changes nothing in
// the workspace. Returns whether the slot was loaded.
bool LoadFitsFile(Workspace& ws, int slot, UiHooks& ui);

// The program's message texts the reader shows.
inline constexpr const char* kNotFitsMessage = "This is not a fits file!  Please try again.";
inline constexpr const char* kEightBitMessage =
    "Sorry, this program does not support 8-bit integer data.  Convert to 16-bit unsigned.";
inline constexpr const char* kSignedDataMessage =
    "Your data are signed (16-bit) integer. They work as long as all values are < 32768.  "
    "Unsigned (16-bit) integer data type is recommended.";
inline constexpr const char* kLambda0Message = "You need to set the keyword for Lambda 0.";
inline constexpr const char* kDLambdaMessage = "You need to set the keyword for dLambda/dP.";

}  // namespace wendrel
