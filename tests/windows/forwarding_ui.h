// A recording UI that forwards the plot's hooks to a plot window host, as the
// program does.
#pragma once

#include "tests/support/recording_ui.h"
#include "windows/plot_window_host.h"

namespace wendrel::testing {

struct ForwardingUi : RecordingUi {
    void RedrawPlot() override {
        RecordingUi::RedrawPlot();
        if (host) host->RedrawPlot();
    }
    void ClearPlotWindow() override {
        if (host) host->ClearPlotWindow();
    }
    void HidePlotWindow() override {
        if (host) host->HidePlotWindow();
    }
    PlotWindowHost* host = nullptr;
};

}  // namespace wendrel::testing
