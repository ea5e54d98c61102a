// What a load does to the workspace: ranges, view, messages, row and redraw,
// wavelength keywords, and that a refused load changes nothing.
#include <gtest/gtest.h>

#include "tests/fits/fits_test_support.h"

namespace wendrel::testing {
namespace {

class LoadTest : public FitsFileTest {
protected:
    static std::string Spectrum(double crval1, double cd1_1, size_t pixels = 120,
                                std::vector<std::string> extra = {}) {
        SpectrumFile s;
        s.stored = Ramp(pixels);
        s.crval1 = crval1;
        s.cd1_1 = cd1_1;
        s.extraCards = std::move(extra);
        return SpectrumBytes(s);
    }
};

TEST_F(LoadTest, FillsTheSlotAndWidensTheFullRange) {
    ASSERT_TRUE(Load(Spectrum(4000, 2), 3));
    const Slot& s = S(3);
    EXPECT_TRUE(s.Loaded);
    EXPECT_EQ(s.FileName, "spectrum.fits");
    EXPECT_EQ(s.Naxis1, 120);
    EXPECT_EQ(s.LambdaStart, 4000);
    EXPECT_EQ(s.LambdaEnd, 4000 + 120 * 2);
    EXPECT_EQ(s.Level, 100);  // median of the block maxima 50, 100, 120
    EXPECT_EQ(s.PctMax, 120.0 * 100 / 100);
    EXPECT_EQ(s.NumCards, 6);
    EXPECT_EQ(ws_.LambdaMin, 4000);
    EXPECT_EQ(ws_.LambdaMax, 4240);
    EXPECT_EQ(ws_.PlotLeft, 4000);
    EXPECT_EQ(ws_.PlotRight, 4240);
    EXPECT_EQ(ws_.PlotSpan, 240);
    EXPECT_TRUE(ws_.DataReady);
    EXPECT_TRUE(ui_.messages.empty());
    EXPECT_EQ(ui_.events, std::vector<std::string>{"show row 3"});

    ws_.PlotLeft = 4100;  // a zoom, then a narrower spectrum: the range only widens
    ASSERT_TRUE(Load(Spectrum(4100, 1), 4, "narrow.fits"));
    EXPECT_EQ(ws_.LambdaMin, 4000);
    EXPECT_EQ(ws_.LambdaMax, 4240);
    EXPECT_EQ(ws_.PlotLeft, 4000);
    ASSERT_TRUE(Load(Spectrum(3000, 1), 5, "wide.fits"));
    EXPECT_EQ(ws_.LambdaMin, 3000);
    EXPECT_EQ(ws_.PlotLeft, 3000);
    EXPECT_EQ(ws_.PlotRight, 4240);
}

// The empty range's start values are no wavelengths: spectra beyond them (far
// infrared, 12 to 13 micrometres here) get their own range.
TEST_F(LoadTest, FirstLoadTakesItsOwnRangeWhateverItsWavelengths) {
    ASSERT_TRUE(Load(Spectrum(120000, 10), 1));
    EXPECT_EQ(ws_.LambdaMin, 120000);
    EXPECT_EQ(ws_.LambdaMax, 121200);
    EXPECT_EQ(ws_.PlotLeft, 120000);
    ASSERT_TRUE(Load(Spectrum(-250000, 10), 2, "negative.fits"));
    EXPECT_EQ(ws_.LambdaMin, -250000);
    EXPECT_EQ(ws_.LambdaMax, 121200);
}

TEST_F(LoadTest, RedrawsOnlyWhenThePlotWindowIsOpen) {
    ASSERT_TRUE(Load(Spectrum(4000, 2)));
    EXPECT_EQ(ui_.redraws, 0);
    ws_.PlotShown = true;
    ASSERT_TRUE(Load(Spectrum(4000, 2)));
    EXPECT_EQ(ui_.events, (std::vector<std::string>{"show row 1", "redraw"}));
}

TEST_F(LoadTest, KeepsTheSlotsOwnSettings) {
    ws_.slot(2).Offset = 42;
    ASSERT_TRUE(Load(Spectrum(4000, 2), 2));
    EXPECT_EQ(S(2).Offset, 42);
    EXPECT_EQ(S(2).SlotColor, kStartSlotColors[1]);
}

TEST_F(LoadTest, WarningsComeInOrderAndTheLoadGoesOn) {
    SpectrumFile s;
    s.bitpix = 16;
    s.stored = {7};
    s.crval1.reset();
    ASSERT_TRUE(Load(SpectrumBytes(s)));
    EXPECT_EQ(ui_.messages, (std::vector<std::string>{kSignedDataMessage, kLambda0Message, kDLambdaMessage}));
    EXPECT_EQ(S().LambdaStart, 0);
    EXPECT_EQ(S().LambdaEnd, 1);
}

TEST_F(LoadTest, OnePixelAlwaysWarnsAboutTheStep) {
    ASSERT_TRUE(Load(Spectrum(5000, 3, 1)));
    EXPECT_EQ(ui_.messages, std::vector<std::string>{kDLambdaMessage});
    EXPECT_EQ(S().LambdaEnd, 5003);
}

TEST_F(LoadTest, KeywordNamesComeFromTheSettings) {
    ws_.Lambda0Key = "W0";
    ws_.DLambdaKey = "WPC";
    ASSERT_TRUE(Load(Spectrum(4000, 2, 120, {RealCard("W0", 6000), RealCard("WPC", 0.5)})));
    EXPECT_EQ(S().Lambda0, 6000);
    EXPECT_EQ(S().DLambda, 0.5);
    EXPECT_TRUE(ui_.messages.empty());
}

TEST_F(LoadTest, ReferencePixelMovesTheStartOfPixelOne) {
    const struct { std::vector<std::string> cards; double lambda0; } cases[] = {
        {{}, 5000},
        {{RealCard("CRPIX1", 1)}, 5000},
        {{RealCard("CRPIX1", 11)}, 5000 - 10 * 2},
        {{RealCard("CRPIX1", 0.5)}, 5000 + 0.5 * 2},
        {{RealCard("CRPIX1", 11), RealCard("CRPIX1", 1)}, 5000},
        {{RealCard("CRPIX2", 11)}, 5000},
    };
    for (const auto& c : cases) {
        ASSERT_TRUE(Load(Spectrum(5000, 2, 120, c.cards)));
        EXPECT_EQ(S().Lambda0, c.lambda0);
        EXPECT_EQ(S().LambdaStart, c.lambda0);
        EXPECT_EQ(S().LambdaEnd, c.lambda0 + 240);
    }
    ws_.Lambda0Key = "CRVAL2";
    ASSERT_TRUE(Load(Spectrum(5000, 2, 120, {RealCard("CRVAL2", 100), RealCard("CRPIX2", 3)})));
    EXPECT_EQ(S().Lambda0, 96);
    ws_.Lambda0Key = "W0";
    ASSERT_TRUE(Load(Spectrum(5000, 2, 120, {RealCard("W0", 100), RealCard("CRPIX1", 3)})));
    EXPECT_EQ(S().Lambda0, 100);
}

TEST_F(LoadTest, Cdelt1StandsInForAMissingCd11) {
    SpectrumFile s;
    s.stored = Ramp(120);
    s.cd1_1.reset();
    s.extraCards = {RealCard("CDELT1", 0.25)};
    ASSERT_TRUE(Load(SpectrumBytes(s)));
    EXPECT_EQ(S().DLambda, 0.25);
    EXPECT_TRUE(ui_.messages.empty());

    s.cd1_1 = 2;  // CD1_1 present: it counts
    ASSERT_TRUE(Load(SpectrumBytes(s)));
    EXPECT_EQ(S().DLambda, 2);

    s.cd1_1.reset();
    s.extraCards.clear();  // neither: the warning stays
    ASSERT_TRUE(Load(SpectrumBytes(s)));
    EXPECT_EQ(S().DLambda, 0);
    EXPECT_EQ(ui_.messages, std::vector<std::string>{kDLambdaMessage});

    ws_.DLambdaKey = "WPC";  // another step keyword has no stand-in
    s.extraCards = {RealCard("CDELT1", 0.25)};
    ASSERT_TRUE(Load(SpectrumBytes(s)));
    EXPECT_EQ(S().DLambda, 0);
}

TEST_F(LoadTest, ReloadWithoutBzeroReadsUnsignedAgain) {
    SpectrumFile s;
    s.bitpix = 16;
    s.stored = {-32768, 32767};
    s.bzero = 32768;
    ASSERT_TRUE(Load(SpectrumBytes(s)));
    EXPECT_EQ(S().Flux, (std::vector<double>{0, 65535}));
    EXPECT_TRUE(ui_.messages.empty());
    s.bzero.reset();
    ASSERT_TRUE(Load(SpectrumBytes(s)));
    EXPECT_EQ(S().Bzero, 0);
    EXPECT_EQ(S().Flux, (std::vector<double>{32768, 32767}));
    EXPECT_EQ(ui_.messages, std::vector<std::string>{kSignedDataMessage});
}

TEST_F(LoadTest, PathJoinsFolderAndNameAndTheCurrentFolderStays) {
    const auto before = std::filesystem::current_path();
    Write(Spectrum(4000, 2), "a b.fits");
    EXPECT_TRUE(LoadIntoSlot(ws_, 1, std::filesystem::path(dir_.string() + "/") / "a b.fits", ui_));
    EXPECT_TRUE(LoadIntoSlot(ws_, 1, dir_ / "a b.fits", ui_));
    EXPECT_EQ(std::filesystem::current_path(), before);
}

TEST_F(LoadTest, NoFolderOrNoNameDoesNothing) {
    Write(Spectrum(4000, 2));
    const Workspace before = ws_;
    EXPECT_FALSE(LoadIntoSlot(ws_, 1, "spectrum.fits", ui_));
    EXPECT_FALSE(LoadIntoSlot(ws_, 1, dir_ / "", ui_));
    EXPECT_TRUE(ui_.messages.empty());
    EXPECT_TRUE(ui_.events.empty());
    ExpectSameSlot(S(), before.slot(1));
}

TEST_F(LoadTest, LevelOfZeroIsRefused) {
    ASSERT_TRUE(Load(FloatSpectrum({-1, -2, 0})) == false);
    ASSERT_EQ(ui_.messages.size(), 1u);
    EXPECT_NE(ui_.messages[0].find("\"spectrum.fits\""), std::string::npos);
    EXPECT_NE(ui_.messages[0].find("level is 0"), std::string::npos);
    EXPECT_FALSE(Load(FloatSpectrum({NAN, INFINITY})));
    EXPECT_NE(ui_.messages[0].find("only blank pixels"), std::string::npos);
}

// Each refusal leaves the loaded slot, the range and the view as they were.
TEST_F(LoadTest, RefusalsChangeNothing) {
    SpectrumFile bad16;
    bad16.bitpix = 16;
    bad16.stored = {1, 2};
    bad16.bzero = 32768;
    bad16.extraCards = {IntCard("BITPIX", 8)};
    const std::string refusals[] = {
        "not a FITS file at all",
        SpectrumBytes(bad16),
        FloatSpectrum({0, 0, 0}),
        FloatSpectrum(Ramp(10), {IntCard("NAXIS1", 0)}),
        FloatSpectrum(Ramp(10), {IntCard("BITPIX", 12)}),
        FloatSpectrum(Ramp(10)).substr(0, 2900),
    };
    ASSERT_TRUE(Load(Spectrum(4000, 2), 1, "good.fits"));
    ws_.PlotLeft = 4010;
    ws_.PlotRight = 4020;
    ws_.PlotSpan = 10;
    const Workspace before = ws_;
    for (const std::string& bytes : refusals) {
        EXPECT_FALSE(Load(bytes, 1, "good.fits"));
        ASSERT_EQ(ui_.messages.size(), 1u);
        EXPECT_TRUE(ui_.events.empty());
        ExpectSameSlot(S(), before.slot(1));
        EXPECT_EQ(ws_.LambdaMin, before.LambdaMin);
        EXPECT_EQ(ws_.LambdaMax, before.LambdaMax);
        EXPECT_EQ(ws_.PlotLeft, 4010);
        EXPECT_EQ(ws_.PlotRight, 4020);
        EXPECT_EQ(ws_.PlotSpan, 10);
    }
    EXPECT_FALSE(Load(FloatSpectrum(Ramp(10), {IntCard("BITPIX", 12)}), 2));
    EXPECT_FALSE(ws_.slot(2).Loaded);
    EXPECT_EQ(ws_.slot(2).NumCards, 0);
    EXPECT_EQ(ws_.slot(2).Bitpix, 0);
}

}  // namespace
}  // namespace wendrel::testing
