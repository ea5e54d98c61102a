// Hostile FITS files: each is refused with a clear message, before any large
// allocation, and leaves the whole workspace as it was; or it loads soundly.
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cmath>
#include <cstdio>
#include <functional>

#include "tests/fits/fits_test_support.h"

namespace wendrel::testing {
namespace {

// Runs `body` in a child process and returns its exit status: for what must
// not disturb the test process itself (its peak memory, its user).
int InChild(const std::function<int()>& body) {
    std::fflush(nullptr);
    const pid_t child = ::fork();
    if (child == 0) ::_exit(body());
    int status = 0;
    ::waitpid(child, &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
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
        ws_.PlotShown = true;
    }
    void Zoom() { ws_.PlotLeft = 3010, ws_.PlotRight = 3020, ws_.PlotSpan = 10; }
};

// Files of each integer and double pixel size, with the END card in the first
// or the second block, cut at every byte. Cut before its END card, a header
// has no cards and its data begin at byte 2880, so a cut that still holds the
// pixels there loads them; a cut inside the END card may count as a card.
TEST_F(HostileFits, EveryTruncationIsRefused) {
    for (const int bitpix : {16, 32, -64}) {
        SpectrumFile s{bitpix, Ramp(60), {}, {}, {}, 4000, 1, {}};
        if (bitpix == 16) s.extraCards.assign(40, RawCard("HISTORY   a second header block"));
        FitsBytes file = SpectrumCards(s);
        file.padData = false;
        const std::string whole = ToBytes(file);
        const size_t endCard = whole.find("END     ") / 80 * 80, dataStart = endCard / 2880 * 2880 + 2880;
        const size_t pixelBytes = 60 * static_cast<size_t>(std::abs(bitpix) / 8);
        for (size_t length = 0; length < whole.size(); ++length) {
            SCOPED_TRACE("BITPIX " + std::to_string(bitpix) + " cut at " + std::to_string(length));
            const auto cut = Write(whole.substr(0, length), "cut.fits");
            if ((length >= 2880 + pixelBytes && length <= endCard) || (length > endCard && length < endCard + 80)) {
                if (LoadFile(cut)) { EXPECT_EQ(S().NumCards, 0); }
                ASSERT_TRUE(LoadFile(dir_ / "kept1.fits"));  // slot 1 and the view as before
                Zoom();
                continue;
            }
            ExpectRefusedFile(cut, length == 0 ? "\"cut.fits\" is empty"
                                   : length < 6 ? kNotFitsMessage
                                   : length >= dataStart ? "\"cut.fits\" is too short"
                                                         : "\"cut.fits\"");
            if (HasFailure()) return;
        }
        ASSERT_TRUE(LoadFile(Write(whole, "whole.fits")));
        EXPECT_EQ(S().Flux, Ramp(60));
    }
}

TEST_F(HostileFits, BrokenHeadersAreRefused) {
    const auto remove = [](size_t card) {
        FitsBytes file = SpectrumCards({-32, Ramp(200), {}, {}, {}, 4000, 1, {}});
        file.cards.erase(file.cards.begin() + static_cast<std::ptrdiff_t>(card));
        return ToBytes(file);
    };
    const auto with = [](const char* key, const char* value) { return FloatSpectrum(Ramp(200), {ValueCard(key, value)}); };
    const auto wavelengths = [](std::vector<std::string> cards) {
        return FloatSpectrum(Ramp(60), cards, std::nullopt, std::nullopt);
    };
    std::string megabytes = "SIMPLE  =                    T";
    megabytes.resize(3'000'000, 'A');
    const std::string beyond = "has wavelengths beyond the range of numbers; check its CRVAL1 and CD1_1";
    const std::pair<std::string, std::string> cases[] = {
        {"", "\"spectrum.fits\" is empty"},
        {std::string(10000, '\0'), kNotFitsMessage},
        {"SIMPLE", "no BITPIX"},
        {"SIMPLE  = T\r\n" + std::string(5000, 'x'), "no BITPIX"},
        {megabytes, "no BITPIX"},
        {remove(1), "no BITPIX"}, {with("BITPIX", "8"), "8-bit"}, {with("BITPIX", "0"), "BITPIX = 0;"},
        {with("BITPIX", "12"), "BITPIX = 12;"}, {with("BITPIX", "64"), "BITPIX = 64;"},
        {with("BITPIX", "-16"), "BITPIX = -16;"}, {with("BITPIX", "16.5"), "BITPIX = 16.5;"},
        {with("BITPIX", "1E300"), "BITPIX = 1E300;"}, {with("BITPIX", "T"), "BITPIX = T;"},
        {remove(3), "no NAXIS1"}, {with("NAXIS1", "0"), "at least one pixel"},
        {with("NAXIS1", "-5"), "at least one pixel"}, {with("NAXIS1", "abc"), "at least one pixel"},
        {with("NAXIS1", "2.5"), "not a whole number"},
        {with("NAXIS1", "721"), "is too short"},  // one pixel more than the padded data block holds
        {with("NAXIS1", "1E999"), beyond},
        {wavelengths({ValueCard("CRVAL1", "1E999")}), beyond},
        {wavelengths({ValueCard("CRVAL1", "-1E999")}), beyond},
        {wavelengths({ValueCard("CD1_1", "1E999")}), beyond},
        {wavelengths({ValueCard("CRVAL1", "1E308"), ValueCard("CD1_1", "1E307")}), beyond},
        {wavelengths({ValueCard("CRVAL1", "1E999"), ValueCard("CD1_1", "1E999"), ValueCard("CRPIX1", "2")}), beyond},
        {FloatSpectrum({-1, -2, 0}), "level is 0"},
        {FloatSpectrum({NAN, INFINITY}), "only blank pixels"},
    };
    for (const auto& [bytes, mentions] : cases) {
        SCOPED_TRACE(mentions);
        ExpectRefused(bytes, mentions);
    }
    // The largest wavelengths that stay numbers load.
    ASSERT_TRUE(Load(FloatSpectrum(Ramp(60), {}, -1e308, 1e306)));
    EXPECT_TRUE(std::isfinite(ws_.PlotSpan));
}

// A huge NAXIS1 in a short file, and a sparse file of a terabyte whose pixels
// would not fit in memory, are refused before any pixel memory is taken,
// whatever the pixel size. Measured in a child, whose peak memory no earlier
// test has raised.
TEST_F(HostileFits, HugePixelCountsAreRefusedBeforeAllocating) {
    std::vector<std::filesystem::path> files;
    for (const int bitpix : {16, 32, -32, -64}) {
        for (const char* count : {"2147483648", "4294967297", "1E15", "9.2233720368547758E18", "1E300"}) {
            std::vector<std::string> cards = {ValueCard("NAXIS1", count)};
            if (bitpix == -32) cards.push_back(IntCard("DC-FLAG", 1));  // no edges computed either
            files.push_back(Write(SpectrumBytes({bitpix, Ramp(100), {}, {}, {}, 4000, 1, cards}),
                                  "huge" + std::to_string(files.size()) + ".fits"));
        }
    }
    constexpr int64_t kPixels = int64_t{1} << 38;  // 2 TB as doubles
    FitsBytes sparse = SpectrumCards({-32, {}, {}, {}, {}, 4000, 1, {IntCard("NAXIS1", kPixels)}});
    const auto sparseFile = Write(ToBytes(sparse), "sparse.fits");
    std::error_code error;
    std::filesystem::resize_file(sparseFile, 2880 + 4 * kPixels, error);
    const int status = InChild([&] {
        const long before = PeakKilobytes();
        for (const auto& file : files) {
            ExpectRefusedFile(file, "is too short");
            if (HasFailure()) return 1;
        }
        if (!error) ExpectRefusedFile(sparseFile, "more than the memory of this computer can hold");
        if (HasFailure()) return 2;
        return PeakKilobytes() - before < 20 * 1024 ? 0 : 3;
    });
    EXPECT_EQ(status, 0) << "1: a short file, 2: the sparse file not refused as it should; 3: memory grew";
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
        {dir_ / "missing.fits", "Cannot open \"missing.fits\""},
        {dir_ / "dangling.fits", "Cannot open \"dangling.fits\""},
        {dir_ / "loop_a.fits", "Cannot open \"loop_a.fits\""},
        {dir_ / "folder.fits", "\"folder.fits\" is a folder"},
        {dir_ / "link_to_folder.fits", "\"link_to_folder.fits\" is a folder"},
        {dir_ / "pipe.fits", "\"pipe.fits\" is not a regular file"},
        {dir_ / "kept1.fits" / "x.fits", "Cannot open \"x.fits\""},  // a file used as a folder
        {"/dev/null", "\"null\" is not a regular file"},
        {dir_ / (std::string(300, 'n') + ".fits"), "Cannot open \"nnnn"},
    };
    for (const auto& [path, mentions] : cases) {
        SCOPED_TRACE(mentions);
        ExpectRefusedFile(path, mentions);
    }
}

// Root reads every file, so the load runs in a child that has given up root.
TEST_F(HostileFits, AFileWithoutReadPermissionIsRefused) {
    const auto locked = Write(FloatSpectrum(Ramp(60)), "locked.fits");
    std::filesystem::permissions(locked, std::filesystem::perms::none);
    std::filesystem::permissions(dir_, std::filesystem::perms::owner_all | std::filesystem::perms::others_exec);
    const int status = InChild([&] {
        if (::geteuid() == 0 && ::setuid(65534) != 0) return 10;  // nobody
        ExpectRefusedFile(locked, "Cannot open \"locked.fits\": Permission denied.");
        return HasFailure() ? 1 : 0;
    });
    EXPECT_EQ(status, 0) << "10: cannot give up root; 1: not refused as it should";
}

}  // namespace
}  // namespace wendrel::testing
