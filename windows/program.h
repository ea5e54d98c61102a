// The running program: the workspace, its windows, and the binding between
// the logic's requests (messages, rows, redraws) and those windows.
#pragma once

#include <QPointer>
#include <QStringList>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "app/ui_hooks.h"
#include "store/workspace.h"
#include "windows/about_box.h"
#include "windows/file_chooser.h"
#include "windows/header_viewer.h"
#include "windows/help_window.h"
#include "windows/picture_saving.h"
#include "windows/plot_printing.h"
#include "windows/plot_window_host.h"

namespace wendrel {

class frmMain_Wd01;
class SampControls;

class Program : public UiHooks {
public:
    // How a message reaches the user; by default a modal box with OK only.
    using MessageBox = std::function<void(const std::string&)>;
    // How the program ends once the settings are written; by default the
    // event loop ends at once.
    using EndProgram = std::function<void()>;

    // A question with Yes and No; returns whether the answer was Yes.
    using QuestionBox = std::function<bool(const std::string&)>;

    explicit Program(std::filesystem::path settingsPath, MessageBox messageBox = {},
                     EndProgram endProgram = {});
    ~Program() override;

    // Start-up: settings, empty rows, offsets; then the main window shows.
    void Start();
    // Files named when the program was started: a session (".wendrel") opens
    // first, then the other files load into its empty rows (else rows 1, 2,
    // ...) as the file chooser loads a file, and the plot is drawn once. A
    // relative path starts at the current folder. Sessions after the first are
    // named in a message and not opened.
    void LoadAtStart(const QStringList& files);
    // Opens a session in place of the rows (app/session_file.h), after asking
    // when rows are loaded; a session that cannot be read is refused with a
    // message and changes nothing. It becomes the newest recent entry.
    void OpenSessionFile(const std::filesystem::path& file);
    // Writes the session of the loaded rows; a failure shows a message.
    // Returns whether it was written.
    bool SaveSessionTo(const std::filesystem::path& file);
    // A File > Recent entry: a session opens, a spectrum loads into the first
    // empty row.
    void OpenRecent(const std::string& entry);
    // The recent list, newest first, as File > Recent shows it.
    const std::vector<std::string>& RecentEntries() const { return recent_; }
    void SetQuestionBox(QuestionBox questionBox) { questionBox_ = std::move(questionBox); }
    // Files dropped on the main window: on row `row` (1..10) the first goes
    // into that row and the others into the empty rows after it, then above
    // it; away from the rows (0) they go into the empty rows from the top.
    // `others` are dropped addresses that name no local file; they are named
    // in a message.
    void DropFiles(int row, const QStringList& files, const QStringList& others = {});

    Workspace& workspace() { return ws_; }
    frmMain_Wd01& mainWindow() { return *main_; }
    // The file chooser, or nullptr before its first opening and after it was closed.
    frmLoad_FitsFile* fileChooser() const { return chooser_; }
    PlotWindowHost& plotHost() { return plot_; }
    HeaderViewerHost& headerViewer() { return header_; }
    HelpWindowHost& helpWindow() { return help_; }
    AboutBoxHost& aboutBox() { return about_; }
    PlotPrinting& printing() { return printing_; }
    PictureSaving& pictureSaving() { return saving_; }
    SampControls& samp() { return *samp_; }

    // UiHooks
    void ShowMessage(const std::string& text) override;
    void ShowLoadedRow(int slot) override;
    void ShowRowCaptions(int slot) override;
    void HideLoadedRow(int slot) override;
    void RedrawPlot() override;
    void ClearPlotWindow() override;
    void HidePlotWindow() override;
    bool PlotShown() const override;
    std::optional<ColumnChoice> ChooseTableColumns(const std::string& fileName,
                                                   const std::vector<TableColumn>& columns) override;

private:
    void ShowFileChooser();
    void ShutDown();
    // Puts a spectrum or session first in the recent list and writes the list.
    void NoteRecent(const std::string& path);
    // File > "Open ...": the chosen files fill the next empty rows, as a
    // drop away from the rows; the dialog starts in the folder of the last
    // file loaded.
    void AskFilesToOpen();
    void AskSessionToOpen();
    void AskSessionToSave();
    void AskExportFile();

    Workspace ws_;
    std::filesystem::path settingsPath_;
    MessageBox messageBox_;
    EndProgram endProgram_;
    std::unique_ptr<frmMain_Wd01> main_;
    PlotWindowHost plot_;
    QPointer<frmLoad_FitsFile> chooser_;
    HeaderViewerHost header_;
    HelpWindowHost help_;
    AboutBoxHost about_;
    PlotPrinting printing_;
    PictureSaving saving_;
    // The folder of the last file loaded in this run, where a new file
    // chooser starts.
    QString lastLoadFolder_;
    QuestionBox questionBox_;
    std::vector<std::string> recent_;
    bool openingSession_ = false;  // its rows' loads are no recent entries of their own
    SampControls* samp_ = nullptr;  // owned by the main window
};

}  // namespace wendrel
