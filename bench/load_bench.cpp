// Time of a full load into a slot, LoadFitsFile and its commit (header,
// pixels, level, percent), against cfitsio's bare fits_read_img of the same
// files (for a table, fits_read_col of its flux and wavelength columns), in
// two settings:
//
// - steady: one process loads the file again and again, into slots 1 to 10 in
//   turn, as the program does when the user loads many files; the cfitsio side
//   likewise keeps ten arrays and replaces one per read. Memory freed by
//   earlier loads is there to be reused on both sides.
// - first: the first load of a freshly started process (run as a child of
//   this one with --first-load), where every page of the pixel arrays is new
//   to the process.
//
// Prints the medians and their ratios, of elapsed time and of the process's
// processor time (which other programs running at the same time disturb less).
#include <benchmark/benchmark.h>
#include <fitsio.h>
#include <sys/resource.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <map>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include "app/slot_loading.h"
#include "tests/support/fits_writer.h"

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

// An SDSS-like table in HDU 2: flux, loglam and ivar, one row per pixel.

void WriteTable(const std::filesystem::path& path, const std::vector<double>& flux) {
    fitsfile* f = nullptr;
    int status = 0;
    char flux_[] = "flux", loglam[] = "loglam", ivar[] = "ivar", e[] = "E";
    char* names[] = {flux_, loglam, ivar};
    char* forms[] = {e, e, e};
    fits_create_file(&f, ("!" + path.string()).c_str(), &status);
    fits_create_img(f, 8, 0, nullptr, &status);
    fits_create_tbl(f, BINARY_TBL, std::ssize(flux), 3, names, forms, nullptr, nullptr, &status);
    std::vector<double> waves(flux.size()), weights(flux.size(), 1);
    for (size_t i = 0; i < waves.size(); ++i) waves[i] = 3.5 + 1e-6 * static_cast<double>(i);
    fits_write_col(f, TDOUBLE, 1, 1, 1, std::ssize(flux), const_cast<double*>(flux.data()), &status);
    fits_write_col(f, TDOUBLE, 2, 1, 1, std::ssize(waves), waves.data(), &status);
    fits_write_col(f, TDOUBLE, 3, 1, 1, std::ssize(weights), weights.data(), &status);
    fits_close_file(f, &status);
}

std::vector<BenchFile> WriteBenchFiles(const std::filesystem::path& dir) {
    std::filesystem::create_directories(dir);
    SpectrumFile floats;
    floats.stored = SyntheticSpectrum(1'000'000, 1000, 20);
    floats.object = "Synthetic float";
    SpectrumFile shorts;
    shorts.bitpix = 16;
    shorts.bzero = 32768;
    shorts.stored = SyntheticSpectrum(3000, 30000, 300);
    for (double& v : shorts.stored) v = std::nearbyint(v - 32768);  // stored as BZERO + value
    shorts.object = "Synthetic 16-bit";
    const std::vector<BenchFile> files = {{"float32_1M", dir / "float32_1M.fits"},
                                          {"int16_3000", dir / "int16_3000.fits"},
                                          {"table_1M", dir / "table_1M.fits"}};
    WriteFileBytes(files[0].path, SpectrumBytes(floats));
    WriteFileBytes(files[1].path, SpectrumBytes(shorts));
    WriteTable(files[2].path, floats.stored);
    return files;
}

// Loads the file into the next slot of `ws`, slots 1 to 10 in turn.
class OurLoads {
public:
    explicit OurLoads(const std::filesystem::path& path) : path_(path) {}
    bool Next() {
        slot_ = slot_ % kMaxSlots + 1;
        const bool loaded = LoadIntoSlot(ws_, slot_, path_, ui_);
        benchmark::DoNotOptimize(ws_.slot(slot_)->PctMax);
        return loaded;
    }

private:
    const std::filesystem::path path_;
    Workspace ws_;
    SilentUi ui_;
    int slot_ = 0;
};

// Reads the file with cfitsio into a new array that replaces the one of the
// next slot, slots 1 to 10 in turn.
class CfitsioReads {
public:
    explicit CfitsioReads(const std::filesystem::path& path) : path_(path) {}
    bool Next() {
        fitsfile* f = nullptr;
        int status = 0, anyNull = 0, type = 0;
        long naxes[1] = {0};
        std::vector<double> values, waves;
        fits_open_file(&f, path_.c_str(), READONLY, &status);
        if (fits_movabs_hdu(f, 2, &type, &status) == 0) {  // a table: its two columns
            long rows = 0;
            fits_get_num_rows(f, &rows, &status);
            values.resize(static_cast<size_t>(rows));
            waves.resize(static_cast<size_t>(rows));
            fits_read_col(f, TDOUBLE, 1, 1, 1, rows, nullptr, values.data(), &anyNull, &status);
            fits_read_col(f, TDOUBLE, 2, 1, 1, rows, nullptr, waves.data(), &anyNull, &status);
        } else {
            status = 0;
            fits_movabs_hdu(f, 1, &type, &status);
            fits_get_img_size(f, 1, naxes, &status);
            values.resize(status == 0 ? static_cast<size_t>(naxes[0]) : 0);
            fits_read_img(f, TDOUBLE, 1, naxes[0], nullptr, values.data(), &anyNull, &status);
        }
        fits_close_file(f, &status);
        benchmark::DoNotOptimize(values.data());
        slot_ = (slot_ + 1) % kMaxSlots;
        slots_[static_cast<size_t>(slot_)] = {std::move(values), std::move(waves)};
        return status == 0;
    }

private:
    std::filesystem::path path_;
    std::array<std::pair<std::vector<double>, std::vector<double>>, kMaxSlots> slots_;
    int slot_ = 0;
};

long PageFaults() {
    rusage usage{};
    ::getrusage(RUSAGE_SELF, &usage);
    return usage.ru_minflt + usage.ru_majflt;
}

// Shown as "faults" per load: pages the kernel had to supply.
void CountPageFaults(benchmark::State& state, long before) {
    state.counters["faults"] =
        benchmark::Counter(static_cast<double>(PageFaults() - before), benchmark::Counter::kAvgIterations);
}

// The loads of one file, kept over all repetitions; every slot is filled
// (and the memory of one replaced spectrum freed) before the first is timed.
template <typename Loads>
Loads& Steady(const std::filesystem::path& path) {
    static std::map<std::filesystem::path, std::unique_ptr<Loads>> all;
    std::unique_ptr<Loads>& loads = all[path];
    if (!loads) {
        loads = std::make_unique<Loads>(path);
        for (int i = 0; i <= kMaxSlots; ++i) loads->Next();
    }
    return *loads;
}

void FullLoad(benchmark::State& state, const std::filesystem::path& path) {
    OurLoads& loads = Steady<OurLoads>(path);
    const long faults = PageFaults();
    for (auto _ : state)
        if (!loads.Next()) state.SkipWithError("load refused");
    CountPageFaults(state, faults);
}

void CfitsioRead(benchmark::State& state, const std::filesystem::path& path) {
    CfitsioReads& reads = Steady<CfitsioReads>(path);
    const long faults = PageFaults();
    for (auto _ : state)
        if (!reads.Next()) state.SkipWithError("cfitsio failed");
    CountPageFaults(state, faults);
}

double ProcessorMicroseconds() {
    rusage usage{};
    ::getrusage(RUSAGE_SELF, &usage);
    const auto us = [](const timeval& t) { return static_cast<double>(t.tv_sec) * 1e6 + static_cast<double>(t.tv_usec); };
    return us(usage.ru_utime) + us(usage.ru_stime);
}

// The child's side of a first load: one load by `reader` ("ours" or
// "cfitsio"), timed, printed as "elapsed processor" in microseconds.
int TimeFirstLoad(const std::string& reader, const std::filesystem::path& path) {
    const auto start = std::chrono::steady_clock::now();
    const double startCpu = ProcessorMicroseconds();
    bool done = false;
    if (reader == "ours") {
        OurLoads loads(path);
        done = loads.Next();
    } else {
        CfitsioReads reads(path);
        done = reads.Next();
    }
    const double cpu = ProcessorMicroseconds() - startCpu;
    const double elapsed = std::chrono::duration<double, std::micro>(std::chrono::steady_clock::now() - start).count();
    if (!done) return 1;
    std::printf("%.1f %.1f\n", elapsed, cpu);
    return 0;
}

struct Medians {
    double elapsed = 0, cpu = 0;  // microseconds
};

double MedianOf(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    const size_t n = values.size();
    return n == 0 ? 0 : n % 2 == 1 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
}

// Medians over `runs` fresh processes, each making one first load.
Medians FirstLoadMedians(const std::string& reader, const std::filesystem::path& path, int runs) {
    const std::string self = std::filesystem::read_symlink("/proc/self/exe").string();
    std::vector<double> elapsed, cpu;
    for (int i = 0; i < runs; ++i) {
        const std::string command = "'" + self + "' --first-load " + reader + " '" + path.string() + "'";
        std::FILE* child = ::popen(command.c_str(), "r");
        if (!child) continue;
        double e = 0, c = 0;
        const bool read = std::fscanf(child, "%lf %lf", &e, &c) == 2;
        if (::pclose(child) == 0 && read) {
            elapsed.push_back(e);
            cpu.push_back(c);
        }
    }
    return {MedianOf(elapsed), MedianOf(cpu)};
}

// Prints what the console reporter prints and keeps the medians.
class MedianReporter : public benchmark::ConsoleReporter {
public:
    void ReportRuns(const std::vector<Run>& runs) override {
        for (const Run& run : runs)
            if (run.aggregate_name == "median")
                medians[run.run_name.function_name] = {run.GetAdjustedRealTime(), run.GetAdjustedCPUTime()};
        ConsoleReporter::ReportRuns(runs);
    }
    std::map<std::string, Medians> medians;
};

void PrintRow(const char* setting, const std::string& file, Medians ours, Medians theirs) {
    std::printf("%-7s %-12s %10.1f %10.1f %6.2f   %10.1f %10.1f %6.2f\n", setting, file.c_str(), ours.elapsed,
                theirs.elapsed, ours.elapsed / theirs.elapsed, ours.cpu, theirs.cpu, ours.cpu / theirs.cpu);
}

}  // namespace
}  // namespace wendrel

int main(int argc, char** argv) {
    using namespace wendrel;
    if (argc == 4 && std::strcmp(argv[1], "--first-load") == 0) return TimeFirstLoad(argv[2], argv[3]);
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

    std::printf("\nMedians in microseconds: LoadFitsFile (ours) against fits_read_img (cfitsio)\n");
    std::printf("%-7s %-12s %10s %10s %6s   %10s %10s %6s\n", "setting", "file", "ours", "cfitsio", "ratio",
                "ours cpu", "cfitsio cpu", "ratio");
    for (const BenchFile& file : files) {
        const auto ours = reporter.medians.find("LoadFitsFile/" + file.label);
        const auto theirs = reporter.medians.find("fits_read_img/" + file.label);
        if (ours == reporter.medians.end() || theirs == reporter.medians.end()) continue;
        PrintRow("steady", file.label, ours->second, theirs->second);
    }
    constexpr int kFirstLoadRuns = 15;
    for (const BenchFile& file : files)
        PrintRow("first", file.label, FirstLoadMedians("ours", file.path, kFirstLoadRuns),
                 FirstLoadMedians("cfitsio", file.path, kFirstLoadRuns));
    std::filesystem::remove_all(dir);
    return 0;
}
