// frmMain_Wd01: the window the program starts with. Ten slot rows to load,
// offset, inspect and unload spectra, the "Plot Spectra" button and the menus.
// Every handler forwards to the row logic and only sets captions here.
#pragma once

#include <QMainWindow>
#include <array>
#include <functional>
#include <string>
#include <vector>

#include "app/ui_hooks.h"
#include "store/workspace.h"

class QAction;
class QLabel;
class QMenu;
class QPushButton;
class QScrollBar;

namespace wendrel {

// What the main window opens; the program supplies these.
struct MainWindowActions {
    std::function<void()> showFileChooser;  // the opener's select-1, show, select-0
    std::function<void(int slot)> pressHdr;  // the header viewer for that row's slot
    std::function<void()> showHelp;
    std::function<void()> showAbout;
    std::function<void()> shutDown;         // writes the settings and ends the program
    std::function<void()> openFiles;        // File > "Open ..."
    std::function<void()> openSession;      // File > "Open Session ..."
    std::function<void()> saveSession;      // File > "Save Session As ..."
    // File > Recent: the spectra and sessions opened last, newest first, and
    // the opening of one of them.
    std::function<std::vector<std::string>()> recentEntries;
    std::function<void(const std::string&)> openRecent;
    // Fills the context menu of a loaded row (Send to ...).
    std::function<void(QMenu& menu, int slot)> rowMenu;
};

class frmMain_Wd01 : public QMainWindow {
    Q_OBJECT

public:
    frmMain_Wd01(Workspace& ws, UiHooks& ui, MainWindowActions actions);

    // The controls of one slot row, indexed by slot number 1..10.
    struct Row {
        QPushButton* Command1 = nullptr;  // Load
        QLabel* Label4 = nullptr;         // slot number
        QLabel* Label3 = nullptr;         // colour swatch
        QPushButton* Command4 = nullptr;  // Hdr
        QLabel* Label7 = nullptr;         // file name
        QLabel* Label8 = nullptr;         // object name
        QLabel* Label14 = nullptr;        // level
        QScrollBar* VScroll1 = nullptr;   // offset
        QWidget* Line10 = nullptr;        // guide line
        QLabel* Label10 = nullptr;        // offset value
        QScrollBar* HScroll1 = nullptr;   // velocity shift
        QLabel* Label12 = nullptr;        // velocity value
        QPushButton* Command2 = nullptr;  // Unload
    };
    const Row& row(int slot) const { return rows_.at(static_cast<size_t>(slot)); }

    // The controls a loaded row shows, made visible in the order the load
    // shows them, and the captions and colour swatch the load sets.
    void ShowLoadedRow(int slot);
    void HideLoadedRow(int slot);
    // Start-up and an opened session: the offset bars take the slots'
    // offsets, without reporting a change.
    void SetUpOffsetBars();
    void SetOffsetCaption(int slot, const QString& caption);

    void Command1_Click(int index);
    void Command2_Click(int index);
    void Command3_Click();
    void Command4_Click(int index);
    void VScroll1_Change(int index);
    // The velocity bar of row index changed value: the slot's velocity, a
    // redraw once a spectrum is loaded, and the value label.
    void HScroll1_Change(int index);
    // Double-click on the velocity value: asks for an exact velocity or a
    // redshift in an input box (app/velocity_entry.h) and shifts the slot by
    // it, the bar moving to the nearest whole value; a text that is neither
    // shows why in a message and changes nothing.
    void Label12_DblClick(int index);
    void mExit_Click();

    QPushButton* plotButton() const { return Command3; }

protected:
    void closeEvent(QCloseEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;

private:
    static std::array<QWidget*, 10> LoadedRowControls(const Row& r);
    void BuildRow(int slot);
    void BuildMenus();

    Workspace& ws_;
    UiHooks& ui_;
    MainWindowActions actions_;
    std::array<Row, kMaxSlots + 1> rows_{};
    QPushButton* Command3 = nullptr;
    bool shuttingDown_ = false;
};

}  // namespace wendrel
