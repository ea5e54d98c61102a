// Hostile FITS files: each is refused with a message naming the file, or
// loads soundly; a refusal leaves the whole workspace as it was, with a
// spectrum already loaded in the same slot.
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cmath>
#include <cstdio>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "app/slot_loading.h"
#include "tests/robustness/workspace_difference.h"
#include "tests/support/fits_writer.h"
#include "tests/support/recording_ui.h"
#include "tests/support/temp_folder.h"

namespace wendrel::testing {
namespace {

std::vector<double> Ramp(size_t n) {
    std::vector<double> v(n);
    for (size_t i = 0; i < n; ++i) v[i] = 100 + static_cast<double>(i % 50);
    return v;
}

std::string Unpadded(const SpectrumFile& s) {
    FitsBytes f = SpectrumCards(s);
    f.padData = false;
    return ToBytes(f);
}

size_t EndCardOffset(const std::string& file) {
    for (size_t at = 0; at + 80 <= file.size(); at += 80)
        if (file.compare(at, 8, "END     ") == 0) return at;
    return std::string::npos;
}

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

class HostileFits : public ::testing::Test {
protected:
    void SetUp() override {
        for (const int slot : {1, 3}) {
            SpectrumFile s;
            s.stored = Ramp(80);
            s.crval1 = 3000.0 * slot;
            s.object = "kept " + std::to_string(slot);
            const std::string name = "kept" + std::to_string(slot) + ".fits";
            folder_.Write(name, SpectrumBytes(s));
            ASSERT_TRUE(LoadIntoSlot(ws_, slot, folder_.path() / name, ui_));
        }
        ws_.PlotShown = true;
        ui_ = RecordingUi();
    }

    // Loads `name` of the test's folder into slot 1 and expects a refusal
    // that names it and leaves everything as it was.
    void ExpectRefused(const std::string& name, const std::string& mentions, const std::string& what) {
        ui_ = RecordingUi();
        const Workspace before = ws_;
        EXPECT_FALSE(LoadIntoSlot(ws_, 1, folder_.path() / name, ui_)) << what;
        EXPECT_EQ(WorkspaceDifference(before, ws_), "") << what;
        EXPECT_TRUE(ui_.events.empty()) << what;
        ASSERT_FALSE(ui_.messages.empty()) << what;
        EXPECT_NE(ui_.messages.back().find(mentions), std::string::npos) << what << ": " << ui_.messages.back();
    }

    void ExpectBytesRefused(const std::string& bytes, const std::string& mentions, const std::string& what) {
        folder_.Write("hostile.fits", bytes);
        ExpectRefused("hostile.fits", mentions, what);
    }

    TempFolder folder_;
    Workspace ws_;
    RecordingUi ui_;
};

// Files of every pixel size, with the END card in the first or the second
// block, cut at every byte: inside a card, just before END, inside the
// padding, inside a pixel. Every cut is refused, except where the header
// rules make it a file of its own: cut before its END card, a header has no
// cards and its data begin at byte 2880, so a cut that still holds the pixels
// there loads them.
TEST_F(HostileFits, EveryTruncationOfEveryShape) {
    struct Shape {
        std::string what;
        SpectrumFile spectrum;
    };
    std::vector<Shape> shapes;
    for (const int bitpix : {16, 32, -64}) {
        SpectrumFile s;
        s.bitpix = bitpix;
        s.stored = Ramp(60);
        if (bitpix == 16) s.bzero = 32768;
        if (bitpix == -64) s.bscale = 2;
        shapes.push_back({"BITPIX " + std::to_string(bitpix), s});
    }
    shapes[0].spectrum.extraCards.assign(40, RawCard("HISTORY   a second header block"));
    shapes[0].what += " with a two-block header";

    for (const Shape& shape : shapes) {
        const std::string whole = Unpadded(shape.spectrum);
        const size_t endCard = EndCardOffset(whole);
        const size_t pixelBytes = 60 * static_cast<size_t>(std::abs(shape.spectrum.bitpix) / 8);
        for (size_t length = 0; length < whole.size(); ++length) {
            folder_.Write("cut.fits", whole.substr(0, length));
            if (length >= 2880 + pixelBytes && length <= endCard) {
                EXPECT_TRUE(LoadIntoSlot(ws_, 1, folder_.path() / "cut.fits", ui_)) << shape.what << " cut at " << length;
                EXPECT_EQ(ws_.slot(1).NumCards, 0);
                continue;
            }
            // Cut inside the END card, whether the short last card counts is
            // the rounding of the card count; a load then has no END either.
            if (length > endCard && length < endCard + 80) {
                if (LoadIntoSlot(ws_, 1, folder_.path() / "cut.fits", ui_)) {
                    EXPECT_EQ(ws_.slot(1).NumCards, 0) << length;
                }
                continue;
            }
            // A header cut before its first card can only be "not FITS".
            const std::string mentions = length >= 6 ? "\"cut.fits\"" : length == 0 ? "is empty" : "not a fits file";
            ExpectRefused("cut.fits", mentions, shape.what + " cut at " + std::to_string(length));
            if (HasFailure()) return;
        }
        folder_.Write("cut.fits", whole);
        EXPECT_TRUE(LoadIntoSlot(ws_, 1, folder_.path() / "cut.fits", ui_)) << shape.what;
        std::vector<double> expected = shape.spectrum.stored;
        for (double& v : expected) v = shape.spectrum.bzero.value_or(0) + shape.spectrum.bscale.value_or(1) * v;
        EXPECT_EQ(ws_.slot(1).Flux, expected) << shape.what;
    }
}

// The pixels exist (a sparse file of a terabyte) but would not fit in
// memory: a refusal before anything is allocated, not a crash.
TEST_F(HostileFits, PixelsBeyondTheComputersMemoryAreRefused) {
    constexpr int64_t kPixels = int64_t{1} << 38;  // 2 TB as doubles
    SpectrumFile s;
    s.stored = Ramp(1);
    FitsBytes file = SpectrumCards(s);
    file.cards[3] = IntCard("NAXIS1", kPixels);
    file.data.clear();
    const auto path = folder_.Write("sparse.fits", ToBytes(file));
    std::error_code error;
    std::filesystem::resize_file(path, 2880 + 4 * kPixels, error);
    if (error) GTEST_SKIP() << "this file system holds no terabyte sparse file: " << error.message();

    const long before = PeakKilobytes();
    ExpectRefused("sparse.fits", "more than the memory of this computer can hold", "terabyte of pixels");
    EXPECT_LT(PeakKilobytes() - before, 50 * 1024) << "kilobytes grown";
}

// A huge NAXIS1 in a short file is found out before any pixel memory is
// taken, whatever the pixel size. Measured in a child, whose peak memory
// no earlier test has raised.
TEST_F(HostileFits, HugePixelCountsKeepMemorySmall) {
    const std::string counts[] = {"2147483648", "4294967297", "1E15", "9.2233720368547758E18", "1E300"};
    std::vector<std::string> files;
    for (const int bitpix : {16, 32, -32, -64}) {
        for (const std::string& count : counts) {
            SpectrumFile s;
            s.bitpix = bitpix;
            s.stored = Ramp(100);
            s.extraCards = {ValueCard("NAXIS1", count)};
            files.push_back("huge" + std::to_string(files.size()) + ".fits");
            folder_.Write(files.back(), SpectrumBytes(s));
        }
    }
    const int status = InChild([&] {
        const long before = PeakKilobytes();
        for (const std::string& name : files) {
            ui_ = RecordingUi();
            const Workspace kept = ws_;
            if (LoadIntoSlot(ws_, 1, folder_.path() / name, ui_) || !WorkspaceDifference(kept, ws_).empty()) return 1;
            if (ui_.messages.empty() || ui_.messages.back().find("is too short") == std::string::npos) return 2;
        }
        return PeakKilobytes() - before < 20 * 1024 ? 0 : 3;
    });
    EXPECT_EQ(status, 0) << "1: loaded or changed, 2: wrong message, 3: memory grew";
}

// Files that cannot be opened or are not files.
TEST_F(HostileFits, PathsThatAreNoFitsFileAreRefused) {
    namespace fs = std::filesystem;
    const fs::path dir = folder_.path();
    fs::create_symlink(dir / "nowhere.fits", dir / "dangling.fits");
    fs::create_symlink(dir / "loop_b.fits", dir / "loop_a.fits");
    fs::create_symlink(dir / "loop_a.fits", dir / "loop_b.fits");
    fs::create_directory(dir / "folder.fits");
    fs::create_symlink(dir / "folder.fits", dir / "link_to_folder.fits");
    ASSERT_EQ(::mkfifo((dir / "pipe.fits").c_str(), 0644), 0);
    const struct {
        std::string name;
        std::string mentions;
    } cases[] = {
        {"dangling.fits", "Cannot open \"dangling.fits\""},
        {"loop_a.fits", "Cannot open \"loop_a.fits\""},
        {"link_to_folder.fits", "\"link_to_folder.fits\" is a folder"},
        {"pipe.fits", "\"pipe.fits\" is not a regular file"},
        {std::string(300, 'n') + ".fits", "Cannot open \"nnnn"},
    };
    for (const auto& c : cases) ExpectRefused(c.name, c.mentions, c.name.substr(0, 20));
}

// Root reads every file, so the load runs in a child that has given up root.
TEST_F(HostileFits, AFileWithoutReadPermissionIsRefused) {
    SpectrumFile s;
    s.stored = Ramp(60);
    const auto path = folder_.Write("locked.fits", SpectrumBytes(s));
    std::filesystem::permissions(path, std::filesystem::perms::none);
    std::filesystem::permissions(folder_.path(), std::filesystem::perms::owner_all | std::filesystem::perms::others_exec);
    const int status = InChild([&] {
        if (::geteuid() == 0 && ::setuid(65534) != 0) return 10;  // nobody
        ui_ = RecordingUi();
        const Workspace kept = ws_;
        if (LoadIntoSlot(ws_, 1, folder_.path() / "locked.fits", ui_) || !WorkspaceDifference(kept, ws_).empty()) return 1;
        if (ui_.messages.size() != 1) return 2;
        return ui_.messages[0] == "Cannot open \"locked.fits\": Permission denied." ? 0 : 3;
    });
    EXPECT_EQ(status, 0) << "10: cannot give up root, 1: loaded or changed, 2: not one message, 3: wrong text";
}

// Wavelengths that overflow the range of numbers cannot be placed on the plot.
TEST_F(HostileFits, WavelengthsBeyondTheRangeOfNumbersAreRefused) {
    const struct {
        std::vector<std::string> cards;
        std::string what;
    } cases[] = {
        {{ValueCard("CRVAL1", "1E999")}, "infinite start"},
        {{ValueCard("CRVAL1", "-1E999")}, "minus infinite start"},
        {{ValueCard("CD1_1", "1E999")}, "infinite step"},
        {{ValueCard("CRVAL1", "1E308"), ValueCard("CD1_1", "1E307")}, "end beyond the largest number"},
        {{ValueCard("CRVAL1", "1E999"), ValueCard("CD1_1", "1E999"), ValueCard("CRPIX1", "2")},
         "reference pixel giving infinity minus infinity"},
    };
    for (const auto& c : cases) {
        SpectrumFile s;
        s.stored = Ramp(60);
        s.crval1.reset();
        s.cd1_1.reset();
        s.extraCards = c.cards;
        ExpectBytesRefused(SpectrumBytes(s), "has wavelengths beyond the range of numbers; check its CRVAL1 and CD1_1",
                           c.what);
    }
    // The largest wavelengths that stay numbers load.
    SpectrumFile s;
    s.stored = Ramp(60);
    s.crval1 = -1e308;
    s.cd1_1 = 1e306;
    folder_.Write("edge.fits", SpectrumBytes(s));
    ASSERT_TRUE(LoadIntoSlot(ws_, 1, folder_.path() / "edge.fits", ui_));
    EXPECT_TRUE(std::isfinite(ws_.PlotSpan));
    EXPECT_EQ(ws_.PlotLeft, -1e308);
}

}  // namespace
}  // namespace wendrel::testing
