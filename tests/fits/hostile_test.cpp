// Broken and hostile files: each gets a clear refusal naming the file, or a
// sound load, and a refusal leaves the loaded slot as it was.
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <unistd.h>

#include "tests/fits/fits_test_support.h"

namespace wendrel::testing {
namespace {

class HostileTest : public FitsFileTest {
protected:
    void SetUp() override {
        FitsFileTest::SetUp();
        ASSERT_TRUE(Load(FloatSpectrum(Ramp(200)), 1, "good.fits"));
        before_ = ws_;
    }

    // Loads the bytes over the good slot 1, expects a refusal whose last
    // message names the file, and checks that nothing changed.
    void ExpectRefused(const std::string& bytes, const std::string& mentions, const std::string& what) {
        EXPECT_FALSE(Load(bytes, 1, "good.fits")) << what;
        ExpectRefusalKeptSlot(mentions, what);
    }

    void ExpectRefusalKeptSlot(const std::string& mentions, const std::string& what) {
        ASSERT_FALSE(ui_.messages.empty()) << what;
        EXPECT_NE(ui_.messages.back().find(mentions), std::string::npos) << what << ": " << ui_.messages.back();
        EXPECT_TRUE(ui_.events.empty()) << what;
        ExpectSameSlot(S(), before_.slot(1));
        EXPECT_EQ(ws_.LambdaMin, before_.LambdaMin);
        EXPECT_EQ(ws_.LambdaMax, before_.LambdaMax);
    }

    Workspace before_;
};

TEST_F(HostileTest, EveryTruncationIsRefused) {
    SpectrumFile s;
    s.stored = Ramp(100);
    s.object = "Cut";
    const std::string whole = ToBytes([&] {
        FitsBytes f = SpectrumCards(s);
        f.padData = false;
        return f;
    }());
    for (size_t length = 0; length < whole.size(); ++length) {
        EXPECT_FALSE(Load(whole.substr(0, length), 1, "good.fits")) << length;
        const std::string expected = length == 0 ? "is empty"
                                     : length < 6 ? kNotFitsMessage
                                     : length >= 2880 ? "is too short"
                                                      : "";  // the header is cut: one of several refusals
        ExpectRefusalKeptSlot(expected, "cut at " + std::to_string(length));
    }
    EXPECT_TRUE(Load(whole, 1, "good.fits"));
}

TEST_F(HostileTest, BadPixelCountsAreRefused) {
    const struct { std::string naxis1; std::string mentions; } cases[] = {
        {"0", "at least one pixel"},
        {"-5", "at least one pixel"},
        {"abc", "at least one pixel"},
        {"2.5", "not a whole number"},
        {"721", "is too short"},  // one pixel more than the padded data block holds
        {"1000000000", "is too short"},
        {"1E15", "is too short"},
        {"9.3E18", "is too short"},
        {"1E300", "is too short"},
        {"1E999", "\"good.fits\""},  // refused for its endless wavelength range first
    };
    for (const auto& c : cases)
        ExpectRefused(FloatSpectrum(Ramp(200), {ValueCard("NAXIS1", c.naxis1)}), c.mentions, c.naxis1);

    SpectrumFile s;
    s.stored = Ramp(200);
    FitsBytes file = SpectrumCards(s);
    file.cards.erase(file.cards.begin() + 3);
    ExpectRefused(ToBytes(file), "no NAXIS1", "NAXIS1 missing");
}

TEST_F(HostileTest, HugePixelCountAllocatesNothing) {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    const long before = usage.ru_maxrss;
    ExpectRefused(FloatSpectrum(Ramp(200), {IntCard("NAXIS1", 200'000'000)}), "is too short", "huge");
    getrusage(RUSAGE_SELF, &usage);
    EXPECT_LT(usage.ru_maxrss - before, 100 * 1024) << "kilobytes grown";
}

TEST_F(HostileTest, UnreadableBitpixIsRefused) {
    const struct { std::string bitpix; std::string mentions; } cases[] = {
        {"8", "8-bit"},      {"0", "BITPIX = 0"},   {"12", "BITPIX = 12"},
        {"64", "BITPIX = 64"}, {"-16", "BITPIX = -16"}, {"16.5", "BITPIX = 16.5"},
        {"1E300", "BITPIX = 1E300"}, {"T", "BITPIX = T"},
    };
    for (const auto& c : cases)
        ExpectRefused(FloatSpectrum(Ramp(200), {ValueCard("BITPIX", c.bitpix)}), c.mentions, c.bitpix);
    SpectrumFile s;
    s.stored = Ramp(200);
    FitsBytes file = SpectrumCards(s);
    file.cards.erase(file.cards.begin() + 1);
    ExpectRefused(ToBytes(file), "no BITPIX", "BITPIX missing");
}

TEST_F(HostileTest, FilesThatAreNotFitsAreRefused) {
    ExpectRefused("", "\"good.fits\" is empty", "empty");
    ExpectRefused(std::string(10000, '\0'), kNotFitsMessage, "zeros");
    ExpectRefused("SIMPLE", "no BITPIX", "keyword only");
    ExpectRefused("SIMPLE  = T\r\n" + std::string(5000, 'x'), "no BITPIX", "carriage return in card 1");
    std::string noEnd = "SIMPLE  =                    T";
    noEnd.resize(3'000'000, 'A');
    ExpectRefused(noEnd, "no BITPIX", "megabytes without END or carriage return");
}

TEST_F(HostileTest, CarriageReturnInsideTheHeaderEndsIt) {
    FitsBytes file = SpectrumCards([] {
        SpectrumFile s;
        s.stored = Ramp(100);
        return s;
    }());
    file.cards.push_back(RawCard("OBJECT  = 'hidden'"));
    std::string bytes = ToBytes(file);
    bytes[6 * 80 + 3] = '\r';  // in card 7, after the keywords that matter
    ASSERT_TRUE(Load(bytes, 2));
    EXPECT_EQ(S(2).NumCards, 0);
    EXPECT_EQ(S(2).ObjectName, "");
    EXPECT_EQ(S(2).Flux, Ramp(100));
}

TEST_F(HostileTest, FoldersAndMissingFilesAreRefused) {
    std::filesystem::create_directory(dir_ / "folder.fits");
    ui_.events.clear();
    const struct { std::string name; std::string mentions; } cases[] = {
        {"folder.fits", "\"folder.fits\" is a folder"},
        {"missing.fits", "Cannot open \"missing.fits\""},
    };
    for (const auto& c : cases) {
        ui_.messages.clear();
        EXPECT_FALSE(LoadIntoSlot(ws_, 1, dir_ / c.name, ui_));
        ExpectRefusalKeptSlot(c.mentions, c.name);
    }
    ui_.messages.clear();
    EXPECT_FALSE(LoadIntoSlot(ws_, 1, dir_ / "good.fits" / "good.fits", ui_));  // a file used as a folder
    ExpectRefusalKeptSlot("Cannot open \"good.fits\"", "file as folder");
    ui_.messages.clear();
    EXPECT_FALSE(LoadIntoSlot(ws_, 1, "/dev/null", ui_));
    ExpectRefusalKeptSlot("\"null\" is not a regular file", "device");
}

TEST_F(HostileTest, FileWithoutReadPermissionIsRefused) {
    if (::geteuid() == 0) GTEST_SKIP() << "root reads every file";
    const auto path = Write(FloatSpectrum(Ramp(10)), "locked.fits");
    std::filesystem::permissions(path, std::filesystem::perms::none);
    ui_.events.clear();
    EXPECT_FALSE(LoadIntoSlot(ws_, 1, dir_ / "locked.fits", ui_));
    ExpectRefusalKeptSlot("Cannot open \"locked.fits\"", "no permission");
}

}  // namespace
}  // namespace wendrel::testing
