#include "windows/plot_window_host.h"

#include "plot/plot_layout.h"
#include "plot/renderer.h"
#include "windows/twips.h"

namespace wendrel {

// What the redraw draws on: the window's image and labels. Showing creates
// the window when it is closed.
class PlotWindowHost::Surface final : public PlotSurface {
public:
    explicit Surface(PlotWindowHost& host) : host_(host) {}

    void Show() override { host_.Open().ShowWindow(); }
    void Cls() override { host_.Open().Cls(); }
    void SetForeColor(int32_t color) override { host_.Open().Surface().SetForeColor(color); }
    void Line(float x1, float y1, float x2, float y2) override { host_.Open().Surface().Line(x1, y1, x2, y2); }
    void DashedLine(float x1, float y1, float x2, float y2) override {
        host_.Open().Surface().DashedLine(x1, y1, x2, y2);
    }
    void CentredText(float x, float baseline, const std::string& text) override {
        host_.Open().Surface().CentredText(x, baseline, text);
    }
    void SetLabel(PlotLabel label, double left, double top, const std::string& caption) override {
        host_.Open().SetLabel(label, left, top, caption);
    }
    double OuterWidth() const override {
        return host_.window_ ? host_.window_->OuterWidthTwips() : OpenedWidth(host_.ws_.PlotWinWidth);
    }
    double TwipsPerColumn() const override { return TwipsPerPixel(); }

private:
    PlotWindowHost& host_;
};

PlotWindowHost::PlotWindowHost(Workspace& ws, UiHooks& ui)
    : ws_(ws), ui_(ui), surface_(std::make_unique<Surface>(*this)) {}

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
    if (window_ && ws_.DataReady) {
        ws_.PlotSpan = ws_.PlotRight - ws_.PlotLeft;
        window_->View().FollowView();
    }
    wendrel::RedrawPlot(ws_, *surface_);
    if (window_) window_->Repaint();
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
