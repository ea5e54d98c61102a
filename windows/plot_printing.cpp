#include "windows/plot_printing.h"

#include <QAction>
#include <QFile>
#include <QFileInfo>
#include <QPainter>
#include <QPdfWriter>
#include <QPrinter>
#include <QPrinterInfo>

#include "windows/plot_window.h"
#include "windows/printer_dialog.h"

namespace wendrel {

namespace {

void DrawOnPage(QPainter& painter, QSize printable, const QImage& picture) {
    // Lossy compression would wash the colours out of one-pixel curves.
    painter.setRenderHint(QPainter::LosslessImageRendering);
    const PagePlace place = PlaceOnPage(picture.width(), picture.height(), printable.width(), printable.height());
    painter.drawImage(QRectF(place.Left, place.Top, place.Width, place.Height), picture);
}

// Why a file could not be opened for writing.
PrintFailure OpenFailure(const QString& path) {
    const QFileInfo file(path);
    const QFileInfo folder(file.absolutePath());
    if (!folder.isDir()) return PrintFailure::PathNotFound;
    if (file.exists() ? !file.isWritable() && !file.isDir() : !folder.isWritable())
        return PrintFailure::PermissionDenied;
    return PrintFailure::FileAccess;
}

std::optional<PrintFailure> WriteFailure(const QFile& file) {
    switch (file.error()) {
        case QFileDevice::NoError:
            return std::nullopt;
        case QFileDevice::ResourceError:  // no space left on the device
            return PrintFailure::DiskFull;
        default:
            return PrintFailure::DeviceIo;
    }
}

std::optional<PrintFailure> PrintToFile(const QPrinter& printer, const QImage& picture) {
    QFile file(printer.outputFileName());
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate)) return OpenFailure(file.fileName());
    {
        QPdfWriter writer(&file);
        writer.setPageLayout(printer.pageLayout());
        writer.setResolution(printer.resolution());
        writer.setTitle(printer.docName());
        writer.setCreator(printer.creator());
        QPainter painter;
        if (!painter.begin(&writer)) return PrintFailure::CannotStart;
        DrawOnPage(painter, writer.pageLayout().paintRectPixels(writer.resolution()).size(), picture);
        if (!painter.end()) return PrintFailure::CannotStart;
    }
    if (auto failure = WriteFailure(file)) return failure;
    file.flush();
    if (auto failure = WriteFailure(file)) return failure;
    file.close();
    return WriteFailure(file);
}

std::optional<PrintFailure> PrintToDevice(QPrinter& printer, const QImage& picture) {
    const QString name = printer.printerName();
    if (name.isEmpty() || !printer.isValid()) return PrintFailure::NoPrinter;
    const QPrinterInfo info = QPrinterInfo::printerInfo(name);
    if (info.isNull()) return PrintFailure::NoPrinter;
    if (info.state() == QPrinter::Error || info.state() == QPrinter::Aborted) return PrintFailure::PrinterRefused;

    QPainter painter;
    if (!painter.begin(&printer)) return PrintFailure::CannotStart;
    DrawOnPage(painter, printer.pageLayout().paintRectPixels(printer.resolution()).size(), picture);
    if (!painter.end()) return PrintFailure::CannotStart;
    if (printer.printerState() == QPrinter::Error || printer.printerState() == QPrinter::Aborted)
        return PrintFailure::PrinterRefused;
    return std::nullopt;
}

}  // namespace

QImage WindowPicture(const frmPlot_Spectra& window) { return window.Canvas()->grab().toImage(); }

std::optional<PrintFailure> PrintPicture(QPrinter& printer, const QImage& picture) {
    if (picture.isNull()) return PrintFailure::OutOfMemory;
    const QImage page =
        printer.colorMode() == QPrinter::GrayScale ? picture.convertToFormat(QImage::Format_Grayscale8) : picture;
    if (page.isNull()) return PrintFailure::OutOfMemory;
    if (printer.outputFormat() == QPrinter::PdfFormat && !printer.outputFileName().isEmpty())
        return PrintToFile(printer, page);
    return PrintToDevice(printer, page);
}

PlotPrinting::PlotPrinting(UiHooks& ui, const PrinterList* installed)
    : ui_(ui), installed_(installed ? *installed : system_) {}

void PlotPrinting::Connect(frmPlot_Spectra& window) {
    QObject::connect(window.PrintSetupAction(), &QAction::triggered, &window,
                     [this, &window] { mPrintsetup_Click(window); });
    QObject::connect(window.PrintAction(), &QAction::triggered, &window, [this, &window] { mPrint_Click(window); });
}

void PlotPrinting::mPrintsetup_Click(frmPlot_Spectra& window) {
    QtPrinterDialog dialog(&window);
    PrintSetup(current_.Settings(), dialog, installed_);
}

void PlotPrinting::mPrint_Click(frmPlot_Spectra& window) {
    QPrinter& printer = current_.Printer();
    printer.setDocName(window.windowTitle());
    if (const auto failure = PrintPicture(printer, WindowPicture(window)))
        ui_.ShowMessage(PrintErrorText(PrintErrorNumber(*failure)));
}

}  // namespace wendrel
