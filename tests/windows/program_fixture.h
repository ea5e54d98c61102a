// A running program for tests: its start folder is a fresh temporary folder
// (made current while the test runs), a sibling folder holds spectra, message
// boxes are collected and the end of the program is counted instead of
// leaving the event loop. Helpers press the windows' controls as a user does.
#pragma once

#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QScrollBar>
#include <QTest>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include "app/startup.h"
#include "tests/support/fits_writer.h"
#include "tests/support/temp_folder.h"
#include "windows/file_chooser.h"
#include "windows/main_window.h"
#include "windows/program.h"
#include "windows/twips.h"

// Readable QString values in test failures.
inline void PrintTo(const QString& text, std::ostream* out) { *out << '"' << text.toStdString() << '"'; }

namespace wendrel::testing {

// A constant spectrum: its continuum level is the value itself.
struct TestSpectrum {
    std::string object = "HD 1234";
    double crval1 = 4000;
    double cd1_1 = 1;
    int pixels = 250;
    double value = 1234.75;
    int bitpix = -32;
};

// A user's double click on a list entry: press and release, then the second
// press that the window system reports as a double click, and its release.
inline void DoubleClickAt(QWidget* viewport, QPoint point) {
    QTest::mouseClick(viewport, Qt::LeftButton, {}, point);
    QTest::mouseDClick(viewport, Qt::LeftButton, {}, point);
    QTest::mouseRelease(viewport, Qt::LeftButton, {}, point);
}

inline void ProcessEvents() {
    QApplication::processEvents();
    QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QApplication::processEvents();
}

class ProgramTest : public ::testing::Test {
protected:
    void SetUp() override {
        root_ = std::filesystem::canonical(temp_.path());
        start_ = root_ / "start";
        data_ = root_ / "data";
        std::filesystem::create_directories(start_);
        std::filesystem::create_directories(data_);
        previous_ = std::filesystem::current_path();
        std::filesystem::current_path(start_);
    }

    void TearDown() override {
        program_.reset();
        ProcessEvents();
        std::filesystem::current_path(previous_);
    }

    // Starts the program in the start folder, as the executable does.
    Program& Start() {
        program_ = std::make_unique<Program>(
            SettingsPathInCurrentFolder(), [this](const std::string& text) { messages_.push_back(text); },
            [this] { ++ended_; });
        program_->Start();
        ProcessEvents();
        return *program_;
    }

    Program& program() { return *program_; }
    Workspace& ws() { return program_->workspace(); }
    frmMain_Wd01& mainWindow() { return program_->mainWindow(); }
    const frmMain_Wd01::Row& row(int slot) { return mainWindow().row(slot); }

    void WriteSettings(const std::string& text) { std::ofstream(start_ / "Wendrel3.ini", std::ios::binary) << text; }
    std::filesystem::path SettingsFile() const { return start_ / "Wendrel3.ini"; }

    static void WriteSpectrum(const std::filesystem::path& file, const TestSpectrum& t = {}) {
        SpectrumFile s;
        s.bitpix = t.bitpix;
        s.object = t.object;
        s.crval1 = t.crval1;
        s.cd1_1 = t.cd1_1;
        s.stored.assign(static_cast<size_t>(t.pixels), t.value);
        WriteFileBytes(file, SpectrumBytes(s));
    }

    static void Click(QWidget* widget) {
        QTest::mouseClick(widget, Qt::LeftButton);
        ProcessEvents();
    }

    // "Load" in a row; the chooser it opens.
    frmLoad_FitsFile& PressLoad(int slot) {
        Click(row(slot).Command1);
        frmLoad_FitsFile* chooser = program_->fileChooser();
        EXPECT_NE(chooser, nullptr);
        return *chooser;
    }

    // Double-clicks the entry of the folder list that stands for `folder`.
    static void OpenFolder(frmLoad_FitsFile& chooser, const std::filesystem::path& folder) {
        QListWidget* list = chooser.folderList();
        const QString wanted = QString::fromStdString(folder.string());
        for (int i = 0; i < list->count(); ++i) {
            QListWidgetItem* item = list->item(i);
            if (item->data(Qt::UserRole).toString() != wanted) continue;
            list->scrollToItem(item);
            DoubleClickAt(list->viewport(), list->visualItemRect(item).center());
            ProcessEvents();
            return;
        }
        QStringList all;
        for (int i = 0; i < list->count(); ++i) all << list->item(i)->data(Qt::UserRole).toString();
        ADD_FAILURE() << "the folder list has no entry for " << folder << ": " << all.join(" | ").toStdString();
    }

    // Goes from the start folder to a sibling folder through the parent.
    static void OpenSibling(frmLoad_FitsFile& chooser, const std::filesystem::path& folder) {
        OpenFolder(chooser, folder.parent_path());
        OpenFolder(chooser, folder);
    }

    static QListWidgetItem* FileItem(frmLoad_FitsFile& chooser, const QString& name) {
        const auto found = chooser.fileList()->findItems(name, Qt::MatchExactly);
        return found.isEmpty() ? nullptr : found.first();
    }

    static void DoubleClickFile(frmLoad_FitsFile& chooser, const QString& name) {
        QListWidget* list = chooser.fileList();
        QListWidgetItem* item = FileItem(chooser, name);
        ASSERT_NE(item, nullptr) << name.toStdString();
        DoubleClickAt(list->viewport(), list->visualItemRect(item).center());
        ProcessEvents();
    }

    static void TypeName(frmLoad_FitsFile& chooser, const QString& name) {
        chooser.fileNameBox()->clear();
        QTest::keyClicks(chooser.fileNameBox(), name);
    }

    static QPushButton* Button(QWidget& window, const QString& caption) {
        for (QPushButton* b : window.findChildren<QPushButton*>())
            if (b->text() == caption) return b;
        ADD_FAILURE() << "no button " << caption.toStdString();
        return nullptr;
    }

    // Loads folder/name into a row: Load, the folder, the name typed, OK.
    void LoadThroughChooser(int slot, const std::filesystem::path& folder, const std::string& name) {
        frmLoad_FitsFile& chooser = PressLoad(slot);
        if (chooser.FolderPath().toStdString() != folder.string()) OpenSibling(chooser, folder);
        TypeName(chooser, QString::fromStdString(name));
        Click(Button(chooser, "OK"));
    }

    // The item of a menu in a window's menu bar.
    static QAction* MenuItem(QMainWindow& window, const QString& menu, const QString& item) {
        for (QAction* bar : window.menuBar()->actions()) {
            if (bar->text() != menu) continue;
            if (item.isEmpty()) return bar;
            for (QAction* a : bar->menu()->actions())
                if (a->text() == item) return a;
        }
        ADD_FAILURE() << "no menu item " << menu.toStdString() << " > " << item.toStdString();
        return nullptr;
    }

    // The controls a loaded row shows, besides the three every row shows.
    std::vector<QWidget*> LoadedOnly(int slot) {
        const auto& r = row(slot);
        return {r.Command4, r.Label7, r.Label8, r.Label14, r.VScroll1, r.Line10, r.Label10, r.HScroll1, r.Label12, r.Command2};
    }

    bool RowShowsLoaded(int slot) {
        for (QWidget* w : LoadedOnly(slot))
            if (!w->isVisible()) return false;
        return true;
    }

    bool RowShowsEmpty(int slot) {
        const auto& r = row(slot);
        if (!r.Command1->isVisible() || !r.Label4->isVisible() || !r.Label3->isVisible()) return false;
        for (QWidget* w : LoadedOnly(slot))
            if (w->isVisible()) return false;
        return true;
    }

    frmPlot_Spectra* plotWindow() { return program_->plotHost().Window(); }
    bool PlotVisible() { return plotWindow() && plotWindow()->isVisible(); }

    TempFolder temp_;
    std::filesystem::path root_, start_, data_, previous_;
    std::unique_ptr<Program> program_;
    std::vector<std::string> messages_;
    int ended_ = 0;
};

}  // namespace wendrel::testing
