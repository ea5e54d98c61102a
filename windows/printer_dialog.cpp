#include "windows/printer_dialog.h"

#include <QPrintDialog>

namespace wendrel {

QAbstractPrintDialog::PrintDialogOptions DialogOptions(int32_t flags,
                                                       QAbstractPrintDialog::PrintDialogOptions defaults) {
    QAbstractPrintDialog::PrintDialogOptions options = defaults;
    if (flags & kNoSelectionFlag) options.setFlag(QAbstractPrintDialog::PrintSelection, false);
    if (flags & kNoPageNumbersFlag) {
        options.setFlag(QAbstractPrintDialog::PrintPageRange, false);
        options.setFlag(QAbstractPrintDialog::PrintCurrentPage, false);
    }
    return options;
}

QtPrinterDialog::QtPrinterDialog(QWidget* owner) : owner_(owner) {}

void QtPrinterDialog::SetPrinterName(const std::string& name) {
    if (!name.empty()) printer_.setPrinterName(QString::fromStdString(name));
}

void QtPrinterDialog::SetDriverName(const std::string& driver) { driver_ = driver; }

void QtPrinterDialog::SetPort(const std::string& port) {
    if (driver_ != kFileDriver || port.empty()) return;
    printer_.setOutputFormat(QPrinter::PdfFormat);
    printer_.setOutputFileName(QString::fromStdString(port));
}

void QtPrinterDialog::SetPaperBin(int16_t bin) {
    if (bin >= 0 && bin <= QPrinter::LastPaperSource) printer_.setPaperSource(static_cast<QPrinter::PaperSource>(bin));
}

void QtPrinterDialog::SetFlags(int32_t flags) { flags_ = flags; }

bool QtPrinterDialog::ShowPrinter() {
    QPrintDialog dialog(&printer_, owner_);
    dialog.setObjectName("PrinterDialog");
    dialog.setOptions(DialogOptions(flags_, dialog.options()));
    return dialog.exec() == QDialog::Accepted;
}

bool QtPrinterDialog::PrintsToFile() const {
    return printer_.outputFormat() == QPrinter::PdfFormat && !printer_.outputFileName().isEmpty();
}

std::string QtPrinterDialog::PrinterName() const {
    return PrintsToFile() ? std::string() : printer_.printerName().toStdString();
}

std::string QtPrinterDialog::OutputFile() const {
    return PrintsToFile() ? printer_.outputFileName().toStdString() : std::string();
}

}  // namespace wendrel
