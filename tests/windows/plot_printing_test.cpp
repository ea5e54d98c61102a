#include "windows/plot_printing.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QDialog>
#include <QFile>
#include <QPrintDialog>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>

#include "tests/windows/print_test_support.h"
#include "windows/plot_window.h"
#include "windows/printer_dialog.h"
#include "windows/program.h"

namespace wendrel {
namespace {

using testing::CountNear;
using testing::InkBox;
using testing::ModalAnswer;
using testing::RenderPdfPage;
using testing::SlotColour;

// A plot window with two spectra and printing connected to its menu.
class PlotPrintingTest : public ::testing::Test {
protected:
    PlotPrintingTest() { printing.Connect(plot.Window()); }

    PrinterSettings& Settings() { return printing.Current().Settings(); }
    // As a print setup that chose a file leaves the current printer.
    void PrintInto(const QString& path) {
        Settings().FollowDefault = false;
        Settings().SelectFile(path.toStdString());
    }
    void Print() { plot.Window().PrintAction()->trigger(); }
    void PrintSetup() { plot.Window().PrintSetupAction()->trigger(); }
    QString File(const QString& name) const { return out.filePath(name); }

    QTemporaryDir out;
    testing::TwoSpectraPlot plot;
    testing::RecordingUi messages;
    PlotPrinting printing{messages};
};

TEST_F(PlotPrintingTest, PrintsTheWindowAsItShowsItOnOnePdfPage) {
    PrintInto(File("plot.pdf"));
    Settings().Page.Orientation = 2;
    Print();
    ASSERT_TRUE(messages.messages.empty()) << messages.messages.front();

    const QImage page = RenderPdfPage(File("plot.pdf"), File("page"), 150);
    ASSERT_FALSE(page.isNull());
    EXPECT_GT(page.width(), page.height()) << "landscape";
    EXPECT_GT(CountNear(page, SlotColour(plot.ws, 1)), 100) << "the first spectrum's curve";
    EXPECT_GT(CountNear(page, SlotColour(plot.ws, 2)), 100) << "the second spectrum's curve";

    // The picture keeps the proportions of the window's client area and
    // fills the printable area in one direction.
    const QSize shown = plot.Window().Canvas()->size();
    const QRect ink = InkBox(page);
    const double pageAspect = static_cast<double>(ink.width()) / ink.height();
    const double windowAspect = static_cast<double>(shown.width()) / shown.height();
    EXPECT_NEAR(pageAspect, windowAspect, 0.05 * windowAspect);
    EXPECT_TRUE(ink.width() > 0.85 * page.width() || ink.height() > 0.85 * page.height());

    if (const QString keep = qEnvironmentVariable("WENDREL_KEEP_PRINTS"); !keep.isEmpty())
        page.save(keep + "/pdf-file-page.png");
}

TEST_F(PlotPrintingTest, APageHoldsTheBottomControlsAndLabels) {
    // The read-out labels are white boxes with black edges below the plot:
    // print the picture alone and compare with the plot image.
    const QImage picture = WindowPicture(plot.Window());
    ASSERT_EQ(picture.size(), plot.Window().Canvas()->size());
    const QImage plotOnly = plot.Window().Image();
    int differing = 0;
    for (int y = 0; y < picture.height(); ++y)
        for (int x = 0; x < picture.width(); ++x)
            if (picture.pixel(x, y) != plotOnly.pixel(x, y)) ++differing;
    EXPECT_GT(differing, 500) << "labels and controls are drawn over the plot image";
    const QPoint inButton = plot.Window().Command1()->geometry().center();
    EXPECT_NE(picture.pixel(inButton), plotOnly.pixel(inButton));
}

struct FailureCase {
    const char* what;
    QString (*path)(const QTemporaryDir&);
    const char* message;
    friend void PrintTo(const FailureCase& c, std::ostream* os) { *os << c.what; }
};

class PrintFailureTest : public PlotPrintingTest, public ::testing::WithParamInterface<FailureCase> {};

TEST_P(PrintFailureTest, ShowsTheNumberAndItsText) {
    PrintInto(GetParam().path(out));
    Print();
    EXPECT_EQ(messages.messages, std::vector<std::string>{GetParam().message});
}

INSTANTIATE_TEST_SUITE_P(
    PlotPrinting, PrintFailureTest,
    ::testing::Values(
        FailureCase{"full disk", [](const QTemporaryDir&) { return QString("/dev/full"); },
                    " 61 Error 61: Disk full."},
        FailureCase{"missing folder", [](const QTemporaryDir& d) { return d.filePath("no such folder/plot.pdf"); },
                    " 76 Error 76: Path not found."},
        FailureCase{"a folder in place of the file", [](const QTemporaryDir& d) { return d.path(); },
                    " 75 Error 75: Path/file access error."}),
    [](const ::testing::TestParamInfo<FailureCase>& info) { return "Case" + std::to_string(info.index); });

TEST_F(PlotPrintingTest, APrinterThatIsGoneShowsThePrinterError) {
    Settings().FollowDefault = false;
    Settings().DeviceName = "Gone";
    Print();
    EXPECT_EQ(messages.messages, std::vector<std::string>{" 482 "});
}

TEST_F(PlotPrintingTest, CancellingPrintSetupLeavesThePrinterAndPageSettings) {
    PrintInto(File("kept.pdf"));
    Settings().Page.Copies = 3;
    Settings().Page.Orientation = 2;
    const PageSettings before = Settings().Page;
    ModalAnswer cancel([](QWidget& dialog) {
        auto* copies = dialog.findChild<QSpinBox*>("copies");
        if (copies) copies->setValue(7);
        dialog.close();
    });
    PrintSetup();
    EXPECT_TRUE(cancel.Answered());
    EXPECT_EQ(cancel.DialogClass(), "QPrintDialog");
    EXPECT_EQ(Settings().Page, before);
    EXPECT_EQ(Settings().Port, File("kept.pdf").toStdString());
    EXPECT_FALSE(Settings().FollowDefault);
}

TEST_F(PlotPrintingTest, ConfirmedPrintSetupTakesTheDialogsSettingsForTheNextPrint) {
    PrintInto(File("chosen.pdf"));
    Settings().Page.Copies = 1;
    Settings().Page.ColorMode = 2;
    bool found = false;
    ModalAnswer confirm([&found](QWidget& dialog) {
        auto* copies = dialog.findChild<QSpinBox*>("copies");
        auto* grey = dialog.findChild<QRadioButton*>("grayscale");
        found = copies && grey;
        if (copies) copies->setValue(2);
        if (grey) grey->setChecked(true);
        static_cast<QDialog&>(dialog).accept();
    });
    PrintSetup();
    ASSERT_TRUE(confirm.Answered());
    ASSERT_TRUE(found) << "copies and colour controls of the dialog";
    EXPECT_EQ(Settings().Page.Copies, 2);
    EXPECT_EQ(Settings().Page.ColorMode, 1);
    EXPECT_TRUE(Settings().PrintsToFile());
    EXPECT_EQ(Settings().Port, File("chosen.pdf").toStdString());

    Print();
    EXPECT_TRUE(messages.messages.empty());
    const QImage page = RenderPdfPage(File("chosen.pdf"), File("chosen"), 150);
    ASSERT_FALSE(page.isNull());
    EXPECT_EQ(CountNear(page, SlotColour(plot.ws, 1)), 0) << "printed in shades of grey";
    EXPECT_GT(InkBox(page).width(), page.width() / 2);
}

TEST(PrinterDialogOptions, NoSelectionAndNoPageNumbersTakeTheirOptionsAway) {
    using O = QAbstractPrintDialog;
    const O::PrintDialogOptions all = O::PrintToFile | O::PrintSelection | O::PrintPageRange |
                                      O::PrintShowPageSize | O::PrintCollateCopies | O::PrintCurrentPage;
    EXPECT_EQ(DialogOptions(kPrintSetupFlags, all), O::PrintToFile | O::PrintShowPageSize | O::PrintCollateCopies);
    EXPECT_EQ(DialogOptions(kNoSelectionFlag, all), all & ~O::PrintDialogOptions(O::PrintSelection));
    EXPECT_EQ(DialogOptions(0, all), all);
}

TEST(CurrentPrinterMapping, PageSettingsSurviveTheWayThroughAQPrinter) {
    PrinterSettings settings;
    settings.SelectFile("/tmp/unused.pdf");
    settings.Page = {3, 2, 1, 3, static_cast<int16_t>(QPrinter::Manual), static_cast<int16_t>(QPageSize::A5), 300};
    QPrinter printer(QPrinter::HighResolution);
    ApplyPrinterSettings(settings, printer);
    EXPECT_EQ(printer.outputFormat(), QPrinter::PdfFormat);
    EXPECT_EQ(printer.outputFileName(), "/tmp/unused.pdf");
    const PageSettings back = ReadPageSettings(printer);
    EXPECT_EQ(back.Copies, 3);
    EXPECT_EQ(back.Orientation, 2);
    EXPECT_EQ(back.ColorMode, 1);
    EXPECT_EQ(back.PaperSize, QPageSize::A5);
    EXPECT_EQ(back.PrintQuality, 300);
}

TEST(ProgramPrinting, ThePlotWindowsPrintReportsThroughTheProgramsMessageBox) {
    QTemporaryDir folder;
    std::vector<std::string> shown;
    Program program(folder.filePath("Wendrel3.ini").toStdString(),
                    [&shown](const std::string& text) { shown.push_back(text); }, [] {});
    program.Start();
    Workspace& ws = program.workspace();
    testing::RecordingUi quiet;
    SpectrumFile spectrum;
    for (int p = 0; p < 200; ++p) spectrum.stored.push_back(100 + p % 7);
    WriteFileBytes(folder.filePath("one.fits").toStdString(), SpectrumBytes(spectrum));
    ASSERT_TRUE(LoadIntoSlot(ws, 1, folder.filePath("one.fits").toStdString(), quiet));
    program.RedrawPlot();
    ASSERT_NE(program.plotHost().Window(), nullptr);

    PrinterSettings& current = program.printing().Current().Settings();
    current.FollowDefault = false;
    current.SelectFile("/dev/full");
    program.plotHost().Window()->PrintAction()->trigger();
    EXPECT_EQ(shown, std::vector<std::string>{" 61 Error 61: Disk full."});
}

}  // namespace
}  // namespace wendrel
