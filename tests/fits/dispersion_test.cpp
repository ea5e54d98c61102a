// Wavelength scales that are not linear: log-linear spectra (DC-FLAG = 1) and
// multispec dispersions in WAT2 cards, loaded from files written here and
// checked against wavelengths worked out by hand; refusals of what cannot be
// evaluated; linear files as before.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <random>

#include "app/slot_rows.h"

#include "fits/dispersion.h"
#include "tests/fits/fits_test_support.h"

namespace wendrel::testing {
namespace {

// The WAT2 cards of a text, 68 characters per card as IRAF writes them; with
// `stripBlanks` each card's trailing blanks are dropped, as some writers do.
std::vector<std::string> Wat2Cards(const std::string& text, bool stripBlanks = false) {
    std::vector<std::string> cards;
    for (size_t start = 0, n = 1; start < text.size(); start += 68, ++n) {
        std::string chunk = text.substr(start, 68);
        if (stripBlanks) chunk.erase(chunk.find_last_not_of(' ') + 1);
        char keyword[16];
        std::snprintf(keyword, sizeof keyword, "WAT2_%03zu", n);
        cards.push_back(StringCard(keyword, chunk));
    }
    return cards;
}

std::vector<std::string> Join(std::vector<std::string> a, const std::vector<std::string>& b) {
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

std::string Multispec(const std::string& spec1) { return "wtype=multispec spec1 = \"" + spec1 + "\""; }

// A spectrum of `pixels` positive values with the given extra cards; CRVAL1
// and CD1_1 say 1 and 1, as in multispec files, unless replaced.
std::string File(size_t pixels, std::vector<std::string> cards, std::optional<double> crval1 = 1,
                 std::optional<double> cd1_1 = 1) {
    SpectrumFile s;
    s.stored = Ramp(pixels, 10);
    s.crval1 = crval1;
    s.cd1_1 = cd1_1;
    s.extraCards = std::move(cards);
    return SpectrumBytes(s);
}

class DispersionTest : public FitsFileTest {
protected:
    // Loads and expects the slot's pixel edges to be `edges` (to a relative 1e-12).
    void ExpectEdges(const std::string& bytes, const std::vector<double>& edges, const std::string& kind,
                     const std::string& what) {
        SCOPED_TRACE(what);
        ASSERT_TRUE(Load(bytes)) << (ui_.messages.empty() ? "" : ui_.messages.back());
        const Slot& s = S();
        EXPECT_EQ(s.Dispersion, kind);
        ASSERT_EQ(s.PixelEdge.size(), edges.size());
        for (size_t k = 0; k < edges.size(); ++k)
            EXPECT_NEAR(s.PixelEdge[k], edges[k], 1e-12 * std::abs(edges[k])) << "edge " << k;
        EXPECT_EQ(s.LambdaStart, s.PixelEdge.front());
        EXPECT_EQ(s.Lambda0, s.PixelEdge.front());
        EXPECT_EQ(s.LambdaEnd, s.PixelEdge.back());
        EXPECT_EQ(s.DLambda, (s.LambdaEnd - s.LambdaStart) / s.Naxis1);
        EXPECT_EQ(ws_.LambdaMin, s.LambdaStart);
        EXPECT_EQ(ws_.LambdaMax, s.LambdaEnd);
        EXPECT_EQ(ws_.PlotLeft, s.LambdaStart);
        EXPECT_EQ(ws_.PlotRight, s.LambdaEnd);
        EXPECT_TRUE(ui_.messages.empty()) << ui_.messages.front();
        ws_ = Workspace();  // each case widens a fresh full range
    }

    // Expects the load to be refused with a message naming the file and
    // containing `mentions`, leaving a loaded slot as it was.
    void ExpectRefused(const std::string& bytes, const std::string& mentions) {
        SCOPED_TRACE(mentions);
        ws_ = Workspace();
        ASSERT_TRUE(Load(File(60, {}, 5000, 2), 1, "before.fits"));
        const Slot before = S();
        const Workspace wsBefore = ws_;
        EXPECT_FALSE(Load(bytes));
        ExpectSameSlot(S(), before);
        EXPECT_EQ(S().Dispersion, "linear");
        EXPECT_TRUE(S().PixelEdge.empty());
        EXPECT_EQ(ws_.LambdaMin, wsBefore.LambdaMin);
        EXPECT_EQ(ws_.PlotRight, wsBefore.PlotRight);
        ASSERT_EQ(ui_.messages.size(), 1u);
        EXPECT_EQ(ui_.messages[0].rfind("\"spectrum.fits\" ", 0), 0u) << ui_.messages[0];
        EXPECT_NE(ui_.messages[0].find(mentions), std::string::npos) << ui_.messages[0];
        EXPECT_TRUE(ui_.events.empty());
    }
};

TEST_F(DispersionTest, LinearFilesKeepTheirValuesAndHaveNoEdges) {
    const std::vector<std::vector<std::string>> extras = {
        {},
        {IntCard("DC-FLAG", 0)},
        {IntCard("DC-FLAG", -1)},  // not calibrated: read as linear, as before
        {StringCard("WAT0_001", "system=equispec"), StringCard("WAT1_001", "wtype=linear label=Wavelength"),
         StringCard("WAT2_001", "wtype=linear")},
    };
    for (const auto& extra : extras) {
        ASSERT_TRUE(Load(File(120, extra, 4000.5, 0.25)));
        const Slot& s = S();
        EXPECT_EQ(s.Dispersion, "linear");
        EXPECT_TRUE(s.PixelEdge.empty());
        EXPECT_EQ(s.Lambda0, 4000.5);
        EXPECT_EQ(s.DLambda, 0.25);
        EXPECT_EQ(s.LambdaStart, 4000.5);
        EXPECT_EQ(s.LambdaEnd, 4000.5 + 120 * 0.25);
        EXPECT_TRUE(ui_.messages.empty());
    }
}

TEST_F(DispersionTest, LogLinearFiles) {
    // Pixel l starts at 10^(CRVAL1 + (l - CRPIX1) CD1_1).
    const double a = 3.6, step = 1e-4;
    ExpectEdges(File(4, {IntCard("DC-FLAG", 1)}, a, step),
                {std::pow(10, 3.6), std::pow(10, 3.6001), std::pow(10, 3.6002), std::pow(10, 3.6003),
                 std::pow(10, 3.6004)},
                "log-linear", "CRVAL1 at pixel 1");
    ExpectEdges(File(2, {IntCard("DC-FLAG", 1), RealCard("CRPIX1", 11)}, a, step),
                {std::pow(10, 3.599), std::pow(10, 3.5991), std::pow(10, 3.5992)}, "log-linear", "CRPIX1 11");
    ExpectEdges(File(2, {IntCard("DC-FLAG", 1), RealCard("CDELT1", step)}, a, std::nullopt),
                {std::pow(10, 3.6), std::pow(10, 3.6001), std::pow(10, 3.6002)}, "log-linear", "CDELT1");
    ExpectEdges(File(2, {IntCard("DC-FLAG", 1)}, 3.7, -step),
                {std::pow(10, 3.7), std::pow(10, 3.6999), std::pow(10, 3.6998)}, "log-linear", "falling");
    // DC-FLAG after a WAT2 text of the equispec kind still counts.
    ExpectEdges(File(1, {StringCard("WAT2_001", "wtype=linear"), IntCard("DC-FLAG", 1)}, a, step),
                {std::pow(10, 3.6), std::pow(10, 3.6001)}, "log-linear", "equispec");
}

TEST_F(DispersionTest, LogLinearWithoutItsStartWarnsAsALinearOneDoes) {
    ASSERT_TRUE(Load(File(3, {IntCard("DC-FLAG", 1)}, std::nullopt, 1e-3)));
    EXPECT_EQ(ui_.messages, std::vector<std::string>{kLambda0Message});
    EXPECT_EQ(S().LambdaStart, 1);  // 10^0
}

TEST_F(DispersionTest, MultispecLinearAndLogLinearApertures) {
    // dtype 0: (w1 + dw (p - 1)) / (1 + z); dtype 1: 10^(w1 + dw (p - 1)) / (1 + z).
    ExpectEdges(File(3, Wat2Cards(Multispec("1 1 0 5000. 2. 3 0.25 10.5 20.5"))),
                {4000, 4001.6, 4003.2, 4004.8}, "multispec", "dtype 0 with z");
    ExpectEdges(File(2, Wat2Cards(Multispec("7 2 1 3.6 0.001 2 0. INDEF INDEF"))),
                {std::pow(10, 3.6), std::pow(10, 3.601), std::pow(10, 3.602)}, "multispec", "dtype 1");
    // The physical pixel is (l - LTV1) / LTM1_1: an image section from pixel 11, binned by 2.
    ExpectEdges(File(2, Join({RealCard("LTV1", -5), RealCard("LTM1_1", 0.5)}, Wat2Cards(Multispec("1 1 0 100 1 10 0 1 2")))),
                {100 + (12 - 1), 100 + (14 - 1), 100 + (16 - 1)}, "multispec", "LTV1 and LTM1_1");
}

// Functions "wt w0 type ..." in a dtype 2 aperture; each checked at the pixel
// edges l = 1 .. n + 1 against values worked out by hand.
TEST_F(DispersionTest, MultispecFunctionsOfEachType) {
    const struct {
        const char* name;
        std::string functions;
        std::vector<double> edges;
    } cases[] = {
        // Chebyshev, order 3 over pixels 0 .. 2, so n = p - 1: c1 T0 + c2 T1 + c3 T2 with T2 = 2n^2 - 1.
        {"Chebyshev", "1. 0. 1 3 0 2 4000 10 1", {4000 - 1, 4000 + 10 + 1, 4000 + 20 + 7, 4000 + 30 + 17}},
        // Legendre, order 4 over 0 .. 2: P2 = (3n^2 - 1)/2, P3 = (5n^3 - 3n)/2.
        {"Legendre", "1. 0. 2 4 0 2 5000 20 4 1", {4998, 5025, 5079, 5175}},
        // Cubic spline, one piece over 1 .. 3: s = (p - 1)/2, a = 1 - s, b = s;
        // x = a^3, 1 + 3a(1 + ab), 1 + 3b(1 + ab), b^3.
        {"cubic spline", "1. 0. 3 1 1 3 1000 1000 1010 1030", {6010, 6032.5, 6070}},
        // Linear spline, two pieces over 1 .. 5: knots 6000, 6010, 6030 at p = 1, 3, 5.
        {"linear spline", "1. 0. 4 2 1 5 6000 6010 6030", {6000, 6005, 6010, 6020, 6030}},
        // Pixel array: wavelengths at pixels 1 .. 4, continued past pixel 4 by its last piece.
        {"pixel array", "1. 0. 5 4 7000 7001 7003 7006", {7000, 7001, 7003, 7006, 7009}},
        // Sampled array: (1, 8000), (3, 8010), (5, 8040), after a dummy field.
        {"sampled array", "1. 0. 6 3 0 1 8000 3 8010 5 8040", {8000, 8005, 8010, 8025, 8040, 8055}},
        // A zero point, a weight and two functions summed (before and after calibrations).
        {"weights and zero points", "0.5 100. 4 1 1 3 6000 6020 0.5 -100. 4 1 1 3 6010 6030",
         {6005, 6015, 6025}},
    };
    for (const auto& c : cases) {
        const std::string aperture = "1 1 2 4000. 1. 100 0. 10.5 20.5 " + c.functions;
        ExpectEdges(File(c.edges.size() - 1, Wat2Cards(Multispec(aperture))), c.edges, "multispec", c.name);
    }
    // The redshift divides the sum.
    std::vector<double> redshifted;
    for (double w : cases[3].edges) redshifted.push_back(w / 1.5);
    ExpectEdges(File(4, Wat2Cards(Multispec("1 1 2 4000. 1. 100 0.5 10.5 20.5 " + cases[3].functions))), redshifted,
                "multispec", "z = 0.5");
}

TEST_F(DispersionTest, Wat2CardsAreJoinedInTheirOrder) {
    // A long text that spans several cards, with the aperture of line 1 after
    // another and with blanks at card ends, which some writers drop.
    const std::string spec1 = "1 1 2 6000. 10. 100 0. 10.5 20.5 1. 0. 1 3 1. 100. 6500.25 495.75 0.125";
    std::string text = "wtype=multispec spec2 = \"2 1 0 9000 1 100 0 1 2\" spec1 = \"" + spec1 + "\"";
    // Blanks in the last places of cards 1 and 2 (a blank doubled moves the rest on).
    while (text[67] != ' ') text.insert(text.find("spec2"), " ");
    while (text[135] != ' ') text.insert(text.find(' ', 70), " ");
    ASSERT_GT(text.size(), 2 * 68u);
    for (const bool strip : {false, true}) {
        std::vector<std::string> cards = Wat2Cards(text, strip);
        std::swap(cards[0], cards[2]);  // the file's order of the cards does not matter, their numbers do
        // Chebyshev over 1 .. 100 at p = 1, 2: n = -1 and -97/99.
        const auto w = [](double p) {
            const double n = (p - 50.5) / 49.5;
            return 6500.25 + 495.75 * n + 0.125 * (2 * n * n - 1);
        };
        ExpectEdges(File(1, cards), {w(1), w(2)}, "multispec", strip ? "blanks dropped" : "blanks kept");
    }
}

TEST_F(DispersionTest, TheLowestApertureNumberIsTheFirstLine) {
    ExpectEdges(File(1, Wat2Cards("wtype=multispec spec5 = \"5 1 0 300 1 100 0 1 2\" spec3 = \"3 1 0 200 1 100 0 1 2\"")),
                {200, 201}, "multispec", "spec3 before spec5");
}

TEST_F(DispersionTest, MalformedOrUnusableScalesAreRefused) {
    const std::string common = "1 1 2 4000. 1. 100 0. 10.5 20.5 ";
    const struct {
        std::vector<std::string> cards;
        std::string mentions;
    } cases[] = {
        {Wat2Cards(Multispec(common + "1. 0. 7 3 1 100 1 2 3")), "function type 7"},
        {Wat2Cards(Multispec(common + "1. 0. 1.5 3 1 100 1 2 3")), "function type 1.5"},
        {Wat2Cards(Multispec("1 1 3 4000. 1. 100 0. 10.5 20.5")), "dispersion type 3"},
        {Wat2Cards(Multispec("1 1 -1 4000. 1. 100 0. 10.5 20.5")), "not wavelength calibrated"},
        {Wat2Cards(Multispec("1 1 2 4000.")), "has 4 of the 9 fields"},
        {Wat2Cards(Multispec(common + "1. 0. 1 5 1 100 4000 1 2")), "lacks 2 of its 5 coefficients"},
        {Wat2Cards(Multispec(common + "1. 0. 1 0 1 100 5")), "order that is not a whole number"},
        {Wat2Cards(Multispec(common + "1. 0. 3 2.5 1 100 1 2 3 4 5 6")), "number of pieces that is not"},
        {Wat2Cards(Multispec(common + "1. 0. 2 2 7 7 4000 1")), "same pixel at both ends"},
        {Wat2Cards(Multispec(common + "1. 0. 6 2 0 5 8000 3 8010")), "do not increase"},
        {Wat2Cards(Multispec(common + "1. 0.")), "lacks its weight, zero point or type"},
        {Wat2Cards(Multispec(common)), "no dispersion function"},
        {Wat2Cards(Multispec("1 1 0 4000. abc 100 0. 1 2")), "field 5 of spec1, \"abc\", is not a number"},
        {Wat2Cards("wtype=multispec spec1 = \"1 1 0 4000. 1. 100 0. 1 2"), "no closing \""},
        {Wat2Cards("wtype=multispec spec1 \"1 1 0 4000. 1. 100 0. 1 2\""), "not followed by \"=\""},
        {Wat2Cards("wtype=multispec label=Wavelength"), "no specN attribute"},
        {{StringCard("WAT2_001", "wtype=multispec spec1 = \"1 1 0 4000. 1. 100 0. 1 2\""),
          StringCard("WAT2_003", "x")},
         "WAT2_002 is missing"},
        {{StringCard("WAT2_001", "wtype=multispec spec1 = \"1 1 0 40"), IntCard("WAT2_002", 5)},
         "WAT2_002 does not hold a quoted text"},
        {Join({RealCard("LTM1_1", 0)}, Wat2Cards(Multispec("1 1 0 4000. 1. 100 0. 1 2"))), "LTM1_1 is 0"},
        // The results: a turning point (Chebyshev 4000 + 10 T1 + 10 T2 over 1 .. 10 turns near p = 5),
        // wavelengths that stand still, and a redshift of -1.
        {Wat2Cards(Multispec(common + "1. 0. 1 3 1 10 4000 10 10")), "do not keep decreasing from pixel to pixel"},
        {Wat2Cards(Multispec("1 1 0 4000. 0. 100 0. 1 2")), "do not keep increasing"},
        {Wat2Cards(Multispec("1 1 0 4000. 1. 100 -1 1 2")), "is not a finite number"},
        {{IntCard("DC-FLAG", 1), RealCard("CD1_1", 0)}, "do not keep increasing"},
        {{IntCard("DC-FLAG", 1), RealCard("CRVAL1", 400)}, "is not a finite number"},
        {{IntCard("DC-FLAG", 2)}, "DC-FLAG = 2, which is not a wavelength scale"},
    };
    for (const auto& c : cases) ExpectRefused(File(20, c.cards, std::nullopt, std::nullopt), c.mentions);
}

// A refusal names the scale; nothing else of the file is read.
TEST_F(DispersionTest, RefusalMessagesSayWhichScale) {
    ExpectRefused(File(20, Wat2Cards(Multispec("1 1 9 1 1 1 0 1 2")), std::nullopt, std::nullopt),
                  "has a multispec wavelength scale (WAT2 cards) that cannot be used: spec1 has dispersion type 9");
    ExpectRefused(File(20, {IntCard("DC-FLAG", 1)}, 3.6, 0),
                  "has a log-linear wavelength scale (DC-FLAG = 1) that cannot be used: its wavelengths do not keep "
                  "increasing from pixel to pixel: pixel 1 starts at 3981.071706 and ends at 3981.071706 Angstroms.");
}

TEST_F(DispersionTest, FullRangeAfterAnUnloadFollowsTheEdges) {
    ASSERT_TRUE(Load(File(10, {IntCard("DC-FLAG", 1)}, 3.6, 1e-3), 1, "log.fits"));
    ASSERT_TRUE(Load(File(10, {}, 3000, 1), 2, "linear.fits"));
    EXPECT_EQ(ws_.LambdaMin, 3000);
    ws_.PlotShown = true;
    UnloadSlot(ws_, 2, ui_);
    EXPECT_EQ(ws_.LambdaMin, std::pow(10.0, 3.6));
    EXPECT_EQ(ws_.LambdaMax, S(1).PixelEdge.back());
    EXPECT_EQ(ws_.PlotLeft, ws_.LambdaMin);
    EXPECT_EQ(ws_.PlotRight, ws_.LambdaMax);
}

// Damaged multispec texts, cut and with characters changed at random: each
// either gives edges that run strictly one way or a refusal with a reason.
TEST(DispersionDamage, EveryDamagedTextIsUsedOrRefused) {
    const std::string valid =
        "wtype=multispec spec1 = \"1 1 2 4000. 1. 100 0. 10.5 20.5 1. 0. 1 3 1. 100. 4050 49.5 0.1 "
        "0.5 0. 3 2 1 100 4000 4010 4020 4030 4040 0.5 0. 6 2 0 1 4000 100 4100\" spec2 = \"2 1 0 1 1 1 0 1 2\"";
    const std::string alphabet = "0123456789 .-=\"eED+specwtype";
    std::mt19937 random(11);
    int used = 0, refused = 0;
    for (int trial = 0; trial < 3000; ++trial) {
        std::string text = valid;
        const int changes = 1 + static_cast<int>(random() % 4);
        for (int c = 0; c < changes; ++c) {
            const size_t at = random() % text.size();
            switch (random() % 3) {
                case 0: text[at] = alphabet[random() % alphabet.size()]; break;
                case 1: text.erase(at, 1 + random() % 8); break;
                default: text.insert(at, 1, alphabet[random() % alphabet.size()]);
            }
            if (text.empty()) text = "x";
        }
        DispersionCards cards;
        for (const std::string& card : Wat2Cards(text)) cards.Take(card.substr(0, 8), card);
        const PixelScale scale = PixelScale::Evaluate(cards, 50, 0, 0);
        if (scale.kind == kLinearScale) {
            EXPECT_TRUE(scale.edges.empty() && scale.problem.empty()) << text;
        } else if (scale.problem.empty()) {
            ++used;
            ASSERT_EQ(scale.edges.size(), 51u) << text;
            const bool rising = scale.edges[1] > scale.edges[0];
            for (size_t k = 0; k + 1 < scale.edges.size(); ++k)
                ASSERT_TRUE(rising ? scale.edges[k + 1] > scale.edges[k] : scale.edges[k + 1] < scale.edges[k]) << text;
        } else {
            ++refused;
            EXPECT_TRUE(scale.edges.empty()) << text;
            EXPECT_TRUE(scale.problem.ends_with(".")) << scale.problem;
        }
    }
    EXPECT_GT(used, 100);
    EXPECT_GT(refused, 100);
}

TEST_F(DispersionTest, HugePixelCountsAreRefusedBeforeAnyEdgeIsComputed) {
    SpectrumFile s;
    s.stored = Ramp(10);
    s.extraCards = {IntCard("DC-FLAG", 1)};
    FitsBytes bytes = SpectrumCards(s);
    for (std::string& card : bytes.cards)
        if (card.starts_with("NAXIS1")) card = IntCard("NAXIS1", 4'000'000'000'000);
    EXPECT_FALSE(Load(ToBytes(bytes)));
    ASSERT_EQ(ui_.messages.size(), 1u);
    EXPECT_NE(ui_.messages[0].find("too short"), std::string::npos) << ui_.messages[0];
}

}  // namespace
}  // namespace wendrel::testing
