// Time of a full load through LoadFitsFile (header, pixels, level, percent)
// against cfitsio's bare fits_read_img of the same files. Prints the medians
// and their ratio for each file.
#include <benchmark/benchmark.h>
#include <fitsio.h>
#include <unistd.h>

#include <cmath>
#include <cstdio>
#include <filesystem>
#include <map>
#include <random>
#include <string>
#include <vector>

#include "fits/fits_reader.h"
#include "tools/fits_writer.h"

namespace wendrel {
namespace {

class SilentUi : public UiHooks {
public:
    void ShowMessage(const std::string&) override {}
    void ShowLoadedRow(int) override {}
    void HideLoadedRow(int) override {}
    void RedrawPlot() override {}
    void ClearPlotWindow() override {}
    void HidePlotWindow() override {}
};

// A continuum with noise and a few absorption lines.
std::vector<double> SyntheticSpectrum(size_t n, double continuum, double noise) {
    std::mt19937 random(12345);
    std::normal_distribution<double> scatter(0, noise);
    std::vector<double> values(n);
    for (size_t i = 0; i < n; ++i) {
        const double x = static_cast<double>(i) / static_cast<double>(n);
        double v = continuum * (1 + 0.2 * x);
        for (const double line : {0.1, 0.35, 0.6, 0.85}) v *= 1 - 0.5 * std::exp(-std::pow((x - line) * 400, 2));
        values[i] = v + scatter(random);
    }
    return values;
}

struct BenchFile {
    std::string label;
    std::filesystem::path path;
};

std::vector<BenchFile> WriteBenchFiles(const std::filesystem::path& dir) {
    std::filesystem::create_directories(dir);
    SpectrumFile floats;
    floats.stored = SyntheticSpectrum(1'000'000, 1000, 20);
    floats.object = "Synthetic float";
    SpectrumFile shorts;
    shorts.bitpix = 16;
    shorts.bzero = 32768;
    shorts.stored = StoredValues(SyntheticSpectrum(3000, 30000, 300), 32768, 1);
    shorts.object = "Synthetic 16-bit";
    const std::vector<BenchFile> files = {{"float32_1M", dir / "float32_1M.fits"},
                                          {"int16_3000", dir / "int16_3000.fits"}};
    WriteFileBytes(files[0].path, SpectrumBytes(floats));
    WriteFileBytes(files[1].path, SpectrumBytes(shorts));
    return files;
}

void FullLoad(benchmark::State& state, const std::filesystem::path& path) {
    Workspace ws;
    ws.FilePath = path.parent_path().string();
    ws.slot(1).FileName = path.filename().string();
    SilentUi ui;
    for (auto _ : state) {
        const bool loaded = LoadFitsFile(ws, 1, ui);
        if (!loaded) state.SkipWithError("load refused");
        benchmark::DoNotOptimize(ws.slot(1).PctMax);
    }
}

void CfitsioRead(benchmark::State& state, const std::filesystem::path& path) {
    for (auto _ : state) {
        fitsfile* f = nullptr;
        int status = 0, anyNull = 0;
        long naxes[1] = {0};
        fits_open_file(&f, path.c_str(), READONLY, &status);
        fits_get_img_size(f, 1, naxes, &status);
        std::vector<double> values(static_cast<size_t>(naxes[0]));
        fits_read_img(f, TDOUBLE, 1, naxes[0], nullptr, values.data(), &anyNull, &status);
        fits_close_file(f, &status);
        if (status != 0) state.SkipWithError("cfitsio failed");
        benchmark::DoNotOptimize(values.data());
    }
}

// Prints what the console reporter prints and keeps the medians.
class MedianReporter : public benchmark::ConsoleReporter {
public:
    void ReportRuns(const std::vector<Run>& runs) override {
        for (const Run& run : runs)
            if (run.aggregate_name == "median") medians[run.run_name.function_name] = run.GetAdjustedRealTime();
        ConsoleReporter::ReportRuns(runs);
    }
    std::map<std::string, double> medians;  // microseconds
};

}  // namespace
}  // namespace wendrel

int main(int argc, char** argv) {
    using namespace wendrel;
    const auto dir = std::filesystem::temp_directory_path() / ("wendrel-bench-" + std::to_string(::getpid()));
    const std::vector<BenchFile> files = WriteBenchFiles(dir);
    for (const BenchFile& file : files) {
        for (const auto& [kind, body] : {std::pair{"LoadFitsFile/", &FullLoad}, std::pair{"fits_read_img/", &CfitsioRead}})
            benchmark::RegisterBenchmark((kind + file.label).c_str(), body, file.path)
                ->Repetitions(15)
                ->ReportAggregatesOnly(true)
                ->UseRealTime()
                ->Unit(benchmark::kMicrosecond);
    }
    benchmark::Initialize(&argc, argv);
    MedianReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();

    std::printf("\n%-12s %18s %18s %8s\n", "file", "LoadFitsFile us", "fits_read_img us", "ratio");
    for (const BenchFile& file : files) {
        const auto ours = reporter.medians.find("LoadFitsFile/" + file.label);
        const auto theirs = reporter.medians.find("fits_read_img/" + file.label);
        if (ours == reporter.medians.end() || theirs == reporter.medians.end()) continue;
        std::printf("%-12s %18.1f %18.1f %8.2f\n", file.label.c_str(), ours->second, theirs->second,
                    ours->second / theirs->second);
    }
    std::filesystem::remove_all(dir);
    return 0;
}
