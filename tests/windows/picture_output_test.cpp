// The plot window's picture saved as PNG, SVG and PDF, printed into a PDF
// file and, as root, through a CUPS scheduler of the test's own with a
// cups-pdf queue; all read back (PDF pages through poppler-utils).
#include <unistd.h>

#include <QComboBox>
#include <QDeadlineTimer>
#include <QDialog>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QRadioButton>
#include <QThread>
#include <algorithm>

#include "tests/windows/private_cups.h"
#include "tests/windows/program_fixture.h"
#include "windows/plot_printing.h"

namespace wendrel::testing {
namespace {

// What a poppler-utils command writes to its output; empty when it fails.
QByteArray Poppler(const QString& command, const QStringList& args) {
    QProcess process;
    process.start(command, args);
    return process.waitForFinished(60000) && process.exitCode() == 0 ? process.readAllStandardOutput() : QByteArray();
}

// The first page of a PDF as an image; null when it fails.
QImage RenderPdfPage(const QString& pdf, int dpi) {
    return QImage::fromData(Poppler("pdftoppm", {"-png", "-singlefile", "-r", QString::number(dpi), pdf}), "PNG");
}

// Pixels within `tolerance` of the colour in each component; printing and
// PDF rendering may smooth the picture a little.
int CountNear(const QImage& image, const QColor& colour, int tolerance = 40) {
    int count = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x) {
            const QColor c = image.pixelColor(x, y);
            count += std::max({std::abs(c.red() - colour.red()), std::abs(c.green() - colour.green()),
                               std::abs(c.blue() - colour.blue())}) <= tolerance;
        }
    return count;
}

class PictureOutputTest : public ProgramTest {
protected:
    // Saves through the menu, the file dialog answering `name` in the data folder.
    QString SaveAs(frmPlot_Spectra& plot, const std::string& name) {
        const QString path = DataFile(name);
        program_->pictureSaving().SetAskFileName([&](QWidget*, const QString& suggested) {
            offered_ = suggested;
            return path;
        });
        plot.SavePictureAction()->trigger();
        ProcessEvents();
        return path;
    }
    PrinterSettings& Settings() { return program_->printing().Current().Settings(); }
    // As a print setup that chose a file leaves the current printer.
    void PrintInto(const std::string& file) {
        Settings().FollowDefault = false;
        Settings().SelectFile(file);
    }

    QString offered_;
};

TEST_F(PictureOutputTest, SavesThePictureAsPngSvgAndPdf) {
    frmPlot_Spectra& plot = StartWithTwoSpectra();
    const QImage png(SaveAs(plot, "plot.png"));
    EXPECT_EQ(offered_, DataFile("s1.png"));
    EXPECT_EQ(png.convertToFormat(QImage::Format_RGB32), WindowPicture(plot).convertToFormat(QImage::Format_RGB32));
    for (int slot : {1, 2}) EXPECT_GT(CountNear(png, Swatch(slot), 0), 100) << slot;

    QFile svgFile(SaveAs(plot, "plot.svg"));
    EXPECT_EQ(offered_, DataFile("plot.png"));  // the file saved last
    ASSERT_TRUE(svgFile.open(QIODevice::ReadOnly));
    const QString svg = QString::fromUtf8(svgFile.readAll());
    EXPECT_GE(svg.count("<polyline"), 2);
    for (int slot : {1, 2}) EXPECT_TRUE(svg.contains("stroke=\"" + Swatch(slot).name() + "\"")) << slot;
    for (const char* text : {">Wavelength /Angstroms</text>", ">Intensity</text>", ">Full Range</text>"})
        EXPECT_TRUE(svg.contains(text)) << text;

    const QString pdf = SaveAs(plot, "plot.pdf");
    for (int slot : {1, 2}) EXPECT_GT(CountNear(RenderPdfPage(pdf, 96), Swatch(slot)), 100) << slot;
    EXPECT_TRUE(Poppler("pdftotext", {"-raw", pdf, "-"}).contains("Wavelength /Angstroms"));
    EXPECT_TRUE(messages_.empty());
}

TEST_F(PictureOutputTest, PrintsThePictureIntoAPdfFileInColourOrInGreyAsTheDialogSays) {
    frmPlot_Spectra& plot = StartWithTwoSpectra();
    PrintInto((data_ / "plot.pdf").string());
    plot.PrintAction()->trigger();
    EXPECT_TRUE(messages_.empty());
    for (int slot : {1, 2}) EXPECT_GT(CountNear(RenderPdfPage(DataFile("plot.pdf"), 60), Swatch(slot)), 100) << slot;

    bool grey = false;
    AnswerNextDialog([&](QWidget& dialog) {
        if (auto* button = dialog.findChild<QRadioButton*>("grayscale")) button->setChecked(grey = true);
        static_cast<QDialog&>(dialog).accept();
    });
    plot.PrintSetupAction()->trigger();
    ASSERT_TRUE(grey) << "the dialog's colour choice";
    plot.PrintAction()->trigger();
    const QImage greyPage = RenderPdfPage(DataFile("plot.pdf"), 60);
    const int level = qGray(Swatch(1).rgb());
    EXPECT_EQ(CountNear(greyPage, Swatch(1)), 0);
    EXPECT_GT(CountNear(greyPage, QColor(level, level, level)), 100);
}

TEST_F(PictureOutputTest, AFailureShowsItsNumberAndText) {
    frmPlot_Spectra& plot = StartWithTwoSpectra();
    const std::pair<std::string, std::string> cases[] = {
        {"/dev/full", " 61 Error 61: Disk full."},
        {(data_ / "no such folder" / "plot.pdf").string(), " 76 Error 76: Path not found."},
        {data_.string(), " 75 Error 75: Path/file access error."},
        {"", " 482 "}};  // a printer that is gone
    for (const auto& [file, message] : cases) {
        messages_.clear();
        PrintInto(file);
        if (file.empty()) Settings().SelectDevice({"Gone", "", ""});
        plot.PrintAction()->trigger();
        EXPECT_EQ(messages_, std::vector<std::string>{message}) << file;
    }
}

TEST_F(PictureOutputTest, PrintsThroughACupsPdfQueue) {
    if (::geteuid() != 0)
        GTEST_SKIP() << "SKIPPED: printing through a real CUPS scheduler needs root, to install CUPS and cups-pdf "
                        "and to start a scheduler of the test's own";
    ASSERT_EQ(EnsureCupsPackages().toStdString(), "");
    // Mixed case: the print setup upper-cases the dialog's name and finds the
    // queue again in the installed list.
    const QString queue = "Wendrel_Pdf_" + QString::number(::getpid());
    PrivateCups cups;
    ASSERT_EQ(cups.Start(queue).toStdString(), "");
    frmPlot_Spectra& plot = StartWithTwoSpectra();

    bool chosen = false;
    AnswerNextDialog([&](QWidget& dialog) {
        for (QComboBox* box : dialog.findChildren<QComboBox*>())
            if (const int index = box->findText(queue); index >= 0) {
                box->setCurrentIndex(index);
                chosen = true;
            }
        static_cast<QDialog&>(dialog).accept();
    });
    plot.PrintSetupAction()->trigger();
    ASSERT_TRUE(chosen) << "the queue in the dialog's printer list";
    plot.PrintAction()->trigger();
    EXPECT_TRUE(messages_.empty()) << messages_.front();

    QString pdf;  // once the queue has no job left
    for (QDeadlineTimer deadline(90000); pdf.isEmpty() && !deadline.hasExpired(); QThread::msleep(200)) {
        const QFileInfoList pdfs = QDir(cups.OutputFolder()).entryInfoList({"*.pdf"}, QDir::Files);
        if (!pdfs.isEmpty() && pdfs.front().size() > 0 && cups.PendingJobs().isEmpty())
            pdf = pdfs.front().absoluteFilePath();
    }
    ASSERT_FALSE(pdf.isEmpty()) << "no PDF from the queue; jobs: " << cups.PendingJobs().toStdString()
                                << cups.ErrorLog().toStdString();
    for (int slot : {1, 2}) EXPECT_GT(CountNear(RenderPdfPage(pdf, 60), Swatch(slot)), 100) << slot;

    // A stopped queue refuses the next job: the printer error.
    ASSERT_EQ(cups.StopQueue().toStdString(), "");
    plot.PrintAction()->trigger();
    EXPECT_EQ(messages_, std::vector<std::string>{" 482 "});
}

}  // namespace
}  // namespace wendrel::testing
