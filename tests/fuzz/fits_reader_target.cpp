// Fuzz target: the bytes are a file loaded into slot 1,
// which already holds a spectrum. A refused load must leave the workspace as
// it was and say why; a load must leave a consistent slot.
#include <unistd.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <filesystem>
#include <string_view>

#include "app/slot_loading.h"
#include "tests/fuzz/fuzz_check.h"
#include "tests/robustness/workspace_difference.h"
#include "tests/support/fits_writer.h"
#include "tests/support/recording_ui.h"

namespace {

using namespace wendrel;

struct Fixture {
    std::filesystem::path folder;
    Workspace loaded;  // slots 1 and 2 hold spectra, the plot window is open
};

std::filesystem::path ScratchFolder() {
    const std::filesystem::path shm = "/dev/shm";
    const auto base = std::filesystem::is_directory(shm) ? shm : std::filesystem::temp_directory_path();
    auto folder = base / ("wendrel-fuzz-" + std::to_string(::getpid()));
    std::filesystem::create_directories(folder);
    return folder;
}

Fixture MakeFixture() {
    Fixture f{ScratchFolder(), Workspace()};
    Workspace& ws = f.loaded;
    for (const int slot : {1, 2}) {
        SpectrumFile s;
        s.stored.assign(75, 100.0 * slot);
        s.crval1 = 5000.0 * slot;
        s.object = "star " + std::to_string(slot);
        const std::string name = "base" + std::to_string(slot) + ".fits";
        WriteFileBytes(f.folder / name, SpectrumBytes(s));
        testing::RecordingUi ui;
        WENDREL_FUZZ_CHECK(LoadIntoSlot(ws, slot, f.folder / name, ui), "the fixture's spectrum loads");
    }
    ws.PlotShown = true;
    return f;
}

struct FolderRemover {
    std::filesystem::path folder;
    ~FolderRemover() {
        std::error_code ignored;
        std::filesystem::remove_all(folder, ignored);
    }
};

bool Finite(double v) { return std::isfinite(v); }

void CheckLoadedSlot(const Workspace& before, const Workspace& ws, const testing::RecordingUi& ui) {
    const Slot& s = ws.slot(1);
    const std::string file = s.FileName;
    WENDREL_FUZZ_CHECK(s.Loaded, file);
    WENDREL_FUZZ_CHECK(std::find(ui.events.begin(), ui.events.end(), "show row 1") != ui.events.end(), file);
    WENDREL_FUZZ_CHECK(ui.redraws == 1, file);
    WENDREL_FUZZ_CHECK(s.Naxis1 >= 1 && s.Flux.size() == static_cast<size_t>(s.Naxis1), file);
    WENDREL_FUZZ_CHECK(s.FluxPct.size() == s.Flux.size(), file);
    WENDREL_FUZZ_CHECK(s.Bitpix == 16 || s.Bitpix == 32 || s.Bitpix == -32 || s.Bitpix == -64, file);
    WENDREL_FUZZ_CHECK(s.NumCards >= 0 && s.HdrCard.size() == static_cast<size_t>(s.NumCards), file);
    for (const std::string& card : s.HdrCard) WENDREL_FUZZ_CHECK(card.size() <= 80, file);
    WENDREL_FUZZ_CHECK(Finite(s.Level) && s.Level > 0, file);
    for (size_t p = 0; p < s.Flux.size(); ++p) {
        WENDREL_FUZZ_CHECK(std::isnan(s.Flux[p]) || Finite(s.Flux[p]), file);
        WENDREL_FUZZ_CHECK(std::isnan(s.FluxPct[p]) || Finite(s.FluxPct[p]), file);
        WENDREL_FUZZ_CHECK(std::isnan(s.FluxPct[p]) || s.FluxPct[p] <= s.PctMax, file);
    }
    WENDREL_FUZZ_CHECK(Finite(s.PctMax) && s.PctMax >= -9999, file);
    // A scale other than the linear one gives every pixel its edges, running one way.
    if (s.Dispersion == "linear") {
        WENDREL_FUZZ_CHECK(s.PixelEdge.empty(), file);
    } else {
        WENDREL_FUZZ_CHECK(s.Dispersion == "log-linear" || s.Dispersion == "multispec", file);
        WENDREL_FUZZ_CHECK(s.PixelEdge.size() == s.Flux.size() + 1, file);
        const bool rising = s.PixelEdge[1] > s.PixelEdge[0];
        for (size_t k = 0; k + 1 < s.PixelEdge.size(); ++k) {
            WENDREL_FUZZ_CHECK(Finite(s.PixelEdge[k]) && Finite(s.PixelEdge[k + 1]), file);
            WENDREL_FUZZ_CHECK(rising ? s.PixelEdge[k + 1] > s.PixelEdge[k] : s.PixelEdge[k + 1] < s.PixelEdge[k], file);
        }
    }
    // The plot works with these: they must be numbers.
    WENDREL_FUZZ_CHECK(Finite(s.LambdaStart) && Finite(s.LambdaEnd), file);
    WENDREL_FUZZ_CHECK(Finite(ws.LambdaMin) && Finite(ws.LambdaMax) && Finite(ws.PlotSpan), file);
    WENDREL_FUZZ_CHECK(ws.PlotLeft == ws.LambdaMin && ws.PlotRight == ws.LambdaMax, file);
    WENDREL_FUZZ_CHECK(ws.DataReady, file);
    // Nothing but slot 1 and the range and view that follow from it changes.
    Workspace rest = ws;
    rest.slot(1) = before.slot(1);
    rest.LambdaMin = before.LambdaMin;
    rest.LambdaMax = before.LambdaMax;
    rest.PlotLeft = before.PlotLeft;
    rest.PlotRight = before.PlotRight;
    rest.PlotSpan = before.PlotSpan;
    const std::string changed = testing::WorkspaceDifference(before, rest);
    WENDREL_FUZZ_CHECK(changed.empty(), "a load changed " + changed);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static const Fixture fixture = MakeFixture();
    static const FolderRemover remover{fixture.folder};

    const std::string name = "input.fits";
    WriteFileBytes(fixture.folder / name, std::string_view(reinterpret_cast<const char*>(data), size));
    Workspace ws = fixture.loaded;
    const Workspace before = ws;

    testing::RecordingUi ui;
    const bool loaded = LoadIntoSlot(ws, 1, fixture.folder / name, ui);
    if (!loaded) {
        const std::string changed = testing::WorkspaceDifference(before, ws);
        WENDREL_FUZZ_CHECK(changed.empty(), "a refused load changed " + changed);
        WENDREL_FUZZ_CHECK(!ui.messages.empty(), "a refused load says why");
        WENDREL_FUZZ_CHECK(ui.events.empty(), "a refused load shows nothing");
        return 0;
    }
    CheckLoadedSlot(before, ws, ui);
    return 0;
}
