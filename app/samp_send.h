// Rows sent to other programs through SAMP: each is exported as shown to a
// FITS table (app/spectrum_export.h) in a temporary folder of the run, which
// is removed, with the files, when the program ends.
#pragma once

#include <QDir>
#include <QTemporaryDir>
#include <filesystem>
#include <string>

#include "store/workspace.h"

namespace wendrel {

class SampOutbox {
public:
    SampOutbox();

    // Writes row `row` as a new FITS file; returns it, or an empty path and
    // the reason in `error`.
    std::filesystem::path Write(const Workspace& ws, int row, std::string& error);

private:
    QTemporaryDir folder_;
    int written_ = 0;
};

// The name a sent row goes by: its file's name, or "row N".
std::string SentName(const Workspace& ws, int row);

}  // namespace wendrel
