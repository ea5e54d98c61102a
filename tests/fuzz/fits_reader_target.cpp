// Fuzz target: the bytes are a file (FITS image or table, gzip, tile-compressed or text) loaded into slot 1,
// which holds a spectrum, with the plot window open; slot 2 holds one too. A refused load leaves the workspace as
// it was and says why; a load leaves consistent slots (slot 1 and the empty rows further spectra of the file
// took) and changes nothing but them and the range and view that follow from them.
#include <unistd.h>
#include <cmath>
#include <cstdint>
#include <filesystem>

#include "app/slot_loading.h"
#include "tests/fuzz/fuzz_check.h"
#include "tests/robustness/workspace_difference.h"
#include "tests/support/fits_writer.h"
#include "tests/support/recording_ui.h"

using namespace wendrel;
using std::isfinite;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static const auto folder = std::filesystem::path(std::filesystem::is_directory("/dev/shm") ? "/dev/shm" : "/tmp") /
                               ("wendrel-fuzz-" + std::to_string(::getpid()));
    static const Workspace loaded = [] {
        std::filesystem::create_directories(folder);
        Workspace ws;
        for (const int slot : {1, 2}) {
            WriteFileBytes(folder / "base.fits", SpectrumBytes({-32, std::vector<double>(75, 100.0 * slot), {}, {}, "star",
                                                                5000.0 * slot, 1, {}}));
            testing::RecordingUi ui;
            WENDREL_FUZZ_CHECK(LoadIntoSlot(ws, slot, folder / "base.fits", ui), "the fixture's spectrum loads");
        }
        return ws;
    }();
    static const struct Remover { ~Remover() { std::filesystem::remove_all(folder); } } remover;

    // Named as a text file: what is neither FITS (SIMPLE first) nor gzip reaches the text reader.
    WriteFileBytes(folder / "input.txt", std::string(reinterpret_cast<const char*>(data), size));
    Workspace ws = loaded;
    testing::RecordingUi ui;
    ui.plotShown = true;
    const bool load = LoadIntoSlot(ws, 1, folder / "input.txt", ui);
    WENDREL_FUZZ_CHECK(load || (!ui.messages.empty() && ui.events.empty()), "a refused load says why, shows nothing");
    // Slot 1, and the empty rows that the further spectra of a file of several took.
    std::vector<int> filled;
    for (int k = 1; k <= kMaxSlots && load; ++k)
        if (k == 1 || (ws.slot(k).Loaded() && !loaded.slot(k).Loaded())) filled.push_back(k);
    WENDREL_FUZZ_CHECK(!load || (ws.DataReady && ui.events.size() == filled.size() + 1 && ui.redraws == 1),
                       "a load shows its rows and redraws once");
    for (const int k : filled) {
        const Row& s = ws.slot(k);
        const std::string& file = s->FileName;
        WENDREL_FUZZ_CHECK(s.Loaded(), file);
        WENDREL_FUZZ_CHECK(s->Naxis1 >= 1 && s->Flux.size() == static_cast<size_t>(s->Naxis1) && s->FluxPct.size() == s->Flux.size(), file);
        WENDREL_FUZZ_CHECK(s->Sigma.empty() || s->Sigma.size() == s->Flux.size(), file);
        // Images: 16, 32, -32, -64; table columns also 8 and 64; text 0.
        WENDREL_FUZZ_CHECK(s->Bitpix == 0 || s->Bitpix == 8 || s->Bitpix == 16 || s->Bitpix == 32 || s->Bitpix == 64 ||
                               s->Bitpix == -32 || s->Bitpix == -64, file);
        WENDREL_FUZZ_CHECK(s->HdrCard.size() == static_cast<size_t>(s->NumCards), file);
        // A text spectrum's comment lines are its cards, as long as they are.
        if (s->Bitpix != 0)
            for (const std::string& card : s->HdrCard) WENDREL_FUZZ_CHECK(card.size() <= 80, file);
        WENDREL_FUZZ_CHECK(isfinite(s->Level) && s->Level > 0 && isfinite(s->PctMax) && s->PctMax >= -9999, file);
        for (size_t p = 0; p < s->Flux.size(); ++p)
            WENDREL_FUZZ_CHECK(!std::isinf(s->Flux[p]) && !(s->FluxPct[p] > s->PctMax) && !std::isinf(s->FluxPct[p]), file);
        WENDREL_FUZZ_CHECK(s->PixelEdge.size() == (s->Dispersion == "linear" ? 0 : s->Flux.size() + 1), file);
        for (size_t k = 0; k + 1 < s->PixelEdge.size(); ++k)
            WENDREL_FUZZ_CHECK((s->PixelEdge[k + 1] - s->PixelEdge[k]) * (s->PixelEdge[1] - s->PixelEdge[0]) > 0, file);
        WENDREL_FUZZ_CHECK(isfinite(s->LambdaStart) && isfinite(s->LambdaEnd) && isfinite(ws.View.PlotSpan()), file);
    }
    if (load) WENDREL_FUZZ_CHECK(ws.View.PlotLeft == ws.View.LambdaMin && ws.View.PlotRight == ws.View.LambdaMax, "the view is the full range");
    // Nothing but the filled slots and the range and view that follow from them changes.
    Workspace rest = ws;
    for (const int k : filled) rest.slot(k) = loaded.slot(k);
    rest.View.LambdaMin = loaded.View.LambdaMin, rest.View.LambdaMax = loaded.View.LambdaMax;
    rest.View.PlotLeft = loaded.View.PlotLeft, rest.View.PlotRight = loaded.View.PlotRight;
    const std::string changed = testing::WorkspaceDifference(loaded, load ? rest : ws);
    WENDREL_FUZZ_CHECK(changed.empty(), "a load changed " + changed);
    return 0;
}
