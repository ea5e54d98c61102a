// Printing through a real CUPS scheduler: the test starts its own cupsd with
// a cups-pdf queue, chooses the queue in the plot window's Print Setup,
// prints a plot of two spectra and reads the PDF that the queue writes.
#include <unistd.h>

#include <QComboBox>
#include <QDeadlineTimer>
#include <QDialog>
#include <QDir>
#include <QThread>

#include "tests/windows/print_test_support.h"
#include "tests/windows/private_cups.h"
#include "tests/windows/program_fixture.h"

namespace wendrel::testing {
namespace {

using CupsPrinting = ProgramTest;

TEST_F(CupsPrinting, PrintsAPlotOfTwoSpectraThroughACupsPdfQueue) {
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

    for (int k : {1, 2}) {
        SpectrumFile spectrum;
        for (int p = 0; p < 1500; ++p) spectrum.stored.push_back(1000 * k + 300 * std::sin(p / (20.0 * k)));
        WriteFileBytes(data_ / ("s" + std::to_string(k) + ".fits"), SpectrumBytes(spectrum));
    }
    Start().LoadAtStart({DataFile("s1.fits"), DataFile("s2.fits")});
    frmPlot_Spectra* plot = Shown<frmPlot_Spectra>();
    ASSERT_NE(plot, nullptr);

    bool chosen = false;
    ModalAnswer choose([&](QWidget& dialog) {
        for (QComboBox* box : dialog.findChildren<QComboBox*>())
            if (const int index = box->findText(queue); index >= 0) {
                box->setCurrentIndex(index);
                chosen = true;
            }
        static_cast<QDialog&>(dialog).accept();
    });
    plot->PrintSetupAction()->trigger();
    ASSERT_TRUE(chosen) << "the queue in the dialog's printer list";
    plot->PrintAction()->trigger();
    EXPECT_TRUE(messages_.empty()) << messages_.front();

    QString pdf;  // once the queue has no job left
    for (QDeadlineTimer deadline(90000); pdf.isEmpty() && !deadline.hasExpired(); QThread::msleep(200)) {
        const QFileInfoList pdfs = QDir(cups.OutputFolder()).entryInfoList({"*.pdf"}, QDir::Files);
        if (!pdfs.isEmpty() && pdfs.front().size() > 0 && cups.PendingJobs().isEmpty())
            pdf = pdfs.front().absoluteFilePath();
    }
    ASSERT_FALSE(pdf.isEmpty()) << "no PDF from the queue; jobs: " << cups.PendingJobs().toStdString()
                                << cups.ErrorLog().toStdString();
    const QImage page = RenderPdfPage(pdf, cups.OutputFolder() + "/page", 60);
    ASSERT_FALSE(page.isNull());
    for (int slot : {1, 2})  // each curve in its row's swatch colour
        EXPECT_GT(CountNear(page, row(slot).Label3->palette().color(QPalette::Window)), 100) << slot;

    // A stopped queue refuses the next job: the printer error.
    const QString stopped = cups.StopQueue();
    ASSERT_TRUE(stopped.isEmpty()) << stopped.toStdString();
    plot->PrintAction()->trigger();
    EXPECT_EQ(messages_, std::vector<std::string>{" 482 "});
}

}  // namespace
}  // namespace wendrel::testing
