#include "windows/current_printer.h"

#include <QPageSize>
#include <QPrinterInfo>
#include <algorithm>
#include <limits>

namespace wendrel {

namespace {

int16_t Int16(int value) {
    return static_cast<int16_t>(std::clamp<int>(value, std::numeric_limits<int16_t>::min(),
                                                std::numeric_limits<int16_t>::max()));
}

QString Text(const std::string& text) { return QString::fromStdString(text); }

}  // namespace

std::vector<InstalledPrinter> SystemPrinters::Installed() const {
    std::vector<InstalledPrinter> printers;
    for (const QPrinterInfo& info : QPrinterInfo::availablePrinters()) printers.push_back(Describe(info));
    return printers;
}

InstalledPrinter Describe(const QPrinterInfo& info) {
    return {info.printerName().toStdString(), info.makeAndModel().toStdString(), info.location().toStdString()};
}

PageSettings ReadPageSettings(const QPrinter& printer) {
    PageSettings page;
    page.Copies = Int16(printer.copyCount());
    page.Orientation = printer.pageLayout().orientation() == QPageLayout::Landscape ? 2 : 1;
    page.ColorMode = printer.colorMode() == QPrinter::Color ? 2 : 1;
    switch (printer.duplex()) {
        case QPrinter::DuplexNone:
            page.Duplex = 1;
            break;
        case QPrinter::DuplexAuto:  // CUPS's usual two-sided printing turns on the long edge
        case QPrinter::DuplexLongSide:
            page.Duplex = 2;
            break;
        case QPrinter::DuplexShortSide:
            page.Duplex = 3;
            break;
    }
    page.PaperBin = Int16(printer.paperSource());
    page.PaperSize = Int16(printer.pageLayout().pageSize().id());
    page.PrintQuality = Int16(printer.resolution());
    return page;
}

void ApplyPrinterSettings(const PrinterSettings& settings, QPrinter& printer) {
    if (settings.PrintsToFile()) {
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(Text(settings.Port));
    } else {
        printer.setOutputFileName(QString());
        printer.setOutputFormat(QPrinter::NativeFormat);
        printer.setPrinterName(Text(settings.DeviceName));
    }

    const PageSettings& page = settings.Page;
    printer.setCopyCount(std::max<int>(page.Copies, 1));
    printer.setPageOrientation(page.Orientation == 2 ? QPageLayout::Landscape : QPageLayout::Portrait);
    printer.setColorMode(page.ColorMode == 1 ? QPrinter::GrayScale : QPrinter::Color);
    printer.setDuplex(page.Duplex == 3   ? QPrinter::DuplexShortSide
                      : page.Duplex == 2 ? QPrinter::DuplexLongSide
                                         : QPrinter::DuplexNone);
    if (page.PaperBin >= 0 && page.PaperBin <= QPrinter::LastPaperSource)
        printer.setPaperSource(static_cast<QPrinter::PaperSource>(page.PaperBin));
    if (page.PaperSize >= 0 && page.PaperSize < QPageSize::LastPageSize) {
        const QPageSize size(static_cast<QPageSize::PageSizeId>(page.PaperSize));
        if (size.isValid()) printer.setPageSize(size);
    }
    if (page.PrintQuality > 0) printer.setResolution(page.PrintQuality);
}

CurrentPrinter::CurrentPrinter() = default;

CurrentPrinter::~CurrentPrinter() = default;

void CurrentPrinter::Ensure() {
    if (printer_) return;
    printer_ = std::make_unique<QPrinter>(QPrinter::HighResolution);
    settings_.SelectDevice(Describe(QPrinterInfo::defaultPrinter()));
    settings_.Page = ReadPageSettings(*printer_);
}

PrinterSettings& CurrentPrinter::Settings() {
    Ensure();
    return settings_;
}

QPrinter& CurrentPrinter::Printer() {
    Ensure();
    if (settings_.FollowDefault) settings_.SelectDevice(Describe(QPrinterInfo::defaultPrinter()));
    ApplyPrinterSettings(settings_, *printer_);
    return *printer_;
}

}  // namespace wendrel
