// The running program: the workspace, its windows, and the binding between
// the logic's requests (messages, rows, redraws) and those windows.
#pragma once

#include <QPointer>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>

#include "store/ui_hooks.h"
#include "store/workspace.h"
#include "windows/about_box.h"
#include "windows/file_chooser.h"
#include "windows/header_viewer.h"
#include "windows/help_window.h"
#include "windows/plot_printing.h"
#include "windows/plot_window_host.h"

namespace wendrel {

class frmMain_Wd01;

class Program : public UiHooks {
public:
    // How a message reaches the user; by default a modal box with OK only.
    using MessageBox = std::function<void(const std::string&)>;
    // How the program ends once the settings are written; by default the
    // event loop ends at once.
    using EndProgram = std::function<void()>;

    explicit Program(std::filesystem::path settingsPath, MessageBox messageBox = {},
                     EndProgram endProgram = {});
    ~Program() override;

    // Start-up: settings, empty rows, offsets; then the main window shows.
    void Start();

    Workspace& workspace() { return ws_; }
    frmMain_Wd01& mainWindow() { return *main_; }
    // The file chooser, or nullptr before its first opening and after it was closed.
    frmLoad_FitsFile* fileChooser() const { return chooser_; }
    PlotWindowHost& plotHost() { return plot_; }
    HeaderViewerHost& headerViewer() { return header_; }
    HelpWindowHost& helpWindow() { return help_; }
    AboutBoxHost& aboutBox() { return about_; }
    PlotPrinting& printing() { return printing_; }

    // UiHooks
    void ShowMessage(const std::string& text) override;
    void ShowLoadedRow(int slot) override;
    void HideLoadedRow(int slot) override;
    void RedrawPlot() override;
    void ClearPlotWindow() override;
    void HidePlotWindow() override;

private:
    void ShowFileChooser();
    void ShutDown();

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
};

}  // namespace wendrel
