// File > "Open ..." of the main window: Qt's own file dialog, several files
// at once, spectra listed first.
#pragma once

#include <QString>
#include <QStringList>

class QWidget;

namespace wendrel {

// The dialog's file types: the spectra the program reads, then every file.
inline constexpr const char* kOpenFilters =
    "Spectra (*.fits *.fit *.fts *.gz *.fz *.txt *.dat *.csv *.tsv *.ascii);;All files (*)";

// Asks for the files to open, starting in `folder`; none after Cancel. The
// dialog is named "openFiles".
QStringList AskFilesToOpen(QWidget* parent, const QString& folder);

}  // namespace wendrel
