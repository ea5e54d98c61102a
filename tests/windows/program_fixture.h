// A running program for tests: it starts in a fresh temporary folder (current
// while the test runs) beside a folder of spectra; message boxes are collected
// and the end of the program is counted instead of leaving the event loop.
#pragma once

#include <gtest/gtest.h>

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenuBar>
#include <QPushButton>
#include <QScreen>
#include <QScrollBar>
#include <QTest>
#include <QTimer>

#include "app/startup.h"
#include "tests/support/fits_writer.h"
#include "tests/support/temp_folder.h"
#include "windows/main_window.h"
#include "windows/program.h"

namespace wendrel::testing {

inline void ProcessEvents() {
    QApplication::processEvents();
    QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QApplication::processEvents();
}

// The visible top-level window of a kind, or nullptr.
template <class Window>
Window* Shown() {
    for (QWidget* w : QApplication::topLevelWidgets())
        if (auto* window = qobject_cast<Window*>(w); window && window->isVisible()) return window;
    return nullptr;
}

// The visible window of a kind, which must be there.
template <class Window>
Window& MustShow(const char* what) {
    if (Window* window = Shown<Window>()) return *window;
    throw std::runtime_error(std::string(what) + " did not show");
}

inline bool OnAScreen(const QWidget& window) {
    const QRect frame = window.frameGeometry();
    return std::ranges::any_of(QGuiApplication::screens(),
                               [&](const QScreen* s) { return s->availableGeometry().intersects(frame); });
}

// Runs `answer` on the next modal dialog once it shows; gives up after 20 s.
inline void AnswerNextDialog(std::function<void(QWidget&)> answer, int triesLeft = 1000) {
    QTimer::singleShot(20, [=] {
        if (QWidget* modal = QApplication::activeModalWidget()) answer(*modal);
        else if (triesLeft > 0) AnswerNextDialog(answer, triesLeft - 1);
    });
}

class ProgramTest : public ::testing::Test {
protected:
    void SetUp() override {
        for (const auto& folder : {start_, data_}) std::filesystem::create_directories(folder);
        std::filesystem::current_path(start_);
    }
    void TearDown() override {
        program_.reset();
        ProcessEvents();
        std::filesystem::current_path(previous_);
    }
    Program& Start() {
        program_ = std::make_unique<Program>(
            SettingsPathInCurrentFolder(), [this](const std::string& text) { messages_.push_back(text); },
            [this] { ++ended_; });
        program_->Start();
        ProcessEvents();
        return *program_;
    }
    Workspace& ws() { return program_->workspace(); }
    frmMain_Wd01& mainWindow() { return program_->mainWindow(); }
    const frmMain_Wd01::Row& row(int slot) { return mainWindow().row(slot); }
    std::filesystem::path SettingsFile() const { return start_ / "Wendrel3.ini"; }
    QString DataFile(const std::string& name) const {
        return QString::fromStdString((data_ / name).string());
    }
    // A constant spectrum of 250 pixels, one Angstrom apart.
    static void WriteSpectrum(const std::filesystem::path& file, const std::string& object = "HD 1234",
                              double crval1 = 4000, double value = 1234.75) {
        SpectrumFile s;
        std::tie(s.bitpix, s.stored, s.object) = std::tuple(-64, std::vector(250, value), object);
        s.crval1 = crval1;
        WriteFileBytes(file, SpectrumBytes(s));
    }
    // Two wavy spectra of 1500 pixels (slot 1 from 4000, slot 2 from 4300
    // Angstroms) named at start; the plot window that shows them.
    frmPlot_Spectra& StartWithTwoSpectra() {
        for (int k : {1, 2}) {
            SpectrumFile s;
            s.crval1 = 3700 + 300 * k;
            for (int p = 0; p < 1500; ++p) s.stored.push_back(1000 * k + 300 * std::sin(p / (20.0 * k)));
            WriteFileBytes(data_ / ("s" + std::to_string(k) + ".fits"), SpectrumBytes(s));
        }
        Start().LoadAtStart({DataFile("s1.fits"), DataFile("s2.fits")});
        ProcessEvents();
        return MustShow<frmPlot_Spectra>("the plot");
    }
    static void Click(QWidget* widget) {
        QTest::mouseClick(widget, Qt::LeftButton);
        ProcessEvents();
    }
    static QPushButton* Button(QWidget& window, const QString& caption) {
        for (QPushButton* b : window.findChildren<QPushButton*>())
            if (b->text() == caption) return b;
        throw std::runtime_error("no button " + caption.toStdString());
    }
    // Picks an item of a menu in the window's menu bar.
    static void Choose(QWidget& window, const QString& menu, const QString& item) {
        QAction* chosen = nullptr;
        for (QAction* top : window.findChild<QMenuBar*>()->actions())
            for (QAction* action : top->text() == menu ? top->menu()->actions() : QList<QAction*>())
                if (action->text() == item) chosen = action;
        ASSERT_NE(chosen, nullptr) << menu.toStdString() << " > " << item.toStdString();
        chosen->trigger();
        ProcessEvents();
    }
    frmLoad_FitsFile& PressLoad(int slot) {  // "Load" in a row; the chooser it opens
        Click(row(slot).Command1);
        return MustShow<frmLoad_FitsFile>("the chooser");
    }
    static void TypeName(frmLoad_FitsFile& chooser, const QString& name) {
        chooser.fileNameBox()->clear();
        QTest::keyClicks(chooser.fileNameBox(), name);
    }
    // Load in a row, the file's full path typed, OK.
    void LoadThroughChooser(int slot, const std::string& name) {
        frmLoad_FitsFile& chooser = PressLoad(slot);
        TypeName(chooser, DataFile(name));
        Click(Button(chooser, "OK"));
    }
    // Whether the row shows a loaded spectrum's controls, or only Load, number and swatch.
    bool RowShows(int slot, bool loaded) {
        const auto& r = row(slot);
        const QWidget* shownWhenLoaded[] = {r.Command4, r.Label7, r.Label8, r.Label14, r.VScroll1,
                                            r.Line10, r.Label10, r.HScroll1, r.Label12, r.Command2};
        const auto shows = [&](const QWidget* w) { return w->isVisible() == loaded; };
        return std::ranges::all_of(shownWhenLoaded, shows) && r.Command1->isVisible() &&
               r.Label4->isVisible() && r.Label3->isVisible();
    }
    std::vector<int> LoadedRows() {
        std::vector<int> rows;
        for (int slot = 1; slot <= kMaxSlots; ++slot)
            if (ws().slot(slot).Loaded()) rows.push_back(slot);
        return rows;
    }

    TempFolder temp_;
    const std::filesystem::path start_ = std::filesystem::canonical(temp_.path()) / "start";
    const std::filesystem::path data_ = start_.parent_path() / "data";
    const std::filesystem::path previous_ = std::filesystem::current_path();
    std::unique_ptr<Program> program_;
    std::vector<std::string> messages_;
    int ended_ = 0;
};

}  // namespace wendrel::testing
