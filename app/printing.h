// The current printer and its page settings, the print setup that changes
// them through a printer dialog, and the texts shown when printing fails.
// No widgets: the windows supply the dialog and the list of installed
// printers, and turn the settings into the printing system's own.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace wendrel {

// The seven page settings of the current printer, in the order the print
// setup copies them from the dialog.
struct PageSettings {
    int16_t Copies = 1;
    int16_t Orientation = 1;   // 1 portrait, 2 landscape
    int16_t ColorMode = 2;     // 1 black and white, 2 colour
    int16_t Duplex = 1;        // 1 none, 2 long edge, 3 short edge
    int16_t PaperBin = 0;      // the printing system's paper source code
    int16_t PaperSize = 0;     // the printing system's paper size code
    int16_t PrintQuality = 0;  // the printing system's quality code

    bool operator==(const PageSettings&) const = default;
};

// An installed printer as the printing system lists it.
struct InstalledPrinter {
    std::string DeviceName;
    std::string DriverName;
    std::string Port;

    bool operator==(const InstalledPrinter&) const = default;
};

// The driver name of the printer that writes PDF files; its port is the
// file's path.
inline constexpr std::string_view kFileDriver = "PDF";

// The process-wide current printer: its device, driver and port, whether it
// follows the system's default printer, and its page settings.
struct PrinterSettings {
    std::string DeviceName;
    std::string DriverName;
    std::string Port;
    bool FollowDefault = true;
    PageSettings Page;

    bool PrintsToFile() const { return DriverName == kFileDriver && !Port.empty(); }
    void SelectDevice(const InstalledPrinter& printer);
    void SelectFile(std::string path);
};

// The installed printers, in the printing system's order.
class PrinterList {
public:
    virtual ~PrinterList() = default;
    virtual std::vector<InstalledPrinter> Installed() const = 0;
};

// The printer dialog of the print setup: filled before it is shown, read
// after the user confirmed it.
class PrinterDialog {
public:
    virtual ~PrinterDialog() = default;

    virtual void SetPrinterName(const std::string& name) = 0;
    virtual void SetDriverName(const std::string& driver) = 0;
    virtual void SetPort(const std::string& port) = 0;
    virtual void SetPaperBin(int16_t bin) = 0;
    virtual void SetFlags(int32_t flags) = 0;

    // Shows the dialog modally; true when the user confirmed it.
    virtual bool ShowPrinter() = 0;

    virtual std::string PrinterName() const = 0;
    // The file the user chose to print into instead of a printer; empty
    // when a printer was chosen.
    virtual std::string OutputFile() const = 0;
    virtual int16_t Copies() const = 0;
    virtual int16_t Orientation() const = 0;
    virtual int16_t ColorMode() const = 0;
    virtual int16_t Duplex() const = 0;
    virtual int16_t PaperBin() const = 0;
    virtual int16_t PaperSize() const = 0;
    virtual int16_t PrintQuality() const = 0;
};

// Option flags of the dialog: no selection (0x4), no page numbers (0x8),
// return a device context (0x100).
inline constexpr int32_t kNoSelectionFlag = 0x4;
inline constexpr int32_t kNoPageNumbersFlag = 0x8;
inline constexpr int32_t kPrintSetupFlags = 0x10C;

// Makes the printer chosen by name in the dialog current. The chosen name in
// upper case is compared exactly with the current device name; when they
// differ, every installed printer whose name in upper case equals it becomes
// current in turn, so of several matches the last one wins and with none the
// current printer stays. The list is asked for only when the names differ.
void ApplyPrinterChoice(PrinterSettings& current, std::string_view chosenName, const PrinterList& installed);

// File > "Print Setup ...": fills the dialog from the current printer, stops
// following the system's default printer, shows the dialog and, when the user
// confirms it, makes the chosen printer (or file) current and copies the
// seven page settings from the dialog. A cancel changes nothing more.
void PrintSetup(PrinterSettings& current, PrinterDialog& dialog, const PrinterList& installed);

// Why printing failed, as far as the printing system tells.
enum class PrintFailure {
    NoPrinter,         // no printer installed or the current one is gone
    PrinterRefused,    // the printer is stopped or does not take jobs
    CannotStart,       // the printing system could not start the page
    PathNotFound,      // the output file's folder does not exist
    PermissionDenied,  // the output file may not be written
    FileAccess,        // the output file cannot be opened for another reason
    DiskFull,          // the output file's disk is full
    DeviceIo,          // writing the output failed for another reason
    OutOfMemory,       // the page picture could not be made
};

// Where a picture of pictureWidth x pictureHeight goes in a printable area of
// areaWidth x areaHeight (any one unit): as large as fits with its
// proportions kept, centred across the area, at its top.
struct PagePlace {
    double Left = 0, Top = 0, Width = 0, Height = 0;
    bool operator==(const PagePlace&) const = default;
};
PagePlace PlaceOnPage(double pictureWidth, double pictureHeight, double areaWidth, double areaHeight);

// The run-time error number reported for a failure. Failures of the printer
// itself give 482, the printer error, which has no text of its own.
int PrintErrorNumber(PrintFailure failure);

// The message of a failed print: the number with a blank in place of the
// sign of a positive number, one blank, and the number's error text (none
// for numbers without one, such as 482 or any above 1000).
std::string PrintErrorText(int number);

}  // namespace wendrel
