// Printing from the plot window's File menu: "Print Setup ..." changes the
// program's current printer through Qt's print dialog, "Print" puts the
// window's picture on one page of it.
#pragma once

#include <QImage>
#include <optional>

#include "app/printing.h"
#include "app/ui_hooks.h"
#include "windows/current_printer.h"

class QPrinter;

namespace wendrel {

class frmPlot_Spectra;

// The window's picture as it shows it: the plot with its labels, the
// read-outs and the zoom controls, without the menu bar.
QImage WindowPicture(const frmPlot_Spectra& window);

// Prints the picture on one page, as large as the printable area takes it
// with its proportions kept, in shades of grey when the printer prints in
// black and white. A printer that writes a PDF file writes it
// through the program's own file, so that a full disk is noticed. Returns
// the failure, if any.
std::optional<PrintFailure> PrintPicture(QPrinter& printer, const QImage& picture);

class PlotPrinting {
public:
    // Messages go to ui.ShowMessage; `installed` lists the printers the
    // print setup matches names against (by default the system's).
    explicit PlotPrinting(UiHooks& ui, const PrinterList* installed = nullptr);

    // Connects a new plot window's "Print Setup ..." and "Print".
    void Connect(frmPlot_Spectra& window);

    void mPrintsetup_Click(frmPlot_Spectra& window);
    void mPrint_Click(frmPlot_Spectra& window);

    CurrentPrinter& Current() { return current_; }

private:
    UiHooks& ui_;
    SystemPrinters system_;
    const PrinterList& installed_;
    CurrentPrinter current_;
};

}  // namespace wendrel
