// Printing from the plot window's File menu: into a PDF file, with the page
// settings of Qt's print dialog, failures as numbers and texts, and, as
// root, through a CUPS scheduler of the test's own with a cups-pdf queue.
#include <unistd.h>

#include <QComboBox>
#include <QDeadlineTimer>
#include <QDialog>
#include <QDir>
#include <QRadioButton>
#include <QThread>

#include "tests/windows/picture_checks.h"
#include "tests/windows/private_cups.h"
#include "tests/windows/program_fixture.h"

namespace wendrel::testing {
namespace {

class PrintingTest : public ProgramTest {
protected:
    PrinterSettings& Settings() { return program_->printing().Current().Settings(); }
    // As a print setup that chose a file leaves the current printer.
    void PrintInto(const std::string& file) {
        Settings().FollowDefault = false;
        Settings().SelectFile(file);
    }
};

TEST_F(PrintingTest, PrintsThePictureIntoAPdfFileInColourOrInGreyAsTheDialogSays) {
    frmPlot_Spectra& plot = StartWithTwoSpectra();
    PrintInto((data_ / "plot.pdf").string());
    plot.PrintAction()->trigger();
    EXPECT_TRUE(messages_.empty());
    const QImage page = RenderPdfPage(DataFile("plot.pdf"), 60);
    ASSERT_FALSE(page.isNull());
    for (int slot : {1, 2}) EXPECT_GT(CountNear(page, Swatch(slot)), 100) << slot;

    bool grey = false;
    AnswerNextDialog([&](QWidget& dialog) {
        if (auto* button = dialog.findChild<QRadioButton*>("grayscale")) button->setChecked(grey = true);
        static_cast<QDialog&>(dialog).accept();
    });
    plot.PrintSetupAction()->trigger();
    ASSERT_TRUE(grey) << "the dialog's colour choice";
    EXPECT_EQ(Settings().Page.ColorMode, 1);
    plot.PrintAction()->trigger();
    const QImage greyPage = RenderPdfPage(DataFile("plot.pdf"), 60);
    const int level = qGray(Swatch(1).rgb());
    EXPECT_EQ(CountNear(greyPage, Swatch(1)), 0);
    EXPECT_GT(CountNear(greyPage, QColor(level, level, level)), 100);
}

TEST_F(PrintingTest, AFailureShowsItsNumberAndText) {
    frmPlot_Spectra& plot = StartWithTwoSpectra();
    const std::pair<std::string, std::string> cases[] = {
        {"/dev/full", " 61 Error 61: Disk full."},
        {(data_ / "no such folder" / "plot.pdf").string(), " 76 Error 76: Path not found."},
        {data_.string(), " 75 Error 75: Path/file access error."},
        {"", " 482 "}};  // a printer that is gone
    for (const auto& [file, message] : cases) {
        messages_.clear();
        PrintInto(file);
        if (file.empty()) {
            Settings().DeviceName = "Gone";
            Settings().DriverName.clear();
        }
        plot.PrintAction()->trigger();
        EXPECT_EQ(messages_, std::vector<std::string>{message}) << file;
    }
}

TEST_F(PrintingTest, PrintsThroughACupsPdfQueue) {
    if (::geteuid() != 0)
        GTEST_SKIP() << "SKIPPED: printing through a real CUPS scheduler needs root, to install CUPS and cups-pdf "
                        "and to start a scheduler of the test's own";
    const QString missing = EnsureCupsPackages();
    ASSERT_TRUE(missing.isEmpty()) << missing.toStdString();
    // Mixed case: the print setup upper-cases the dialog's name and finds the
    // queue again in the installed list.
    const QString queue = "Wendrel_Pdf_" + QString::number(::getpid());
    PrivateCups cups;
    const QString problem = cups.Start(queue);
    ASSERT_TRUE(problem.isEmpty()) << problem.toStdString();
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
    const QImage page = RenderPdfPage(pdf, 60);
    for (int slot : {1, 2}) EXPECT_GT(CountNear(page, Swatch(slot)), 100) << slot;

    // A stopped queue refuses the next job: the printer error.
    const QString stopped = cups.StopQueue();
    ASSERT_TRUE(stopped.isEmpty()) << stopped.toStdString();
    plot.PrintAction()->trigger();
    EXPECT_EQ(messages_, std::vector<std::string>{" 482 "});
}

}  // namespace
}  // namespace wendrel::testing
