#include "windows/program.h"

#include <QAction>
#include <QCoreApplication>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QMessageBox>

#include "app/open_files.h"
#include "app/recent_files.h"
#include "app/session_file.h"
#include "app/slot_rows.h"
#include "app/spectrum_export.h"
#include "app/startup.h"
#include "windows/column_dialog.h"
#include "windows/file_chooser.h"
#include "windows/file_drops.h"
#include "windows/main_window.h"
#include "windows/open_dialog.h"
#include "windows/outer_frame.h"
#include "windows/samp_controls.h"

namespace wendrel {

namespace {

constexpr const char* kProgramTitle = "Wendrel";

std::vector<std::filesystem::path> Paths(const QStringList& files) {
    std::vector<std::filesystem::path> paths;
    for (const QString& file : files) paths.emplace_back(file.toStdString());
    return paths;
}

void ShowModalBox(const std::string& text) {
    QMessageBox box(QMessageBox::NoIcon, kProgramTitle, QString::fromStdString(text), QMessageBox::Ok);
    box.setTextFormat(Qt::PlainText);  // messages name files and quote headers, which are no markup
    box.exec();
}

bool AskYesNo(const std::string& text) {
    QMessageBox box(QMessageBox::Question, kProgramTitle, QString::fromStdString(text),
                    QMessageBox::Yes | QMessageBox::No);
    return box.exec() == QMessageBox::Yes;
}

// A name the user typed without an ending takes `ending`.
QString WithEnding(QString path, const QString& ending) {
    if (!path.isEmpty() && QFileInfo(path).suffix().isEmpty()) path += ending;
    return path;
}

}  // namespace

Program::Program(std::filesystem::path settingsPath, MessageBox messageBox, EndProgram endProgram)
    : settingsPath_(std::move(settingsPath)),
      messageBox_(messageBox ? std::move(messageBox) : ShowModalBox),
      endProgram_(endProgram ? std::move(endProgram) : [] { QCoreApplication::exit(0); }),
      plot_(ws_, *this),
      header_(ws_),
      help_(ws_),
      about_(ws_),
      printing_(*this),
      saving_(ws_, *this),
      questionBox_(AskYesNo) {
    MainWindowActions actions;
    actions.showFileChooser = [this] { ShowFileChooser(); };
    actions.pressHdr = [this](int slot) { header_.HdrPressed(slot); };
    actions.showHelp = [this] { help_.Show(); };
    actions.showAbout = [this] { about_.Show(); };
    actions.shutDown = [this] { ShutDown(); };
    actions.openFiles = [this] { AskFilesToOpen(); };
    actions.openSession = [this] { AskSessionToOpen(); };
    actions.saveSession = [this] { AskSessionToSave(); };
    actions.recentEntries = [this] { return recent_; };
    actions.openRecent = [this](const std::string& entry) { OpenRecent(entry); };
    actions.rowMenu = [this](QMenu& menu, int slot) { samp_->AddSendMenu(menu, slot); };
    main_ = std::make_unique<frmMain_Wd01>(ws_, *this, std::move(actions));
    samp_ = new SampControls(ws_, *this, *main_, settingsPath_);
    plot_.SetOffsetCaptionHandler([this](int slot, const std::string& caption) {
        main_->SetOffsetCaption(slot, QString::fromStdString(caption));
    });
    plot_.SetWindowOpenedHandler([this](frmPlot_Spectra& window) {
        saving_.Connect(window);
        printing_.Connect(window);
        QObject::connect(window.ExportSpectraAction(), &QAction::triggered, &window, [this] { AskExportFile(); });
        window.SetLegendMenuHandler([this](QMenu& menu, int slot) { samp_->AddSendMenu(menu, slot); });
    });
    new FileDrops(*main_, *main_->centralWidget(), [this](int row, const QStringList& files, const QStringList& others) {
        DropFiles(row, files, others);
    });
}

Program::~Program() {
    delete chooser_;
}

void Program::Start() {
    StartUp(ws_, settingsPath_, *this);
    recent_ = RestoreKeptChoices(ws_, settingsPath_);
    MoveOuterTwips(*main_, ws_.Config.MainLeft, ws_.Config.MainTop);
    KeepOnScreen(*main_);
    main_->SetUpOffsetBars();
    main_->show();
    samp_->ConnectAtStartIfChosen();
}

void Program::LoadAtStart(const QStringList& files) {
    std::vector<std::filesystem::path> spectra, sessions;
    for (const std::filesystem::path& file : Paths(files)) (IsSessionFile(file) ? sessions : spectra).push_back(file);
    if (!sessions.empty()) OpenSessionFile(std::filesystem::absolute(sessions.front()));
    if (sessions.size() > 1) {
        std::string text = "Only one session opens at a time, so these were not opened:";
        for (size_t k = 1; k < sessions.size(); ++k) text += "\n" + sessions[k].string();
        messageBox_(text);
    }
    if (!spectra.empty()) LoadFiles(ws_, PlanIntoEmptyRows(ws_, spectra), *this);
}

void Program::OpenSessionFile(const std::filesystem::path& file) {
    const SessionRead read = ReadSessionFile(file);
    if (!read.session) return messageBox_(read.error);
    if (CountLoaded(ws_) > 0 &&
        !questionBox_("Opening the session \"" + file.string() + "\" replaces the spectra loaded now. Open it?"))
        return;
    openingSession_ = true;
    OpenSession(ws_, *read.session, file, *this);
    openingSession_ = false;
    main_->SetUpOffsetBars();
    if (frmPlot_Spectra* window = plot_.Window()) window->SyncMenus();
    NoteRecent(file.string());
}

bool Program::SaveSessionTo(const std::filesystem::path& file) {
    const std::string error = WriteSessionFile(file, ws_);
    if (!error.empty()) {
        messageBox_(error);
        return false;
    }
    NoteRecent(file.string());
    return true;
}

void Program::OpenRecent(const std::string& entry) {
    if (IsSessionFile(entry)) return OpenSessionFile(entry);
    LoadFiles(ws_, PlanIntoEmptyRows(ws_, {entry}), *this);
}

void Program::NoteRecent(const std::string& path) {
    recent_ = WithRecent(std::move(recent_), path);
    KeepChoices(ws_, settingsPath_, recent_);  // a list that cannot be written is only the shorter for it
}

void Program::AskFilesToOpen() {
    const QString folder = ws_.FilePath.empty() ? QDir::currentPath() : QString::fromStdString(ws_.FilePath);
    const QStringList files = wendrel::AskFilesToOpen(main_.get(), folder);
    if (!files.isEmpty()) DropFiles(0, files);
}

void Program::AskSessionToOpen() {
    const QString folder = ws_.FilePath.empty() ? QDir::currentPath() : QString::fromStdString(ws_.FilePath);
    const QString path = QFileDialog::getOpenFileName(main_.get(), "Open Session", folder,
                                                      "Wendrel session (*.wendrel);;All files (*)");
    if (!path.isEmpty()) OpenSessionFile(path.toStdString());
}

void Program::AskSessionToSave() {
    if (CountLoaded(ws_) == 0) return messageBox_("No spectrum is loaded, so there is no session to save.");
    const QString folder = ws_.FilePath.empty() ? QDir::currentPath() : QString::fromStdString(ws_.FilePath);
    const QString path = QFileDialog::getSaveFileName(main_.get(), "Save Session As",
                                                      QDir(folder).filePath("session.wendrel"),
                                                      "Wendrel session (*.wendrel)");
    if (!path.isEmpty()) SaveSessionTo(WithEnding(path, ".wendrel").toStdString());
}

void Program::AskExportFile() {
    const QString folder = ws_.FilePath.empty() ? QDir::currentPath() : QString::fromStdString(ws_.FilePath);
    QString filter;
    const QString path =
        QFileDialog::getSaveFileName(plot_.Window(), "Export Spectra", QDir(folder).filePath("spectra.csv"),
                                     "CSV text (*.csv);;FITS tables (*.fits)", &filter);
    if (path.isEmpty()) return;
    const QString file = WithEnding(path, filter.startsWith("FITS") ? ".fits" : ".csv");
    const std::string error = ExportSpectra(ws_, file.toStdString());
    if (!error.empty()) messageBox_(error);
}

void Program::DropFiles(int row, const QStringList& files, const QStringList& others) {
    if (!files.isEmpty()) {
        const std::vector<std::filesystem::path> paths = Paths(files);
        LoadFiles(ws_, row == 0 ? PlanIntoEmptyRows(ws_, paths) : PlanFromRow(ws_, row, paths), *this);
    }
    if (!others.isEmpty())
        messageBox_((others.size() == 1 ? "This dropped item is no file on this computer and was not loaded:\n"
                                        : "These dropped items are no files on this computer and were not loaded:\n") +
                    others.join("\n").toStdString());
}

void Program::ShowFileChooser() {
    if (!chooser_) chooser_ = new frmLoad_FitsFile(ws_, *this, nullptr, lastLoadFolder_);
    chooser_->setAttribute(Qt::WA_DeleteOnClose);
    chooser_->SelectFileType(1);
    chooser_->show();
    chooser_->raise();
    chooser_->activateWindow();
    chooser_->SelectFileType(0);
}

void Program::ShutDown() {
    const QRectF outer = OuterGeometryTwips(*main_);
    const std::string error = wendrel::ShutDown(ws_, outer.left(), outer.top(), settingsPath_);
    KeepChoices(ws_, settingsPath_, recent_);
    if (!error.empty()) messageBox_(error);
    endProgram_();
}

void Program::ShowMessage(const std::string& text) { messageBox_(text); }

// Every load that succeeds shows its row, with FilePath naming its folder.
// and SourcePath its file, which becomes the newest recent entry.
void Program::ShowLoadedRow(int slot) {
    lastLoadFolder_ = QString::fromStdString(ws_.FilePath);
    main_->ShowLoadedRow(slot);
    if (!openingSession_) NoteRecent(ws_.slot(slot)->SourcePath);
}

void Program::ShowRowCaptions(int slot) { main_->ShowLoadedRow(slot); }

void Program::HideLoadedRow(int slot) { main_->HideLoadedRow(slot); }

void Program::RedrawPlot() { plot_.RedrawPlot(); }

bool Program::PlotShown() const { return plot_.PlotShown(); }

void Program::ClearPlotWindow() { plot_.ClearPlotWindow(); }

void Program::HidePlotWindow() { plot_.HidePlotWindow(); }

std::optional<ColumnChoice> Program::ChooseTableColumns(const std::string& fileName,
                                                        const std::vector<TableColumn>& columns) {
    return AskTableColumns(chooser_ && chooser_->isVisible() ? static_cast<QWidget*>(chooser_) : main_.get(), fileName,
                           columns);
}

}  // namespace wendrel
