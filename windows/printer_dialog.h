// Qt's print dialog as the print setup's printer dialog. Each use makes its
// own QPrinter, which the dialog edits; the current printer is changed only
// by the print setup, from what is read back here.
#pragma once

#include <QAbstractPrintDialog>
#include <QPrinter>

#include "app/printing.h"
#include "windows/current_printer.h"

class QWidget;

namespace wendrel {

// The dialog's options for the option flags: the dialog's own defaults
// without selection printing (flag 0x4) and without page ranges (flag 0x8).
QAbstractPrintDialog::PrintDialogOptions DialogOptions(int32_t flags,
                                                       QAbstractPrintDialog::PrintDialogOptions defaults);

class QtPrinterDialog final : public PrinterDialog {
public:
    // The dialog is modal and owned by `owner`.
    explicit QtPrinterDialog(QWidget* owner);

    // The name selects the queue; the dialog shows that queue's own make,
    // model and location, so the driver name matters only for the file
    // printer, whose port is the file that the dialog offers.
    void SetPrinterName(const std::string& name) override;
    void SetDriverName(const std::string& driver) override;
    void SetPort(const std::string& port) override;
    void SetPaperBin(int16_t bin) override;
    void SetFlags(int32_t flags) override;

    bool ShowPrinter() override;

    std::string PrinterName() const override;
    std::string OutputFile() const override;
    int16_t Copies() const override { return ReadPageSettings(printer_).Copies; }
    int16_t Orientation() const override { return ReadPageSettings(printer_).Orientation; }
    int16_t ColorMode() const override { return ReadPageSettings(printer_).ColorMode; }
    int16_t Duplex() const override { return ReadPageSettings(printer_).Duplex; }
    int16_t PaperBin() const override { return ReadPageSettings(printer_).PaperBin; }
    int16_t PaperSize() const override { return ReadPageSettings(printer_).PaperSize; }
    int16_t PrintQuality() const override { return ReadPageSettings(printer_).PrintQuality; }

private:
    bool PrintsToFile() const;

    QWidget* owner_;
    QPrinter printer_{QPrinter::HighResolution};
    std::string driver_;
    int32_t flags_ = 0;
};

}  // namespace wendrel
