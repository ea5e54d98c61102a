#include "windows/program.h"

#include <QCoreApplication>
#include <QMessageBox>

#include "app/open_files.h"
#include "app/startup.h"
#include "windows/column_dialog.h"
#include "windows/file_chooser.h"
#include "windows/file_drops.h"
#include "windows/main_window.h"
#include "windows/outer_frame.h"

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
      saving_(ws_, *this) {
    MainWindowActions actions;
    actions.showFileChooser = [this] { ShowFileChooser(); };
    actions.pressHdr = [this](int slot) { header_.HdrPressed(slot); };
    actions.showHelp = [this] { help_.Show(); };
    actions.showAbout = [this] { about_.Show(); };
    actions.shutDown = [this] { ShutDown(); };
    main_ = std::make_unique<frmMain_Wd01>(ws_, *this, std::move(actions));
    plot_.SetOffsetCaptionHandler([this](int slot, const std::string& caption) {
        main_->SetOffsetCaption(slot, QString::fromStdString(caption));
    });
    plot_.SetWindowOpenedHandler([this](frmPlot_Spectra& window) {
        saving_.Connect(window);
        printing_.Connect(window);
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
    MoveOuterTwips(*main_, ws_.MainLeft, ws_.MainTop);
    KeepOnScreen(*main_);
    main_->SetUpOffsetBars();
    main_->show();
}

void Program::LoadAtStart(const QStringList& files) {
    if (files.isEmpty()) return;
    LoadFiles(ws_, PlanIntoEmptyRows(ws_, Paths(files)), *this);
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
    if (!error.empty()) messageBox_(error);
    endProgram_();
}

void Program::ShowMessage(const std::string& text) { messageBox_(text); }

// Every load that succeeds shows its row, with FilePath naming its folder.
void Program::ShowLoadedRow(int slot) {
    lastLoadFolder_ = QString::fromStdString(ws_.FilePath);
    main_->ShowLoadedRow(slot);
}

void Program::HideLoadedRow(int slot) { main_->HideLoadedRow(slot); }

void Program::RedrawPlot() { plot_.RedrawPlot(); }

void Program::ClearPlotWindow() { plot_.ClearPlotWindow(); }

void Program::HidePlotWindow() { plot_.HidePlotWindow(); }

std::optional<ColumnChoice> Program::ChooseTableColumns(const std::string& fileName,
                                                        const std::vector<TableColumn>& columns) {
    return AskTableColumns(chooser_ && chooser_->isVisible() ? static_cast<QWidget*>(chooser_) : main_.get(), fileName,
                           columns);
}

}  // namespace wendrel
