// wendrel-info: loads FITS spectra through the program's own reader and
// prints what it made of them, one JSON object per line.
#include <cstdio>
#include <filesystem>
#include <iostream>
#include <string>
#include <string_view>
#include <vector>

#include "fits/fits_reader.h"
#include "store/ui_hooks.h"
#include "store/workspace.h"
#include "tools/info_options.h"
#include "tools/json_line.h"

namespace wendrel {
namespace {

// Collects the messages a load would show in message boxes.
class CollectingUi : public UiHooks {
public:
    void ShowMessage(const std::string& text) override { messages.push_back(text); }
    void ShowLoadedRow(int) override {}
    void HideLoadedRow(int) override {}
    void RedrawPlot() override {}
    void ClearPlotWindow() override {}
    void HidePlotWindow() override {}

    std::vector<std::string> messages;
};

std::string SlotLine(const Slot& s, int slot, const std::string& file, bool loaded,
                     const std::vector<std::string>& messages, const InfoOptions& options) {
    JsonLine line;
    line.Integer("slot", slot).Text("file", file).Bool("loaded", loaded).Texts("messages", messages);
    if (!loaded) return line.Finish();
    line.Text("object", s.ObjectName)
        .Number("bitpix", s.Bitpix)
        .Number("naxis1", s.Naxis1)
        .Number("bzero", s.Bzero)
        .Number("lambda0", s.Lambda0)
        .Number("dlambda", s.DLambda)
        .Number("lambdaStart", s.LambdaStart)
        .Number("lambdaEnd", s.LambdaEnd)
        .Number("level", s.Level)
        .Number("pctMax", s.PctMax)
        .Integer("numCards", s.NumCards);
    if (options.pixels) line.Numbers("flux", s.Flux).Numbers("fluxPct", s.FluxPct);
    if (options.header) line.Texts("cards", s.HdrCard);
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

    bool allLoaded = true;
    for (size_t i = 0; i < places.size(); ++i) {
        const int slot = static_cast<int>(i) + 1;
        ws.FilePath = places[i].first;
        ws.slot(slot).FileName = places[i].second;
        CollectingUi ui;
        const bool loaded = LoadFitsFile(ws, slot, ui);
        allLoaded = allLoaded && loaded;
        std::cout << SlotLine(ws.slot(slot), slot, options.files[i], loaded, ui.messages, options) << "\n";
    }
    std::cout << WorkspaceLine(ws) << "\n";
    std::cout.flush();
    return allLoaded ? 0 : 1;
}

}  // namespace
}  // namespace wendrel

int main(int argc, char** argv) {
    std::ios::sync_with_stdio(false);
    const std::vector<std::string_view> args(argv + 1, argv + argc);
    return wendrel::Run(args);
}
