// Hostile files: a FITS file is refused with a clear message, before any large allocation, leaving the whole
// workspace as it was, or it loads soundly; a settings file that is no plain file reads as none, at once.
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>
#include <zlib.h>
#include <cmath>
#include <cstdio>
#include <functional>

#include "app/settings_file.h"
#include "tests/fits/fits_test_support.h"

namespace wendrel::testing {
namespace {

// Runs `body` in a child process stopped after 5 s, for what must not disturb the test process (its peak memory,
// its user) or may block; returns its exit status. With `nobody` the child gives up root, which reads every file.
int InChild(const std::function<int()>& body, bool nobody = false) {
    std::fflush(nullptr);
    const pid_t child = ::fork();
    if (child == 0) {
        ::alarm(5);
        ::_exit(nobody && ::geteuid() == 0 && ::setuid(65534) != 0 ? 10 : body());
    }
    int status = 0;
    ::waitpid(child, &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
}

// Limits the address space of the calling process to what it has mapped and `more` bytes.
bool LimitAddressSpace(rlim_t more) {
    long mappedPages = 0;
    if (std::FILE* statm = std::fopen("/proc/self/statm", "r")) {
        if (std::fscanf(statm, "%ld", &mappedPages) != 1) mappedPages = 0;
        std::fclose(statm);
    }
    const rlim_t bytes = static_cast<rlim_t>(mappedPages) * static_cast<rlim_t>(::sysconf(_SC_PAGE_SIZE)) + more;
    const rlimit limit{bytes, bytes};
    return mappedPages > 0 && ::setrlimit(RLIMIT_AS, &limit) == 0;
}

long PeakKilobytes() {
    rusage usage{};
    ::getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss;
}

// Spectra in slots 1 and 3, a zoomed view and the plot window open.
class HostileFits : public FitsFileTest {
protected:
    void SetUp() override {
        FitsFileTest::SetUp();
        for (const int slot : {1, 3})
            ASSERT_TRUE(Load(FloatSpectrum(Ramp(80), {}, 3000.0 * slot), slot, "kept" + std::to_string(slot) + ".fits"));
        Zoom();
        ui_.plotShown = true;
    }
    void Zoom() {
        ws_.View.PlotLeft = 3010;
        ws_.View.PlotRight = 3020;
    }
};

// Files of 16, 32 and 64 bits a pixel, with END in the first or the second block, cut at every byte of the
// pixels and of the END card, and at the first, second and last byte of every other card and of the blank
// cards after END. Cut before END, a
// header has no cards and its data begin at byte 2880, so a cut that still holds the pixels there loads them;
// a cut inside the END card may count as a card.
TEST_F(HostileFits, EveryTruncationIsRefused) {
    for (const int bitpix : {16, 32, -64}) {
        FitsBytes file = SpectrumCards({bitpix, Ramp(60), {}, {}, {}, 4000, 1, {}});
        if (bitpix == 16) file.cards.insert(file.cards.end(), 40, RawCard("HISTORY   a second header block"));
        file.padData = false;
        const std::string whole = ToBytes(file);
        const size_t endCard = whole.find("END     "), dataStart = endCard / 2880 * 2880 + 2880, pixelBytes = 60 * std::abs(bitpix) / 8;
        for (size_t length = 0; length < whole.size(); ++length) {
            const size_t inCard = length % 80;
            if ((length < endCard || (length >= endCard + 80 && length < dataStart)) && inCard > 1 && inCard < 79) continue;
            SCOPED_TRACE("BITPIX " + std::to_string(bitpix) + " cut at " + std::to_string(length));
            const auto cut = Write(std::string_view(whole).substr(0, length), "cut.fits");
            if ((length >= 2880 + pixelBytes && length <= endCard) || (length > endCard && length < endCard + 80)) {
                if (LoadFile(cut)) { EXPECT_EQ(S()->NumCards, 0); }
                ASSERT_TRUE(LoadFile(dir_ / "kept1.fits"));  // slot 1 and the view as before
                Zoom();
                continue;
            }
            ExpectRefusedFile(cut, length == 0 ? "\"cut.fits\" is empty" : length < 6 ? kNotFitsMessage
                                   : length >= dataStart ? "\"cut.fits\" is too short" : "\"cut.fits\"");
            if (HasFailure()) return;
        }
        ASSERT_TRUE(LoadFile(Write(whole, "whole.fits")));
        EXPECT_EQ(S()->Flux, Ramp(60));
    }
}

TEST_F(HostileFits, BrokenHeadersAreRefused) {
    const auto without = [](size_t card) { return FloatSpectrum(Ramp(200)).erase(card * 80, 80); };
    const auto with = [](const char* key, const char* value) { return FloatSpectrum(Ramp(200), {ValueCard(key, value)}); };
    const auto at = [](const char* start, const char* step, const char* crpix1 = "1") {
        return FloatSpectrum(Ramp(60), {ValueCard("CRVAL1", start), ValueCard("CD1_1", step), ValueCard("CRPIX1", crpix1)},
                             std::nullopt, std::nullopt);
    };
    const std::string megabytes = "SIMPLE  =                    T" + std::string(3'000'000, 'A');
    const std::string beyond = "has wavelengths beyond the range of numbers; check its CRVAL1 and CD1_1";
    const std::pair<std::string, std::string> cases[] = {
        {"", "\"spectrum.fits\" is empty"}, {std::string(10000, '\0'), kNotFitsMessage}, {"SIMPLE", "no BITPIX"},
        {"SIMPLE  = T\r\n" + std::string(5000, 'x'), "no BITPIX"}, {megabytes, "no BITPIX"}, {without(1), "no BITPIX"},
        {with("BITPIX", "8"), "8-bit"}, {with("BITPIX", "0"), "BITPIX = 0;"}, {with("BITPIX", "-16"), "BITPIX = -16;"},
        {with("BITPIX", "16.5"), "BITPIX = 16.5;"}, {with("BITPIX", "1E300"), "BITPIX = 1E300;"},
        {with("BITPIX", "T"), "BITPIX = T;"}, {without(3), "no NAXIS1"}, {with("NAXIS1", "0"), "at least one pixel"},
        {with("NAXIS1", "-5"), "at least one pixel"}, {with("NAXIS1", "abc"), "at least one pixel"},
        {with("NAXIS1", "2.5"), "not a whole number"},
        {with("NAXIS1", "721"), "is too short"},  // one pixel more than the padded data block holds
        {with("NAXIS1", "1E999"), beyond}, {at("1E999", "1"), beyond}, {at("-1E999", "1"), beyond},
        {at("1", "1E999"), beyond}, {at("1E308", "1E307"), beyond}, {at("1E999", "1E999", "2"), beyond},
        {FloatSpectrum({-1, -2, 0}), "level is 0"}, {FloatSpectrum({NAN, INFINITY}), "only blank pixels"},
    };
    for (const auto& [bytes, mentions] : cases) ExpectRefused(bytes, mentions);
    ASSERT_TRUE(Load(FloatSpectrum(Ramp(60), {}, -1e308, 1e306)));  // the largest wavelengths that stay numbers
    EXPECT_TRUE(std::isfinite(ws_.View.PlotSpan()));
}

// A huge NAXIS1 in a short file of any pixel size, and a sparse file of a terabyte that memory cannot hold,
// are refused before pixel memory is taken: measured in a child, whose peak no earlier test has raised.
TEST_F(HostileFits, HugePixelCountsAreRefusedBeforeAllocating) {
    std::vector<std::filesystem::path> files;
    for (const int bitpix : {16, 32, -32, -64})
        for (const char* count : {"2147483648", "4294967297", "1E15", "9.2233720368547758E18", "1E300"})
            files.push_back(Write(SpectrumBytes({bitpix, Ramp(100), {}, {}, {}, 4000, 1,
                                                 {ValueCard("NAXIS1", count), IntCard("DC-FLAG", bitpix == -32)}}),
                                  "huge" + std::to_string(files.size()) + ".fits"));  // for -32 no edges either
    constexpr int64_t kPixels = int64_t{1} << 38;  // 2 TB as doubles
    const auto sparse = Write(SpectrumBytes({-32, {}, {}, {}, {}, 4000, 1, {IntCard("NAXIS1", kPixels)}}), "sparse.fits");
    std::error_code error;
    std::filesystem::resize_file(sparse, 2880 + 4 * kPixels, error);
    const int status = InChild([&] {
        const long before = PeakKilobytes();
        for (const auto& file : files) ExpectRefusedFile(file, "is too short");
        if (!error) ExpectRefusedFile(sparse, "more than the memory of this computer can hold");
        return HasFailure() ? 1 : PeakKilobytes() - before < 20 * 1024 ? 0 : 2;
    });
    EXPECT_EQ(status, 0) << "1: not refused as it should, 2: memory grew";
}

// Compressed bombs: a stream of zeros is refused after its first block, a header declaring more than 4 GiB as soon
// as it is read, and what follows a file's last unit is not unpacked; measured in a child, as above.
TEST_F(HostileFits, GzipBombsAreRefusedOrCutWithoutTakingMemory) {
    const auto gzipped = [&](const std::string& name, const std::string& head, size_t zeros) {
        const std::filesystem::path path = dir_ / name;
        gzFile gz = gzopen(path.c_str(), "wb1");
        gzwrite(gz, head.data(), static_cast<unsigned>(head.size()));
        const std::string block(1 << 20, '\0');
        for (size_t done = 0; done < zeros; done += block.size()) gzwrite(gz, block.data(), static_cast<unsigned>(block.size()));
        gzclose(gz);
        return path;
    };
    constexpr size_t kZeros = size_t{64} << 20;
    const auto zeros = gzipped("zeros.fits.gz", "", kZeros);
    const auto declared = gzipped("declared.fits.gz", SpectrumBytes({-32, Ramp(10), {}, {}, {}, 4000, 1,
                                                                     {IntCard("NAXIS1", int64_t{1} << 31)}}), 0);
    const auto trailing = gzipped("trailing.fits.gz", FloatSpectrum(Ramp(100)), kZeros);
    const int status = InChild([&] {
        const long before = PeakKilobytes();
        ExpectRefusedFile(zeros, "\"zeros.fits.gz\" is compressed with gzip, but it does not unpack to a FITS file or a text spectrum.");
        ExpectRefusedFile(declared, "its header declares 8 GiB of data, more than the 4 GiB this program unpacks.");
        if (!LoadFile(trailing) || S()->Flux != Ramp(100)) return 1;
        return HasFailure() ? 1 : PeakKilobytes() - before < 20 * 1024 ? 0 : 2;
    });
    EXPECT_EQ(status, 0) << "1: not read as it should, 2: memory grew";
}

// Memory that runs out during a load refuses the file, naming it and its size, and leaves the workspace as it was.
TEST_F(HostileFits, MemoryRunningOutRefusesTheFile) {
#if defined(WENDREL_SANITIZED)
    GTEST_SKIP() << "the address sanitizer's shadow memory needs more address space than any limit leaves";
#endif
    // Its pixels take 128 MB as doubles, arrays too large for the memory the reader keeps for reuse (which the
    // writing of the file filled).
    const auto big = Write(FloatSpectrum(Ramp(8'000'000)), "big.fits");
    const int status = InChild([&] {
        if (!LimitAddressSpace(rlim_t{32} << 20)) return 3;
        ExpectRefusedFile(big, "\"big.fits\" (" + std::to_string(std::filesystem::file_size(big)) +
                                   " bytes) cannot be loaded: the memory of this computer ran out while reading it.");
        return HasFailure() ? 1 : 0;
    });
    EXPECT_EQ(status, 0) << "1: not refused as it should, 3: no limit, 134: aborted";
}

// A binary table of a wavelength and a flux column, one row of each 8-byte value per pixel (TFORM "1D") or arrays in
// the heap ("1PD"), after an empty primary header; its header declares `rows` rows but the data hold what `data` holds.
std::string TableFile(int64_t rows, const char* form, int64_t rowBytes, int64_t heapBytes, std::string data) {
    FitsBytes primary, table;
    primary.cards = {LogicalCard("SIMPLE", true), IntCard("BITPIX", 8), IntCard("NAXIS", 0)};
    table.cards = {StringCard("XTENSION", "BINTABLE"), IntCard("BITPIX", 8), IntCard("NAXIS", 2), IntCard("NAXIS1", rowBytes),
                     IntCard("NAXIS2", rows), IntCard("PCOUNT", heapBytes), IntCard("GCOUNT", 1), IntCard("TFIELDS", 2),
                     StringCard("TTYPE1", "WAVE"), StringCard("TFORM1", form), StringCard("TTYPE2", "FLUX"),
                     StringCard("TFORM2", form)};
    table.data = std::move(data);
    return ToBytes(primary) + ToBytes(table);
}

// Sizes a table's header declares beyond what its file holds are refused before memory is taken for them: run in a
// child under a limit of its address space (but under the address sanitizer, whose shadow memory needs terabytes).
TEST_F(HostileFits, HugeTablesAreRefusedBeforeAllocating) {
    const std::string pixels = EncodePixels(-64, std::vector<double>(2 * 9000, 1.0));  // 9000 rows of 16 bytes
    std::string descriptors = EncodePixels(32, std::vector<double>{1e9, 0, 1e9, 0});     // counts and heap offsets
    const std::pair<std::string, std::string> cases[] = {
        {TableFile(1'000'000'000, "1D", 16, 0, pixels), "its table declares 1000000000 rows of 16 bytes (NAXIS2 and NAXIS1)"},
        {TableFile(100'000'000, "1D", 16, 0, pixels), "its table declares 100000000 rows"},
        {TableFile(9000, "1D", 16, 1'000'000'000'000, pixels),
         "its table declares 9000 rows of 16 bytes (NAXIS2 and NAXIS1) and 1000000000000 bytes of arrays (PCOUNT)"},
        {TableFile(1, "1PD(5)", 16, 80, descriptors + std::string(80, '\0')),
         "its column WAVE declares 1000000000 values, more than the table's arrays (PCOUNT = 80 bytes) can hold."},
    };
    std::vector<std::filesystem::path> files;
    for (const auto& [bytes, mentions] : cases) files.push_back(Write(bytes, "table" + std::to_string(files.size()) + ".fits"));
    const int status = InChild([&] {
#if !defined(WENDREL_SANITIZED)
        // 10^8 rows of doubles alone would take 800 MB.
        if (!LimitAddressSpace(rlim_t{512} << 20)) return 3;
#endif
        const long before = PeakKilobytes();
        for (size_t k = 0; k < files.size(); ++k) {
            ExpectRefusedFile(files[k], "\"" + files[k].filename().string() + "\": " + cases[k].second);
            EXPECT_TRUE(ui_.offeredColumns.empty());
        }
        return HasFailure() ? 1 : PeakKilobytes() - before < 20 * 1024 ? 0 : 2;
    });
    EXPECT_EQ(status, 0) << "1: not refused as it should, 2: memory grew, 3: no limit, 134: aborted";
}

TEST_F(HostileFits, PathsThatAreNoFitsFileAreRefused) {
    namespace fs = std::filesystem;
    fs::create_symlink(dir_ / "nowhere.fits", dir_ / "dangling.fits");
    fs::create_symlink(dir_ / "loop_b.fits", dir_ / "loop_a.fits");
    fs::create_symlink(dir_ / "loop_a.fits", dir_ / "loop_b.fits");
    fs::create_directory(dir_ / "folder.fits");
    fs::create_symlink(dir_ / "folder.fits", dir_ / "link_to_folder.fits");
    ASSERT_EQ(::mkfifo((dir_ / "pipe.fits").c_str(), 0644), 0);
    const std::pair<fs::path, std::string> cases[] = {
        {dir_ / "missing.fits", "Cannot open \"missing.fits\""}, {dir_ / "dangling.fits", "Cannot open \"dangling.fits\""},
        {dir_ / "loop_a.fits", "Cannot open \"loop_a.fits\""}, {dir_ / "folder.fits", "\"folder.fits\" is a folder"},
        {dir_ / "link_to_folder.fits", "\"link_to_folder.fits\" is a folder"},
        {dir_ / "pipe.fits", "\"pipe.fits\" is not a regular file"}, {"/dev/null", "\"null\" is not a regular file"},
        {dir_ / "kept1.fits" / "x.fits", "Cannot open \"x.fits\""},  // a file used as a folder
        {dir_ / (std::string(300, 'n') + ".fits"), "Cannot open \"nnnn"},
    };
    for (const auto& [path, mentions] : cases) ExpectRefusedFile(path, mentions);
    const auto locked = Write(FloatSpectrum(Ramp(60)), "locked.fits");
    fs::permissions(locked, fs::perms::none);
    fs::permissions(dir_, fs::perms::owner_all | fs::perms::others_exec);
    const auto refused = [&] {
        ExpectRefusedFile(locked, "Cannot open \"locked.fits\": Permission denied.");
        return HasFailure();
    };
    EXPECT_EQ(InChild(refused, true), 0) << "10: cannot give up root; 1: not refused as it should";
}

// A pipe would wait for a writer that never comes.
TEST(HostileSettings, PipesDevicesAndUnreadableFilesReadAsNothing) {
    const TempFolder folder;
    const auto file = folder.Write(kSettingsFileName, SettingsFileText(Settings{})), pipe = folder.path() / "pipe";
    std::filesystem::permissions(folder.path(), std::filesystem::perms::all);
    ASSERT_EQ(::mkfifo(pipe.c_str(), 0666), 0);
    const auto reads = [](const auto& path) { return InChild([&] { return ReadSettingsFile(path).has_value(); }, true); };
    for (const std::filesystem::path none : {"/dev/zero", "/dev/urandom", "/dev/null", pipe.c_str()}) EXPECT_EQ(reads(none), 0) << none;
    EXPECT_EQ(reads(file), 1);
    std::filesystem::permissions(file, std::filesystem::perms::none);
    EXPECT_EQ(reads(file), 0);
}

}  // namespace
}  // namespace wendrel::testing
