// Owner of the program's plot window. The window is created by the first
// redraw that draws (its opening, Form_Load, runs then), hidden and shown
// again at will, and destroyed when the user closes it; the next redraw
// creates it afresh. The program's UiHooks forward RedrawPlot,
// ClearPlotWindow and HidePlotWindow here.
#pragma once

#include <QPointer>
#include <functional>

#include "windows/plot_window.h"

namespace wendrel {

class PlotWindowHost {
public:
    // ui receives the redraws the window asks for (resize, zoom, pan); it is
    // expected to forward them to RedrawPlot here.
    PlotWindowHost(Workspace& ws, UiHooks& ui);
    // Deletes an open window without running its closing handler, as at
    // program end.
    ~PlotWindowHost();
    PlotWindowHost(const PlotWindowHost&) = delete;
    PlotWindowHost& operator=(const PlotWindowHost&) = delete;

    // The one redraw: does nothing until a spectrum has been loaded;
    // otherwise brings the scroll bar in line with the view, creates, shows
    // and clears the window as needed (the window drawing meanwhile), draws
    // the plot into its image and shows the layout.
    void RedrawPlot();
    // Clears the window's picture, when the window exists.
    void ClearPlotWindow();
    // Hides the window, when it exists.
    void HidePlotWindow();

    // Whether the window is open, shown or hidden.
    bool PlotShown() const { return window_ != nullptr; }
    // The open window (shown or hidden), or nullptr when it is closed.
    frmPlot_Spectra* Window() const { return window_; }

    // Called by each new window's opening with the offset caption of every
    // loaded slot, for the main window's offset labels.
    void SetOffsetCaptionHandler(frmPlot_Spectra::OffsetCaptionHandler handler) { offsetCaption_ = std::move(handler); }
    // Called once for each new window, right after its opening, so that
    // others (printing) can connect to its menu.
    void SetWindowOpenedHandler(std::function<void(frmPlot_Spectra&)> handler) { windowOpened_ = std::move(handler); }

private:
    frmPlot_Spectra& Open();
    PlotLayout Draw(frmPlot_Spectra& window) const;

    Workspace& ws_;
    UiHooks& ui_;
    QPointer<frmPlot_Spectra> window_;
    frmPlot_Spectra::OffsetCaptionHandler offsetCaption_;
    std::function<void(frmPlot_Spectra&)> windowOpened_;
};

}  // namespace wendrel
