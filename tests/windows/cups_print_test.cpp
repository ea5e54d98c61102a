// Printing through a real CUPS scheduler: the test starts its own cupsd with
// a cups-pdf queue, chooses the queue in the print dialog, prints a plot of
// two spectra and reads the PDF that the queue writes.
#include <gtest/gtest.h>
#include <unistd.h>

#include <QAction>
#include <QComboBox>
#include <QDeadlineTimer>
#include <QDialog>
#include <QDir>
#include <QPrinterInfo>
#include <QThread>

#include "tests/windows/print_test_support.h"
#include "tests/windows/private_cups.h"
#include "windows/plot_printing.h"
#include "windows/plot_window.h"

namespace wendrel {
namespace {

using testing::CountNear;
using testing::ModalAnswer;
using testing::PrivateCups;
using testing::RenderPdfPage;
using testing::SlotColour;

// The queue's PDF once the queue has no job left, or an empty text when none
// appears within the time limit.
QString WaitForPdf(const PrivateCups& cups, int seconds) {
    const QDeadlineTimer deadline(seconds * 1000);
    while (!deadline.hasExpired()) {
        const QFileInfoList pdfs = QDir(cups.OutputFolder()).entryInfoList({"*.pdf"}, QDir::Files);
        if (!pdfs.isEmpty() && pdfs.front().size() > 0 && cups.PendingJobs().isEmpty())
            return pdfs.front().absoluteFilePath();
        QThread::msleep(200);
    }
    return {};
}

TEST(CupsPrinting, PrintsAPlotOfTwoSpectraThroughACupsPdfQueue) {
    if (::geteuid() != 0)
        GTEST_SKIP() << "SKIPPED: printing through a real CUPS scheduler needs root, to install CUPS and cups-pdf "
                        "and to start a scheduler of the test's own";
    const QString missing = testing::EnsureCupsPackages();
    ASSERT_TRUE(missing.isEmpty()) << missing.toStdString();

    // Mixed case: the print setup upper-cases the dialog's name and finds the
    // queue again in the installed list.
    const QString queue = "Wendrel_Pdf_" + QString::number(::getpid());
    PrivateCups cups;
    const QString problem = cups.Start(queue);
    ASSERT_TRUE(problem.isEmpty()) << problem.toStdString();
    ASSERT_TRUE(QPrinterInfo::availablePrinterNames().contains(queue));

    testing::TwoSpectraPlot plot;
    testing::RecordingUi messages;
    PlotPrinting printing(messages);
    printing.Connect(plot.Window());
    // The program starts before the queue exists: no current printer.
    printing.Current().Settings().FollowDefault = false;
    printing.Current().Settings().DeviceName.clear();

    bool chosen = false;
    ModalAnswer choose([&](QWidget& dialog) {
        for (QComboBox* box : dialog.findChildren<QComboBox*>()) {
            const int index = box->findText(queue);
            if (index < 0) continue;
            box->setCurrentIndex(index);
            chosen = true;
        }
        static_cast<QDialog&>(dialog).accept();
    });
    plot.Window().PrintSetupAction()->trigger();
    ASSERT_TRUE(choose.Answered());
    ASSERT_TRUE(chosen) << "the queue in the dialog's printer list";
    EXPECT_EQ(printing.Current().Settings().DeviceName, queue.toStdString());
    EXPECT_EQ(printing.Current().Settings().Page.ColorMode, 2);

    plot.Window().PrintAction()->trigger();
    EXPECT_TRUE(messages.messages.empty()) << messages.messages.front();

    const QString pdf = WaitForPdf(cups, 90);
    ASSERT_FALSE(pdf.isEmpty()) << "no PDF from the queue; jobs: " << cups.PendingJobs().toStdString()
                                << cups.ErrorLog().toStdString();
    const QImage page = RenderPdfPage(pdf, cups.OutputFolder() + "/page", 60);
    ASSERT_FALSE(page.isNull());
    EXPECT_GT(CountNear(page, SlotColour(plot.ws, 1)), 100) << "the first spectrum's curve";
    EXPECT_GT(CountNear(page, SlotColour(plot.ws, 2)), 100) << "the second spectrum's curve";
    if (const QString keep = qEnvironmentVariable("WENDREL_KEEP_PRINTS"); !keep.isEmpty())
        page.save(keep + "/cups-page.png");

    // A stopped queue refuses the next job: the printer error.
    const QString stopped = cups.StopQueue();
    ASSERT_TRUE(stopped.isEmpty()) << stopped.toStdString();
    plot.Window().PrintAction()->trigger();
    EXPECT_EQ(messages.messages, std::vector<std::string>{" 482 "});

    const pid_t pid = cups.Pid();
    cups.Stop();
    EXPECT_NE(::kill(pid, 0), 0) << "the scheduler stopped";
}

TEST(CupsPrinting, WithNoPrinterTheErrorBoxShowsThePrinterError) {
    testing::TwoSpectraPlot plot;
    testing::RecordingUi messages;
    PlotPrinting printing(messages);
    printing.Connect(plot.Window());
    ASSERT_TRUE(QPrinterInfo::availablePrinterNames().isEmpty());
    plot.Window().PrintAction()->trigger();
    EXPECT_EQ(messages.messages, std::vector<std::string>{" 482 "});
}

}  // namespace
}  // namespace wendrel
