// The plot window's picture saved as PNG, SVG and PDF, printed into a PDF file and, as root,
// through a CUPS scheduler of the test's own; all read back (PDF pages through poppler-utils).
#include <QComboBox>
#include <QDialog>
#include <QDoubleSpinBox>
#include <QRadioButton>

#include "tests/windows/private_cups.h"
#include "tests/windows/program_fixture.h"
#include "windows/plot_printing.h"
#include "windows/twips.h"

namespace wendrel::testing {

// The first page of a PDF as an image; null when it fails.
static QImage PdfPage(const QString& pdf, int dpi) {
    QProcess process;
    process.start("pdftoppm", {"-png", "-singlefile", "-r", QString::number(dpi), pdf});
    return process.waitForFinished(60000) && process.exitCode() == 0
               ? QImage::fromData(process.readAllStandardOutput(), "PNG") : QImage();
}

// Pixels within `tolerance` of the colour in each component; printing and
// PDF rendering may smooth the picture a little.
static int CountNear(const QImage& image, const QColor& colour, int tolerance = 40) {
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
    // Saves through the menu, the file dialog answering `name` in the data
    // folder and the size dialog `width` x `height` pixels at `dpi`, labels of `points`.
    QString SaveAs(frmPlot_Spectra& plot, const std::string& name, int width = 900, int height = 420, double dpi = 96,
                   double points = 8) {
        const QString path = DataFile(name);
        program_->pictureSaving().SetAskFileName([&](QWidget*, const QString& suggested) {
            offered_ = suggested;
            return path;
        });
        AnswerNextDialog([=](QWidget& dialog) {
            const std::pair<const char*, double> answers[] = {{"width", width}, {"height", height}, {"dpi", dpi}, {"fontPoints", points}};
            for (const auto& [box, value] : answers) dialog.findChild<QDoubleSpinBox*>(box)->setValue(value);
            static_cast<QDialog&>(dialog).accept();
        });
        plot.SavePictureAction()->trigger();
        ProcessEvents();
        return path;
    }
    PrinterSettings& Settings() { return program_->printing().Current().Settings(); }
    QColor Swatch(int slot) { return row(slot).Label3->palette().color(QPalette::Window); }
    void ShowsBothCurves(const QImage& picture, int tolerance = 40) {
        for (int slot : {1, 2}) EXPECT_GT(CountNear(picture, Swatch(slot), tolerance), 100) << slot;
    }
    QString offered_;
};

TEST_F(PictureOutputTest, SavesThePictureAsPngSvgAndPdf) {
    frmPlot_Spectra& plot = StartWithTwoSpectra();
    // Exactly the pixels asked for, whatever the screen's scale.
    const QImage png(SaveAs(plot, "plot.png", 900, 420, 96, 12));
    EXPECT_EQ(offered_, DataFile("s1.png"));
    EXPECT_EQ(png.size(), QSize(900, 420));
    ShowsBothCurves(png, 0);

    QFile svg(SaveAs(plot, "plot.svg"));
    EXPECT_EQ(offered_, DataFile("plot.png"));  // the file saved last
    const QByteArray text = svg.open(QIODevice::ReadOnly) ? svg.readAll() : QByteArray();
    for (int slot : {1, 2}) EXPECT_TRUE(text.contains("stroke=\"" + Swatch(slot).name().toUtf8())) << slot;
    EXPECT_TRUE(text.contains("Wavelength /Angstroms") && !text.contains("Full Range") && !text.contains("Intensity"));

    const QImage page = PdfPage(SaveAs(plot, "plot.pdf", 960, 480, 120), 96);  // 8 x 4 inches
    EXPECT_TRUE(std::abs(page.width() - 768) <= 1 && std::abs(page.height() - 384) <= 1) << page.width();
    ShowsBothCurves(page);
    EXPECT_TRUE(messages_.empty());
}

TEST_F(PictureOutputTest, PrintsIntoAPdfFileInColourOrGreyAndAFailureShowsItsNumberAndText) {
    frmPlot_Spectra& plot = StartWithTwoSpectra();
    Settings().FollowDefault = false;  // as a print setup that chose a file leaves it
    Settings().SelectFile((data_ / "plot.pdf").string());
    plot.PrintAction()->trigger();
    EXPECT_TRUE(messages_.empty());
    ShowsBothCurves(PdfPage(DataFile("plot.pdf"), 60));

    AnswerNextDialog([&](QWidget& dialog) {  // grey chosen in the print setup
        if (auto* button = dialog.findChild<QRadioButton*>("grayscale")) button->setChecked(true);
        static_cast<QDialog&>(dialog).accept();
    });
    plot.PrintSetupAction()->trigger();
    plot.PrintAction()->trigger();
    const int level = qGray(Swatch(1).rgb());
    EXPECT_GT(CountNear(PdfPage(DataFile("plot.pdf"), 60), QColor(level, level, level)), 100);

    const std::pair<std::string, std::string> failures[] = {{"/dev/full", " 61 Error 61: Disk full."},
        {(data_ / "no such folder" / "plot.pdf").string(), " 76 Error 76: Path not found."},
        {data_.string(), " 75 Error 75: Path/file access error."}, {"", " 482 "}};  // "": a printer gone
    for (const auto& [file, message] : failures) {
        messages_.clear();
        Settings().SelectFile(file);
        if (file.empty()) Settings().SelectDevice({"Gone", "", ""});
        plot.PrintAction()->trigger();
        EXPECT_EQ(messages_, std::vector<std::string>{message}) << file;
    }
}

TEST_F(PictureOutputTest, PrintsThroughACupsPdfQueue) {
    if (::geteuid() != 0) GTEST_SKIP() << "SKIPPED: a CUPS scheduler of the test's own needs root";
    ASSERT_EQ(EnsureCupsPackages().toStdString(), "");
    // Mixed case: the print setup upper-cases the dialog's name and finds the
    // queue again in the installed list.
    const QString queue = "Wendrel_Pdf_" + QString::number(::getpid());
    PrivateCups cups;
    ASSERT_EQ(cups.Start(queue).toStdString(), "");
    frmPlot_Spectra& plot = StartWithTwoSpectra();

    AnswerNextDialog([&](QWidget& dialog) {  // the queue chosen in the dialog's printer list
        for (QComboBox* box : dialog.findChildren<QComboBox*>())
            if (box->findText(queue) >= 0) box->setCurrentIndex(box->findText(queue));
        static_cast<QDialog&>(dialog).accept();
    });
    plot.PrintSetupAction()->trigger();
    plot.PrintAction()->trigger();
    EXPECT_TRUE(messages_.empty()) << messages_.front();  // no printer error: the queue took the job

    const auto pendingJobs = [&] { return RunTool("lpstat", {"-o", queue}, 10).output.trimmed(); };
    QString pdf;  // once the queue has no job left
    for (QDeadlineTimer deadline(90000); pdf.isEmpty() && !deadline.hasExpired(); QThread::msleep(200)) {
        const QFileInfoList pdfs = QDir(cups.OutputFolder()).entryInfoList({"*.pdf"}, QDir::Files);
        if (!pdfs.isEmpty() && pdfs.front().size() > 0 && pendingJobs().isEmpty())
            pdf = pdfs.front().absoluteFilePath();
    }
    ASSERT_FALSE(pdf.isEmpty()) << "no PDF from the queue; jobs: " << pendingJobs().toStdString();
    ShowsBothCurves(PdfPage(pdf, 60));

    // A stopped queue, as a printer switched off, refuses the next job: the printer error.
    ASSERT_TRUE(RunTool("cupsdisable", {queue}, 30).ok);
    plot.PrintAction()->trigger();
    EXPECT_EQ(messages_, std::vector<std::string>{" 482 "});
}

}  // namespace wendrel::testing
