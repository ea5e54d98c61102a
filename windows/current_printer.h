// The program's one current printer: a QPrinter kept for the whole run, with
// the settings the print setup chose, and the mapping between those settings
// and the QPrinter's.
#pragma once

#include <QPrinter>
#include <memory>

#include "app/printing.h"

class QPrinterInfo;

namespace wendrel {

// The printers CUPS (or the platform's printing system) has installed.
class SystemPrinters final : public PrinterList {
public:
    std::vector<InstalledPrinter> Installed() const override;
};

// A queue as the program names it: device name, its make and model as the
// driver name, its location as the port.
InstalledPrinter Describe(const QPrinterInfo& info);

// The page settings a QPrinter holds: copies, orientation, colour mode,
// duplex, paper source (QPrinter::PaperSource), paper size
// (QPageSize::PageSizeId) and resolution in dots per inch as print quality.
PageSettings ReadPageSettings(const QPrinter& printer);
// Puts the settings on the printer: the device, or for the file printer PDF
// output into its port's path, and the page settings.
void ApplyPrinterSettings(const PrinterSettings& settings, QPrinter& printer);

class CurrentPrinter {
public:
    CurrentPrinter();
    ~CurrentPrinter();
    CurrentPrinter(const CurrentPrinter&) = delete;
    CurrentPrinter& operator=(const CurrentPrinter&) = delete;

    // The settings; the first use takes the system's default printer and its
    // page settings.
    PrinterSettings& Settings();
    // The printer with the settings applied, the device being the system's
    // default printer of the moment while the settings follow it.
    QPrinter& Printer();

private:
    void Ensure();

    PrinterSettings settings_;
    // Made on first use, since asking the printing system takes time.
    std::unique_ptr<QPrinter> printer_;
};

}  // namespace wendrel
