// Wavelength scales that are not linear: log-linear spectra (DC-FLAG = 1) and
// multispec dispersions in WAT2 cards, checked against wavelengths worked out
// by hand, and refusals of what cannot be evaluated.
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

std::vector<std::string> Multispec(const std::string& spec1, std::vector<std::string> before = {}) {
    for (const std::string& card : Wat2Cards("wtype=multispec spec1 = \"" + spec1 + "\"")) before.push_back(card);
    return before;
}

// A dtype 2 aperture with the given functions "wt w0 type ...", and z.
std::vector<std::string> Functions(const std::string& functions, const std::string& z = "0.") {
    return Multispec("1 1 2 4000. 1. 100 " + z + " 10.5 20.5 " + functions);
}

std::string File(size_t pixels, std::vector<std::string> cards, std::optional<double> crval1 = 1,
                 std::optional<double> cd1_1 = 1) {
    return FloatSpectrum(Ramp(pixels, 10), std::move(cards), crval1, cd1_1);
}

double P(double exponent) { return std::pow(10, exponent); }

// A long text over three cards, with the aperture of line 1 after another and
// blanks in the last places of cards 1 and 2, which some writers drop.
std::vector<std::string> ShuffledCards(bool stripBlanks) {
    std::string text = "wtype=multispec spec2 = \"2 1 0 9000 1 100 0 1 2\" spec1 = \""
                       "1 1 2 6000. 10. 100 0. 10.5 20.5 1. 0. 1 3 1. 100. 6500.250000 495.750000 0.125000\"";
    while (text[67] != ' ') text.insert(text.find("spec2"), " ");
    while (text[135] != ' ') text.insert(text.find(' ', 70), " ");
    std::vector<std::string> cards = Wat2Cards(text, stripBlanks);
    std::swap(cards.front(), cards.back());  // the numbers of the cards count, not their order
    return cards;
}
double ShuffledAt(double p) {  // Chebyshev over 1 .. 100
    const double n = (p - 50.5) / 49.5;
    return 6500.25 + 495.75 * n + 0.125 * (2 * n * n - 1);
}

class PixelEdgesTest : public FitsFileTest {
protected:
    void ExpectEdges(const std::vector<std::string>& cards, const std::vector<double>& edges, const char* kind,
                     std::optional<double> crval1 = 1, std::optional<double> cd1_1 = 1) {
        ws_ = Workspace();
        ASSERT_TRUE(Load(File(edges.size() - 1, cards, crval1, cd1_1))) << ::testing::PrintToString(ui_.messages);
        const Slot& s = S();
        EXPECT_EQ(s.Dispersion, kind);
        ASSERT_EQ(s.PixelEdge.size(), edges.size());
        for (size_t k = 0; k < edges.size(); ++k) EXPECT_NEAR(s.PixelEdge[k], edges[k], 1e-12 * edges[k]) << k;
        EXPECT_TRUE(s.Lambda0 == s.PixelEdge.front() && s.LambdaStart == s.Lambda0 && s.LambdaEnd == s.PixelEdge.back());
        EXPECT_EQ(s.DLambda, (s.LambdaEnd - s.LambdaStart) / s.Naxis1);
        EXPECT_TRUE(ws_.LambdaMin == s.LambdaStart && ws_.LambdaMax == s.LambdaEnd && ws_.PlotLeft == ws_.LambdaMin);
        EXPECT_TRUE(ui_.messages.empty());
    }
};

// Pixel l starts at 10^(CRVAL1 + (l - CRPIX1) CD1_1).
TEST_F(PixelEdgesTest, LogLinear) {
    const auto flag = IntCard("DC-FLAG", 1);
    ExpectEdges({flag}, {P(3.6), P(3.6001), P(3.6002), P(3.6003)}, "log-linear", 3.6, 1e-4);
    ExpectEdges({flag, RealCard("CRPIX1", 11)}, {P(3.599), P(3.5991)}, "log-linear", 3.6, 1e-4);
    ExpectEdges({flag, RealCard("CDELT1", 1e-4)}, {P(3.6), P(3.6001)}, "log-linear", 3.6, std::nullopt);
    ExpectEdges({flag}, {P(3.7), P(3.6999), P(3.6998)}, "log-linear", 3.7, -1e-4);
    ExpectEdges({StringCard("WAT2_001", "wtype=linear"), flag}, {P(3.6), P(3.6001)}, "log-linear", 3.6, 1e-4);
}

TEST_F(PixelEdgesTest, Multispec) {
    const struct {
        const char* what;
        std::vector<std::string> cards;
        std::vector<double> edges;
    } cases[] = {
        // dtype 0: (w1 + dw (p - 1)) / (1 + z); dtype 1: 10^(w1 + dw (p - 1)) / (1 + z).
        {"dtype 0 with z", Multispec("1 1 0 5000. 2. 3 0.25 10.5 20.5"), {4000, 4001.6, 4003.2, 4004.8}},
        {"dtype 1", Multispec("7 2 1 3.6 0.001 2 0. INDEF INDEF"), {P(3.6), P(3.601), P(3.602)}},
        // The physical pixel is (l - LTV1) / LTM1_1: a section from pixel 11, binned by 2.
        {"LTV1, LTM1_1", Multispec("1 1 0 100 1 10 0 1 2", {RealCard("LTV1", -5), RealCard("LTM1_1", 0.5)}),
         {100 + 11, 100 + 13, 100 + 15}},
        // Chebyshev, order 3 over pixels 0 .. 2, so n = p - 1: c1 T0 + c2 T1 + c3 T2 with T2 = 2n^2 - 1.
        {"Chebyshev", Functions("1. 0. 1 3 0 2 4000 10 1"), {4000 - 1, 4000 + 10 + 1, 4000 + 20 + 7, 4000 + 30 + 17}},
        // Legendre, order 4 over 0 .. 2: P2 = (3n^2 - 1)/2, P3 = (5n^3 - 3n)/2.
        {"Legendre", Functions("1. 0. 2 4 0 2 5000 20 4 1"), {4998, 5025, 5079, 5175}},
        // Cubic spline, one piece over 1 .. 3: s = (p - 1)/2, a = 1 - s, b = s;
        // x = a^3, 1 + 3a(1 + ab), 1 + 3b(1 + ab), b^3.
        {"cubic spline", Functions("1. 0. 3 1 1 3 1000 1000 1010 1030"), {6010, 6032.5, 6070}},
        // Linear spline, two pieces over 1 .. 5: knots 6000, 6010, 6030 at p = 1, 3, 5.
        {"linear spline", Functions("1. 0. 4 2 1 5 6000 6010 6030"), {6000, 6005, 6010, 6020, 6030}},
        {"redshifted", Functions("1. 0. 4 2 1 5 6000 6010 6030", "0.5"), {6000 / 1.5, 6005 / 1.5, 6010 / 1.5, 6020 / 1.5, 6030 / 1.5}},
        // Pixel array: wavelengths at pixels 1 .. 4, continued past pixel 4 by its last piece.
        {"pixel array", Functions("1. 0. 5 4 7000 7001 7003 7006"), {7000, 7001, 7003, 7006, 7009}},
        // Sampled array: (1, 8000), (3, 8010), (5, 8040), after a dummy field.
        {"sampled array", Functions("1. 0. 6 3 0 1 8000 3 8010 5 8040"), {8000, 8005, 8010, 8025, 8040, 8055}},
        // A zero point, a weight and two functions summed.
        {"weights, zero points", Functions("0.5 100. 4 1 1 3 6000 6020 0.5 -100. 4 1 1 3 6010 6030"),
         {6005, 6015, 6025}},
        {"WAT2 cards in order", ShuffledCards(false), {ShuffledAt(1), ShuffledAt(2)}},
        {"WAT2 blanks dropped", ShuffledCards(true), {ShuffledAt(1), ShuffledAt(2)}},
        {"lowest aperture", Wat2Cards("wtype=multispec spec5 = \"5 1 0 300 1 100 0 1 2\" spec3 = \"3 1 0 200 1 100 0 1 2\""),
         {200, 201}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        ExpectEdges(c.cards, c.edges, "multispec");
    }
}

TEST_F(FitsFileTest, LinearFilesHaveNoEdgesAndLogLinearOnesWarnAsTheyDo) {
    for (const auto& extra : std::vector<std::vector<std::string>>{
             {IntCard("DC-FLAG", 0)}, {IntCard("DC-FLAG", -1)}, {StringCard("WAT2_001", "wtype=linear")}}) {
        ASSERT_TRUE(Load(File(120, extra, 4000.5, 0.25)));
        EXPECT_EQ(S().Dispersion, "linear");
        EXPECT_TRUE(S().PixelEdge.empty());
        EXPECT_EQ(S().LambdaEnd, 4000.5 + 120 * 0.25);
    }
    ASSERT_TRUE(Load(File(3, {IntCard("DC-FLAG", 1)}, std::nullopt, 1e-3)));
    EXPECT_EQ(ui_.messages, std::vector<std::string>{kLambda0Message});
    EXPECT_EQ(S().LambdaStart, 1);  // 10^0
}

TEST_F(FitsFileTest, UnusableScalesAreRefused) {
    ASSERT_TRUE(Load(File(60, {}, 5000, 2), 1, "before.fits"));
    const std::string common = "1 1 2 4000. 1. 100 0. 10.5 20.5 ";
    const struct {
        std::vector<std::string> cards;
        std::string mentions;
    } cases[] = {
        {Multispec(common + "1. 0. 7 3 1 100 1 2 3"), "function type 7"},
        {Multispec(common + "1. 0. 1.5 3 1 100 1 2 3"), "function type 1.5"},
        {Multispec("1 1 3 4000. 1. 100 0. 10.5 20.5"), "dispersion type 3"},
        {Multispec("1 1 -1 4000. 1. 100 0. 10.5 20.5"), "not wavelength calibrated"},
        {Multispec("1 1 2 4000."), "has 4 of the 9 fields"},
        {Multispec(common + "1. 0. 1 5 1 100 4000 1 2"), "lacks 2 of its 5 coefficients"},
        {Multispec(common + "1. 0. 1 0 1 100 5"), "order that is not a whole number"},
        {Multispec(common + "1. 0. 3 2.5 1 100 1 2 3 4 5 6"), "number of pieces that is not"},
        {Multispec(common + "1. 0. 2 2 7 7 4000 1"), "same pixel at both ends"},
        {Multispec(common + "1. 0. 6 2 0 5 8000 3 8010"), "do not increase"},
        {Multispec(common + "1. 0."), "lacks its weight, zero point or type"},
        {Multispec(common), "no dispersion function"},
        {Multispec("1 1 0 4000. abc 100 0. 1 2"), "field 5 of spec1, \"abc\", is not a number"},
        {Wat2Cards("wtype=multispec spec1 = \"1 1 0 4000. 1. 100 0. 1 2"), "no closing \""},
        {Wat2Cards("wtype=multispec spec1 \"1 1 0 4000. 1. 100 0. 1 2\""), "not followed by \"=\""},
        {Wat2Cards("wtype=multispec label=Wavelength"), "no specN attribute"},
        {{StringCard("WAT2_001", "wtype=multispec spec1 = \"1 1 0 4000. 1. 100 0. 1 2\""), StringCard("WAT2_003", "x")},
         "WAT2_002 is missing"},
        {{StringCard("WAT2_001", "wtype=multispec spec1 = \"1 1 0 40"), IntCard("WAT2_002", 5)},
         "WAT2_002 does not hold a quoted text"},
        {Multispec("1 1 0 4000. 1. 100 0. 1 2", {RealCard("LTM1_1", 0)}), "LTM1_1 is 0"},
        // Chebyshev 4000 + 10 T1 + 10 T2 over 1 .. 10 turns near p = 5.
        {Multispec(common + "1. 0. 1 3 1 10 4000 10 10"), "do not keep decreasing from pixel to pixel"},
        {Multispec("1 1 0 4000. 0. 100 0. 1 2"), "do not keep increasing"},
        {Multispec("1 1 0 4000. 1. 100 -1 1 2"), "is not a finite number"},
        {{IntCard("DC-FLAG", 1), RealCard("CD1_1", 0)}, "do not keep increasing"},
        {{IntCard("DC-FLAG", 1), RealCard("CRVAL1", 400)}, "is not a finite number"},
        {{IntCard("DC-FLAG", 2)}, "DC-FLAG = 2, which is not a wavelength scale"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.mentions);
        ExpectRefused(File(20, c.cards, std::nullopt, std::nullopt), c.mentions);
    }
    // The whole message names the file and the scale.
    const std::pair<std::string, std::string> messages[] = {
        {File(20, Multispec("1 1 9 1 1 1 0 1 2"), std::nullopt, std::nullopt),
         "has a multispec wavelength scale (WAT2 cards) that cannot be used: spec1 has dispersion type 9"},
        {File(20, {IntCard("DC-FLAG", 1)}, 3.6, 0),
         "has a log-linear wavelength scale (DC-FLAG = 1) that cannot be used: its wavelengths do not keep "
         "increasing from pixel to pixel: pixel 1 starts at 3981.071706 and ends at 3981.071706 Angstroms."}};
    for (const auto& [bytes, message] : messages) ExpectRefused(bytes, "\"spectrum.fits\" " + message);
}

TEST_F(FitsFileTest, FullRangeAfterAnUnloadFollowsTheEdges) {
    ASSERT_TRUE(Load(File(10, {IntCard("DC-FLAG", 1)}, 3.6, 1e-3), 1, "log.fits"));
    ASSERT_TRUE(Load(File(10, {}, 3000, 1), 2, "linear.fits"));
    EXPECT_EQ(ws_.LambdaMin, 3000);
    ws_.PlotShown = true;
    UnloadSlot(ws_, 2, ui_);
    EXPECT_EQ(ws_.LambdaMin, P(3.6));
    EXPECT_EQ(ws_.LambdaMax, S(1).PixelEdge.back());
    EXPECT_TRUE(ws_.PlotLeft == ws_.LambdaMin && ws_.PlotRight == ws_.LambdaMax);
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
        for (int c = 1 + static_cast<int>(random() % 4); c > 0; --c) {
            const size_t at = random() % text.size();
            const char character = alphabet[random() % alphabet.size()];
            if (const auto how = random() % 3; how == 0) text[at] = character;
            else if (how == 1) text.erase(at, 1 + random() % 8);
            else text.insert(at, 1, character);
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
            const double sign = scale.edges[1] > scale.edges[0] ? 1 : -1;
            for (size_t k = 0; k + 1 < scale.edges.size(); ++k)
                ASSERT_GT(sign * (scale.edges[k + 1] - scale.edges[k]), 0) << text;
        } else {
            ++refused;
            EXPECT_TRUE(scale.edges.empty() && scale.problem.ends_with(".")) << text << ": " << scale.problem;
        }
    }
    EXPECT_GT(used, 100);
    EXPECT_GT(refused, 100);
}

}  // namespace
}  // namespace wendrel::testing
