// Shared by the printing tests: a plot window showing two spectra loaded
// from FITS files, the rendering of a printed PDF page into an image, and a
// driver that answers the modal print dialog from a timer.
#pragma once

#include <gtest/gtest.h>

#include <QApplication>
#include <QColor>
#include <QDir>
#include <QImage>
#include <QProcess>
#include <QTemporaryDir>
#include <QTimer>
#include <QWidget>
#include <chrono>
#include <cmath>
#include <functional>
#include <string>
#include <vector>

#include "app/slot_loading.h"
#include "tests/support/fits_writer.h"
#include "tests/windows/forwarding_ui.h"
#include "windows/plot_window_host.h"

namespace wendrel::testing {

// Two spectra in slots 1 and 2, written as FITS files and loaded by the
// reader, and the plot window that shows them.
class TwoSpectraPlot {
public:
    TwoSpectraPlot() {
        ui.host = &host;
        ws.PlotWinLeft = 300;
        ws.PlotWinTop = 300;
        ws.PlotWinWidth = 10000;
        ws.PlotWinHeight = 6500;
        Load(1, "first.fits", 4000, [](int p) { return 1000 + 300 * std::sin(p / 25.0); });
        Load(2, "second.fits", 4300, [](int p) { return 2000 - 400 * std::cos(p / 40.0); });
        host.RedrawPlot();
    }
    ~TwoSpectraPlot() { QApplication::processEvents(); }

    frmPlot_Spectra& Window() { return *host.Window(); }

    QTemporaryDir folder;
    Workspace ws;
    ForwardingUi ui;
    PlotWindowHost host{ws, ui};

private:
    void Load(int slot, const std::string& name, double start, const std::function<double(int)>& flux) {
        SpectrumFile spectrum;
        spectrum.crval1 = start;
        spectrum.cd1_1 = 1;
        spectrum.object = "Star " + std::to_string(slot);
        for (int p = 0; p < 1500; ++p) spectrum.stored.push_back(flux(p));
        const std::string path = folder.filePath(QString::fromStdString(name)).toStdString();
        WriteFileBytes(path, SpectrumBytes(spectrum));
        EXPECT_TRUE(LoadIntoSlot(ws, slot, path, ui)) << name;
    }
};

// The slot colours as the plot draws them.
inline QColor SlotColour(const Workspace& ws, int slot) {
    const int32_t c = ws.slot(slot).SlotColor;
    return QColor(c & 0xFF, (c >> 8) & 0xFF, (c >> 16) & 0xFF);
}

// The first page of a PDF as an image, through pdftoppm; null when it fails.
inline QImage RenderPdfPage(const QString& pdf, const QString& pngBase, int dpi = 100) {
    QProcess render;
    render.start("pdftoppm", {"-png", "-singlefile", "-r", QString::number(dpi), pdf, pngBase});
    if (!render.waitForFinished(60000) || render.exitCode() != 0) {
        render.kill();
        return {};
    }
    return QImage(pngBase + ".png");
}

// Pixels within `tolerance` of the colour in each component; printing paths
// may smooth or compress the picture a little.
inline int CountNear(const QImage& image, const QColor& colour, int tolerance = 40) {
    int count = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x) {
            const QColor c = image.pixelColor(x, y);
            if (std::abs(c.red() - colour.red()) <= tolerance && std::abs(c.green() - colour.green()) <= tolerance &&
                std::abs(c.blue() - colour.blue()) <= tolerance)
                ++count;
        }
    return count;
}

// The bounding box of the pixels that are not white.
inline QRect InkBox(const QImage& image) {
    QRect box;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (image.pixelColor(x, y).lightness() < 250) box |= QRect(x, y, 1, 1);
    return box;
}

// Answers the next modal dialog: polls for it, runs `answer` on it, and
// closes whatever modal widget is still open after `limit`, so that no test
// waits for a dialog for ever.
class ModalAnswer {
public:
    explicit ModalAnswer(std::function<void(QWidget&)> answer, std::chrono::milliseconds limit = std::chrono::seconds(20))
        : answer_(std::move(answer)), limit_(limit) {
        timer_.setInterval(20);
        QObject::connect(&timer_, &QTimer::timeout, [this] { Poll(); });
        timer_.start();
        started_ = std::chrono::steady_clock::now();
    }

    bool Answered() const { return answered_; }
    QString DialogClass() const { return dialogClass_; }

private:
    void Poll() {
        QWidget* modal = QApplication::activeModalWidget();
        if (!answered_ && modal) {
            answered_ = true;
            dialogClass_ = modal->metaObject()->className();
            answer_(*modal);
            return;
        }
        if (std::chrono::steady_clock::now() - started_ > limit_) {
            timer_.stop();
            if (modal) modal->close();
        }
    }

    std::function<void(QWidget&)> answer_;
    std::chrono::milliseconds limit_;
    std::chrono::steady_clock::time_point started_;
    QTimer timer_;
    bool answered_ = false;
    QString dialogClass_;
};

}  // namespace wendrel::testing
