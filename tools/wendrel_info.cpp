// wendrel-info: loads FITS spectra through the program's own reader and
// prints what it made of them, one JSON object per line.
#include <QGuiApplication>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <iostream>
#include <optional>
#include <string>
#include <string_view>
#include <tuple>
#include <utility>
#include <vector>

#include "app/open_files.h"
#include "app/session_file.h"
#include "app/slot_loading.h"
#include "app/slot_rows.h"
#include "app/velocity_axis_rows.h"
#include "app/spectrum_export.h"
#include "app/ui_hooks.h"
#include "fits/fits_reader.h"
#include "plot/pixel_wavelengths.h"
#include "store/workspace.h"
#include "tools/info_compare.h"
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

// The same, keeping the messages for the JSON lines.
class RecordingMessages : public QuietUi {
public:
    void ShowMessage(const std::string& text) override { messages.push_back(text); }
    std::vector<std::string> messages;
};

// `spectrum` is the spectrum's number in a file of several, else 0.
std::string SlotLine(const Row& s, int slot, const std::string& file, int64_t spectrum, bool loaded,
                     const std::vector<std::string>& messages, const InfoOptions& options,
                     const std::optional<JsonLine>& xcorr = std::nullopt) {
    JsonLine line;
    line.Integer("slot", slot).Text("file", file);
    if (spectrum > 0) line.Integer("spectrum", spectrum);
    line.Bool("loaded", loaded).Texts("messages", messages);
    if (!loaded) return line.Finish();
    line.Text("object", s->ObjectName)
        .Number("bitpix", s->Bitpix != 0 ? s->Bitpix : std::nan(""))  // a text file has none
        .Number("naxis1", s->Naxis1)
        .Number("bzero", s->Bzero)
        .Number("lambda0", s->Lambda0)
        .Number("dlambda", s->DLambda)
        .Number("lambdaStart", s->LambdaStart)
        .Number("lambdaEnd", s->LambdaEnd)
        .Text("dispersion", s->Dispersion);
    if (s->Medium.empty()) {
        line.Null("medium");
    } else {
        line.Text("medium", s->Medium);
    }
    line.Number("level", s->Level)
        .Number("pctMax", s->PctMax)
        .Integer("numCards", s->NumCards);
    if (options.pixels) {
        std::vector<double> centres(s->Flux.size());
        for (size_t p = 0; p < centres.size(); ++p) centres[p] = ObservedPixelCentre(s.spectrum(), static_cast<int64_t>(p) + 1);
        line.Numbers("lambda", centres).Numbers("flux", s->Flux).Numbers("fluxPct", s->FluxPct);
        line.Numbers("sigma", s->Sigma.empty() ? std::vector<double>(s->Flux.size(), std::nan("")) : s->Sigma);
    }
    if (options.header) line.Texts("cards", s->HdrCard);
    if (options.measureSpan) line.Object("measure", MeasureObject(s, *options.measureSpan, options.continuum));
    if (options.fit) line.Object("fit", FitObject(s, *options.fit));
    if (xcorr) line.Object("xcorr", *xcorr);
    return line.Finish();
}

// A file's line, printed once every file has loaded and the rows are smoothed and combined.
struct PendingLine {
    int slot = 0;
    std::string file;
    int64_t spectrum = 0;
    bool loaded = false;
    std::vector<std::string> messages;
};

std::string WorkspaceLine(const Workspace& ws) {
    return JsonLine()
        .Number("lambdaMin", ws.View.LambdaMin)
        .Number("lambdaMax", ws.View.LambdaMax)
        .Number("plotLeft", ws.View.PlotLeft)
        .Number("plotRight", ws.View.PlotRight)
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

// The view options on top of what the files and the session gave: offsets
// and velocities row by row, the line marks added, the intensity axis, scale
// and legend when given, then the view.
void ApplyViewOptions(Workspace& ws, const InfoOptions& options) {
    if (options.renderOffsets)
        for (size_t i = 0; i < options.renderOffsets->size(); ++i)
            ws.slot(static_cast<int>(i) + 1).Offset = (*options.renderOffsets)[i];
    if (options.renderVelocities) {
        for (size_t i = 0; i < options.renderVelocities->size(); ++i)
            ws.slot(static_cast<int>(i) + 1).Velocity = (*options.renderVelocities)[i];
        RecalcLambdaRange(ws);  // the full range and the view of the shifted spectra
    }
    if (options.renderLines) ws.View.LineMarkSets.insert(options.renderLines->begin(), options.renderLines->end());
    if (options.renderFitY) ws.View.Intensity = PlotView::IntensityRange::FitToView;
    if (options.renderYRange) {
        ws.View.Intensity = PlotView::IntensityRange::Fixed;
        std::tie(ws.View.IntensityLow, ws.View.IntensityHigh) = *options.renderYRange;
    }
    if (options.renderScaleFlux) ws.View.ScaleFlux = *options.renderScaleFlux;
    if (options.renderLegend) ws.View.ShowLegend = true;
    ApplyLookOptions(ws, options.look);
    if (options.renderUncertainties) ws.View.ShowUncertainties = true;
    if (options.renderXUnit) ws.View.XUnit = *options.renderXUnit;
    if (options.renderVelocityRest) SetVelocityAxis(ws, *options.renderVelocityRest, options.renderVelocityRowRest);
    if (options.renderView) {
        ws.View.PlotLeft = options.renderView->first;
        ws.View.PlotRight = options.renderView->second;
    }
}

// Draws the plot of the loaded slots into options.renderPath. Returns the exit
// status: `loadStatus`, or 3 when the picture cannot be written.
int Render(Workspace& ws, const InfoOptions& options, int loadStatus) {
    const std::string& path = *options.renderPath;
    const auto [width, height] = options.renderSize.value_or(std::pair(kDefaultRenderWidth, kDefaultRenderHeight));
    const RenderShape shape{width, height, double(options.renderFontPoints.value_or(8))};

    // Labels need fonts, which need a GUI application; it never opens a window.
    int argc = 3;
    char name[] = "wendrel-info", platform[] = "-platform", offscreen[] = "offscreen";
    char* argv[] = {name, platform, offscreen, nullptr};
    qInstallMessageHandler(QtMessage);
    const QGuiApplication app(argc, argv);
    const std::string error = WriteRenderedPicture(ws, shape, path);
    if (error.empty()) return loadStatus;
    std::cerr << "wendrel-info: " << error << "\n";
    return 3;
}

// Writes the session, the exported spectra and the picture the options ask
// for. Returns the exit status: `loadStatus`, or 3 when one cannot be written.
int WriteOutputs(Workspace& ws, const InfoOptions& options, int loadStatus) {
    if (!options.saveSessionPath && !options.exportPath && !options.renderPath) return loadStatus;
    if (!ws.DataReady) {
        std::cerr << "wendrel-info: no file loaded, so nothing was written\n";
        return loadStatus;
    }
    ApplyViewOptions(ws, options);
    int status = loadStatus;
    const auto report = [&status](const std::string& error) {
        if (error.empty()) return;
        std::cerr << "wendrel-info: " << error << "\n";
        status = 3;
    };
    if (options.saveSessionPath) report(WriteSessionFile(*options.saveSessionPath, ws));
    if (options.exportPath) report(ExportSpectra(ws, *options.exportPath));
    if (options.renderPath && Render(ws, options, 0) != 0) status = 3;
    return status;
}

// The rows a load into `slot` fills, in CommitLoad's order: the slot, the
// empty rows below it, then those above.
std::vector<int> RowsFrom(const Workspace& ws, int slot) {
    std::vector<int> rows = {slot};
    for (int row = slot + 1; row <= kMaxSlots; ++row)
        if (!ws.slot(row).Loaded()) rows.push_back(row);
    for (int row = 1; row < slot; ++row)
        if (!ws.slot(row).Loaded()) rows.push_back(row);
    return rows;
}

int FirstEmptyRow(const Workspace& ws) {
    for (int row = 1; row <= kMaxSlots; ++row)
        if (!ws.slot(row).Loaded()) return row;
    return kMaxSlots + 1;
}

// Opens the session of --session and prints a line per row of it. Returns
// whether every row opened; nothing when the session itself was refused.
std::optional<bool> OpenSessionOption(Workspace& ws, const InfoOptions& options) {
    const std::filesystem::path file(*options.sessionPath);
    SessionRead read = ReadSessionFile(file);
    if (!read.session) {
        std::cerr << "wendrel-info: " << read.error << "\n";
        return std::nullopt;
    }
    if (options.lambda0Key) read.session->Lambda0Key = *options.lambda0Key;
    if (options.dLambdaKey) read.session->DLambdaKey = *options.dLambdaKey;
    RecordingMessages ui;
    OpenSession(ws, *read.session, file, ui);
    bool all = true;
    for (const SessionRow& row : read.session->Rows) {
        const Row& s = ws.slot(row.Row);
        const bool combined = row.Derived.Combined.Kind != RowCombination::None;
        const std::string path = combined ? (s.Loaded() ? s->FileName : "") : SessionRowPath(row, file).string();
        const bool several = s.Loaded() && s->FileName.ends_with("#" + std::to_string(row.Spectrum));
        std::cout << SlotLine(s, row.Row, path, several ? row.Spectrum : 0, s.Loaded(),
                              s.Loaded() ? std::vector<std::string>{} : ui.messages, options)
                  << "\n";
        all = all && s.Loaded();
    }
    return all;
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
    if (options.lambda0Key) ws.Config.Lambda0Key = *options.lambda0Key;
    if (options.dLambdaKey) ws.Config.DLambdaKey = *options.dLambdaKey;

    std::vector<std::pair<std::string, std::string>> places;
    for (const std::string& file : options.files) {
        std::string folder, name;
        if (!SplitFileArgument(file, folder, name)) {
            std::cerr << "wendrel-info: \"" << file << "\" does not name a file\n";
            return 2;
        }
        places.emplace_back(folder, name);
    }

    bool allLoaded = true;
    if (options.sessionPath) {
        const std::optional<bool> opened = OpenSessionOption(ws, options);
        if (!opened) return 1;
        allLoaded = *opened;
    }
    // Each file's spectra go into the next empty slots; a file of several
    // spectra gives one line per spectrum, its messages on the first.
    std::vector<PendingLine> pending;
    std::vector<int> fileRows;  // the row of each file's first spectrum, 0 for none
    for (size_t i = 0; i < places.size(); ++i) {
        fileRows.push_back(0);
        const std::filesystem::path file = std::filesystem::path(places[i].first) / places[i].second;
        const int slot = FirstEmptyRow(ws);
        if (slot > kMaxSlots) {
            pending.push_back({0, options.files[i], 0, false, {NoRowLeftMessage({file})}});
            allLoaded = false;
            continue;
        }
        LoadResult read = LoadFitsFile(file, ws.Config, options.columns);
        const std::vector<std::string> messages = read.messages;
        const size_t found = read.spectra.size(), inFile = read.spectraInFile;
        const std::vector<int64_t> numbers = read.numbers;
        const std::vector<int> rows = RowsFrom(ws, slot);
        QuietUi ui;
        if (!CommitLoad(ws, slot, file, std::move(read), ui)) {
            pending.push_back({slot, options.files[i], 0, false, messages});
            allLoaded = false;
            continue;
        }
        const size_t filled = std::min(found, rows.size());
        if (filled > 0) fileRows.back() = rows[0];
        for (size_t k = 0; k < filled; ++k) {
            // Measured in the rest frame the plot would show; the picture sets the same velocities again.
            if (options.renderVelocities && static_cast<size_t>(rows[k]) <= options.renderVelocities->size())
                ws.slot(rows[k]).Velocity = (*options.renderVelocities)[static_cast<size_t>(rows[k] - 1)];
            const Row& s = ws.slot(rows[k]);
            const bool several = s->FileName.ends_with("#" + std::to_string(numbers[k]));
            pending.push_back({rows[k], options.files[i], several ? numbers[k] : 0, true,
                               k == 0 ? messages : std::vector<std::string>{}});
        }
        allLoaded = allLoaded && found == inFile && filled == found;
    }
    // Smoothing, ratios and differences before anything is printed, measured or drawn.
    for (const std::string& message : SmoothRequestedRows(ws, options.compare, fileRows)) {
        std::cerr << "wendrel-info: " << message << "\n";
        allLoaded = false;
    }
    for (const CombinedLine& made : MakeRequestedCombinations(ws, options.compare, fileRows, options.files)) {
        pending.push_back({made.row, made.name, 0, made.row > 0,
                           made.refusal.empty() ? std::vector<std::string>{} : std::vector<std::string>{made.refusal}});
        allLoaded = allLoaded && made.row > 0;
    }
    const int templateRow = options.compare.xcorrTemplate ? fileRows[static_cast<size_t>(*options.compare.xcorrTemplate - 1)] : 0;
    for (const PendingLine& p : pending) {
        std::optional<JsonLine> xcorr;
        if (options.compare.xcorrTemplate && p.loaded && p.slot != templateRow)
            xcorr = templateRow > 0 ? XcorrObject(ws, templateRow, p.slot, options.compare.xcorrRange)
                                    : JsonLine().Text("refused", "The template's file loaded no spectrum.");
        std::cout << SlotLine(p.loaded ? ws.slot(p.slot) : Row{}, p.slot, p.file, p.spectrum, p.loaded, p.messages,
                              options, xcorr)
                  << "\n";
    }
    std::cout << WorkspaceLine(ws) << "\n";
    std::cout.flush();
    return WriteOutputs(ws, options, allLoaded ? 0 : 1);
}

}  // namespace
}  // namespace wendrel

int main(int argc, char** argv) {
    std::ios::sync_with_stdio(false);
    const std::vector<std::string_view> args(argv + 1, argv + argc);
    return wendrel::Run(args);
}
