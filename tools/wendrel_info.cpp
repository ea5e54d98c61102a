// wendrel-info: loads FITS spectra through the program's own reader and
// prints what it made of them, one JSON object per line.
#include <QGuiApplication>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <iostream>
#include <string>
#include <string_view>
#include <tuple>
#include <utility>
#include <vector>

#include "app/open_files.h"
#include "app/slot_loading.h"
#include "app/slot_rows.h"
#include "app/ui_hooks.h"
#include "fits/fits_reader.h"
#include "plot/pixel_wavelengths.h"
#include "store/workspace.h"
#include "tools/info_measure.h"
#include "tools/info_options.h"
#include "tools/info_render.h"
#include "tools/json_line.h"

namespace wendrel {
namespace {

// A load here shows nothing: its messages go into its JSON line as the reader
// gave them, since the line names the file already.
class QuietUi : public UiHooks {
public:
    void ShowMessage(const std::string&) override {}
    void ShowLoadedRow(int) override {}
    void HideLoadedRow(int) override {}
    void RedrawPlot() override {}
    void ClearPlotWindow() override {}
    void HidePlotWindow() override {}
};

// `spectrum` is the spectrum's number in a file of several, else 0.
std::string SlotLine(const Slot& s, int slot, const std::string& file, int64_t spectrum, bool loaded,
                     const std::vector<std::string>& messages, const InfoOptions& options) {
    JsonLine line;
    line.Integer("slot", slot).Text("file", file);
    if (spectrum > 0) line.Integer("spectrum", spectrum);
    line.Bool("loaded", loaded).Texts("messages", messages);
    if (!loaded) return line.Finish();
    line.Text("object", s.ObjectName)
        .Number("bitpix", s.Bitpix != 0 ? s.Bitpix : std::nan(""))  // a text file has none
        .Number("naxis1", s.Naxis1)
        .Number("bzero", s.Bzero)
        .Number("lambda0", s.Lambda0)
        .Number("dlambda", s.DLambda)
        .Number("lambdaStart", s.LambdaStart)
        .Number("lambdaEnd", s.LambdaEnd)
        .Text("dispersion", s.Dispersion);
    if (s.Medium.empty()) {
        line.Null("medium");
    } else {
        line.Text("medium", s.Medium);
    }
    line.Number("level", s.Level)
        .Number("pctMax", s.PctMax)
        .Integer("numCards", s.NumCards);
    if (options.pixels) {
        std::vector<double> centres(s.Flux.size());
        for (size_t p = 0; p < centres.size(); ++p) centres[p] = ObservedPixelCentre(s, static_cast<int64_t>(p) + 1);
        line.Numbers("lambda", centres).Numbers("flux", s.Flux).Numbers("fluxPct", s.FluxPct);
    }
    if (options.header) line.Texts("cards", s.HdrCard);
    if (options.measureSpan) line.Object("measure", MeasureObject(s, *options.measureSpan, options.continuum));
    if (options.fit) line.Object("fit", FitObject(s, *options.fit));
    return line.Finish();
}

std::string WorkspaceLine(const Workspace& ws) {
    return JsonLine()
        .Number("lambdaMin", ws.LambdaMin)
        .Number("lambdaMax", ws.LambdaMax)
        .Number("plotLeft", ws.PlotLeft)
        .Number("plotRight", ws.PlotRight)
        .Bool("dataReady", ws.DataReady)
        .Finish();
}

// Splits a file argument into the folder and the name the reader joins again.
bool SplitFileArgument(const std::string& arg, std::string& folder, std::string& name) {
    std::filesystem::path path(arg);
    if (!path.has_filename()) path = path.parent_path();  // "spectra/" names the folder itself
    if (!path.has_filename()) return false;
    name = path.filename().string();
    folder = path.has_parent_path() ? path.parent_path().string() : std::string(".");
    return true;
}

// Qt's own messages go to standard error as usual, except the complaints about
// the per-user runtime folder, which the headless platform asks for but a
// picture written to a named file never uses.
void QtMessage(QtMsgType type, const QMessageLogContext&, const QString& text) {
    if (text.startsWith("QStandardPaths:")) return;
    if (type == QtDebugMsg || type == QtInfoMsg) return;
    std::cerr << "wendrel-info: " << text.toStdString() << "\n";
}

// Draws the plot of the loaded slots into options.renderPath. Returns the exit
// status: `loadStatus`, or 3 when the picture cannot be written.
int Render(Workspace& ws, const InfoOptions& options, int loadStatus) {
    const std::string& path = *options.renderPath;
    if (!ws.DataReady) {
        std::cerr << "wendrel-info: no file loaded, so no picture was written to " << path << "\n";
        return loadStatus;
    }
    if (options.renderOffsets)
        for (size_t i = 0; i < options.renderOffsets->size(); ++i)
            ws.slot(static_cast<int>(i) + 1).Offset = (*options.renderOffsets)[i];
    if (options.renderVelocities) {
        for (size_t i = 0; i < options.renderVelocities->size(); ++i)
            ws.slot(static_cast<int>(i) + 1).Velocity = (*options.renderVelocities)[i];
        RecalcLambdaRange(ws);  // the full range and the view of the shifted spectra
    }
    if (options.renderLines) ws.LineMarkSets.insert(options.renderLines->begin(), options.renderLines->end());
    if (options.renderFitY) ws.Intensity = Workspace::IntensityRange::FitToView;
    if (options.renderYRange) {
        ws.Intensity = Workspace::IntensityRange::Fixed;
        std::tie(ws.IntensityLow, ws.IntensityHigh) = *options.renderYRange;
    }
    ws.ScaleFlux = options.renderScaleFlux.value_or(false);
    ws.ShowLegend = options.renderLegend;
    if (options.renderView) {
        ws.PlotLeft = options.renderView->first;
        ws.PlotRight = options.renderView->second;
        ws.PlotSpan = ws.PlotRight - ws.PlotLeft;
    }
    const auto [width, height] = options.renderSize.value_or(std::pair(kDefaultRenderWidth, kDefaultRenderHeight));

    // Labels need fonts, which need a GUI application; it never opens a window.
    int argc = 3;
    char name[] = "wendrel-info", platform[] = "-platform", offscreen[] = "offscreen";
    char* argv[] = {name, platform, offscreen, nullptr};
    qInstallMessageHandler(QtMessage);
    const QGuiApplication app(argc, argv);
    const std::string error = SavePng(RenderPlotPicture(ws, width, height), path);
    if (error.empty()) return loadStatus;
    std::cerr << "wendrel-info: " << error << "\n";
    return 3;
}

int Run(const std::vector<std::string_view>& args) {
    const InfoArguments parsed = ParseInfoArguments(args);
    if (!parsed.error.empty()) {
        std::cerr << "wendrel-info: " << parsed.error << "\n" << InfoUsage();
        return 2;
    }
    const InfoOptions& options = parsed.options;
    if (options.help) {
        std::cout << InfoUsage();
        return 0;
    }

    Workspace ws;
    if (options.lambda0Key) ws.Lambda0Key = *options.lambda0Key;
    if (options.dLambdaKey) ws.DLambdaKey = *options.dLambdaKey;

    std::vector<std::pair<std::string, std::string>> places;
    for (const std::string& file : options.files) {
        std::string folder, name;
        if (!SplitFileArgument(file, folder, name)) {
            std::cerr << "wendrel-info: \"" << file << "\" does not name a file\n";
            return 2;
        }
        places.emplace_back(folder, name);
    }

    // Each file's spectra go into the next empty slots; a file of several
    // spectra gives one line per spectrum, its messages on the first.
    bool allLoaded = true;
    int slot = 1;
    for (size_t i = 0; i < places.size(); ++i) {
        const std::filesystem::path file = std::filesystem::path(places[i].first) / places[i].second;
        if (slot > kMaxSlots) {
            std::cout << SlotLine({}, 0, options.files[i], 0, false, {NoRowLeftMessage({file})}, options) << "\n";
            allLoaded = false;
            continue;
        }
        LoadResult read = LoadFitsFile(file, ws);
        const std::vector<std::string> messages = read.messages;
        const size_t found = read.spectra.size(), inFile = read.spectraInFile;
        const std::vector<int64_t> numbers = read.numbers;
        QuietUi ui;
        if (!CommitLoad(ws, slot, file, std::move(read), ui)) {
            std::cout << SlotLine({}, slot, options.files[i], 0, false, messages, options) << "\n";
            allLoaded = false;
            continue;
        }
        // The slots after `slot` are empty, so the spectra filled them in order.
        const int filled = static_cast<int>(std::min<size_t>(found, static_cast<size_t>(kMaxSlots - slot + 1)));
        for (int k = 0; k < filled; ++k) {
            const size_t n = static_cast<size_t>(k);
            // Measured in the rest frame the plot would show; the picture sets the same velocities again.
            if (options.renderVelocities && slot + k <= std::ssize(*options.renderVelocities))
                ws.slot(slot + k).Velocity = (*options.renderVelocities)[static_cast<size_t>(slot + k - 1)];
            const bool several = ws.slot(slot + k).FileName.ends_with("#" + std::to_string(numbers[n]));
            std::cout << SlotLine(ws.slot(slot + k), slot + k, options.files[i], several ? numbers[n] : 0, true,
                                  k == 0 ? messages : std::vector<std::string>{}, options)
                      << "\n";
        }
        slot += filled;
        allLoaded = allLoaded && found == inFile && static_cast<size_t>(filled) == found;
    }
    std::cout << WorkspaceLine(ws) << "\n";
    std::cout.flush();
    const int loadStatus = allLoaded ? 0 : 1;
    return options.renderPath ? Render(ws, options, loadStatus) : loadStatus;
}

}  // namespace
}  // namespace wendrel

int main(int argc, char** argv) {
    std::ios::sync_with_stdio(false);
    const std::vector<std::string_view> args(argv + 1, argv + argc);
    return wendrel::Run(args);
}
