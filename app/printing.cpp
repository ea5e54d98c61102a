#include "app/printing.h"

#include <QString>
#include <algorithm>

#include "app/error_messages.h"

namespace wendrel {

namespace {

// Printer names may hold any letters, so upper case is Unicode's.
std::string UpperCase(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())).toUpper().toStdString();
}

}  // namespace

void PrinterSettings::SelectDevice(const InstalledPrinter& printer) {
    DeviceName = printer.DeviceName;
    DriverName = printer.DriverName;
    Port = printer.Port;
}

void PrinterSettings::SelectFile(std::string path) {
    DeviceName.clear();
    DriverName = kFileDriver;
    Port = std::move(path);
}

void ApplyPrinterChoice(PrinterSettings& current, std::string_view chosenName, const PrinterList& installed) {
    const std::string wanted = UpperCase(chosenName);
    if (wanted == current.DeviceName) return;
    for (const InstalledPrinter& printer : installed.Installed())
        if (UpperCase(printer.DeviceName) == wanted) current.SelectDevice(printer);
}

void PrintSetup(PrinterSettings& current, PrinterDialog& dialog, const PrinterList& installed) {
    dialog.SetPrinterName(current.DeviceName);
    dialog.SetDriverName(current.DriverName);
    dialog.SetPort(current.Port);
    dialog.SetPaperBin(current.Page.PaperBin);
    dialog.SetFlags(kPrintSetupFlags);
    current.FollowDefault = false;
    if (!dialog.ShowPrinter()) return;

    if (std::string file = dialog.OutputFile(); !file.empty())
        current.SelectFile(std::move(file));
    else
        ApplyPrinterChoice(current, dialog.PrinterName(), installed);

    PageSettings& page = current.Page;
    page.Copies = dialog.Copies();
    page.Orientation = dialog.Orientation();
    page.ColorMode = dialog.ColorMode();
    page.Duplex = dialog.Duplex();
    page.PaperBin = dialog.PaperBin();
    page.PaperSize = dialog.PaperSize();
    page.PrintQuality = dialog.PrintQuality();
}

PagePlace PlaceOnPage(double pictureWidth, double pictureHeight, double areaWidth, double areaHeight) {
    if (pictureWidth <= 0 || pictureHeight <= 0 || areaWidth <= 0 || areaHeight <= 0) return {};
    const double scale = std::min(areaWidth / pictureWidth, areaHeight / pictureHeight);
    const double width = pictureWidth * scale;
    return {(areaWidth - width) / 2, 0, width, pictureHeight * scale};
}

int PrintErrorNumber(PrintFailure failure) {
    switch (failure) {
        case PrintFailure::NoPrinter:
        case PrintFailure::PrinterRefused:
        case PrintFailure::CannotStart:
            return 482;
        case PrintFailure::PathNotFound:
            return 76;
        case PrintFailure::PermissionDenied:
            return 70;
        case PrintFailure::FileAccess:
            return 75;
        case PrintFailure::DiskFull:
            return 61;
        case PrintFailure::DeviceIo:
            return 57;
        case PrintFailure::OutOfMemory:
            return 7;
    }
    return 482;
}

std::string PrintErrorText(int number) {
    const std::string sign = number < 0 ? "-" : " ";
    const std::string digits = std::to_string(number < 0 ? -static_cast<long long>(number) : number);
    return sign + digits + " " + std::string(ErrMsg(number));
}

}  // namespace wendrel
