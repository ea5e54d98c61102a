#include "windows/plot_window_host.h"

#include <QPainter>

#include "plot/painter_surface.h"
#include "plot/renderer.h"
#include "windows/twips.h"

namespace wendrel {

PlotWindowHost::PlotWindowHost(Workspace& ws, UiHooks& ui)
    : ws_(ws), ui_(ui) {}

PlotWindowHost::~PlotWindowHost() { delete window_; }

frmPlot_Spectra& PlotWindowHost::Open() {
    if (!window_) {
        window_ = new frmPlot_Spectra(ws_, ui_, offsetCaption_);
        // The window deletes itself after its closing handler; from then on
        // it is closed for the program.
        QObject::connect(window_, &frmPlot_Spectra::unloaded, window_, [this] { window_ = nullptr; });
        window_->Form_Load();
        if (windowOpened_) windowOpened_(*window_);
    }
    return *window_;
}

void PlotWindowHost::RedrawPlot() {
    if (ws_.DataReady) {
        if (window_) window_->View().FollowView();
        // Showing the window raises its resize event; drawing keeps that
        // from starting a second redraw. A new window is drawing from its
        // opening on.
        frmPlot_Spectra& window = Open();
        window.SetDrawing(true);
        window.ShowWindow();
        window.Cls();
        window.SetDrawing(false);
        window.ShowLayout(Draw(window));
    }
    if (window_) window_->Repaint();
}

PlotLayout PlotWindowHost::Draw(frmPlot_Spectra& window) const {
    QImage& image = window.Image();
    QPainter painter(&image);
    PainterSurface surface(painter, image.size(), TwipsPerPixel(), PainterSurface::Cells);
    return wendrel::RedrawPlot(ws_, surface, window.DrawnArea());
}

void PlotWindowHost::ClearPlotWindow() {
    if (!window_) return;
    window_->Cls();
    window_->Repaint();
}

void PlotWindowHost::HidePlotWindow() {
    if (window_) window_->hide();
}

}  // namespace wendrel
