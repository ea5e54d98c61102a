// Log-linear (DC-FLAG = 1) and multispec (WAT2 cards) wavelength scales against wavelengths worked out by
// hand, and refusals of what cannot be evaluated.
#include <gtest/gtest.h>
#include <cmath>

#include "tests/fits/fits_test_support.h"

namespace wendrel::testing {
namespace {

// The WAT2 cards of a text, 68 characters per card as IRAF writes them; with
// `stripBlanks` each card's trailing blanks are dropped, as some writers do.
std::vector<std::string> Wat2Cards(const std::string& text, bool stripBlanks = false) {
    std::vector<std::string> cards;
    for (size_t at = 0; at < text.size(); at += 68) {
        std::string chunk = text.substr(at, 68);
        if (stripBlanks) chunk.erase(chunk.find_last_not_of(' ') + 1);
        cards.push_back(StringCard("WAT2_00" + std::to_string(at / 68 + 1), chunk));
    }
    return cards;
}

std::vector<std::string> Multispec(const std::string& spec1, std::vector<std::string> before = {}) {
    for (const std::string& card : Wat2Cards("wtype=multispec spec1 = \"" + spec1 + "\"")) before.push_back(card);
    return before;
}
// A dtype 2 aperture with the given functions "wt w0 type ...".
std::vector<std::string> Functions(const std::string& functions, const std::string& z = "0.") {
    return Multispec("1 1 2 4000. 1. 100 " + z + " 10.5 20.5 " + functions);
}
double P(double exponent) { return std::pow(10, exponent); }

class PixelCentresTest : public FitsFileTest {
protected:
    // Loads a spectrum of centres.size() pixels and compares the centre of
    // each pixel; an edge lies between the centres it separates.
    void ExpectCentres(const std::vector<std::string>& cards, const std::vector<double>& centres, const char* kind,
                       std::optional<double> crval1 = 1, std::optional<double> cd1_1 = 1) {
        ws_ = Workspace();
        ASSERT_TRUE(Load(FloatSpectrum(Ramp(centres.size(), 10), cards, crval1, cd1_1)));
        const Row& s = S();
        ASSERT_TRUE(s->Dispersion == kind && s->PixelCentre.size() == centres.size()) << s->Dispersion;
        for (size_t k = 0; k < centres.size(); ++k) {
            EXPECT_NEAR(s->PixelCentre[k], centres[k], 1e-12 * centres[k]) << k;
            EXPECT_TRUE(s->PixelEdge[k] < s->PixelCentre[k] && s->PixelCentre[k] < s->PixelEdge[k + 1]) << k;
        }
        EXPECT_TRUE(s->Lambda0 == s->PixelCentre.front() && s->LambdaStart == s->PixelEdge.front() &&
                    s->LambdaEnd == s->PixelEdge.back() && s->DLambda == (s->LambdaEnd - s->LambdaStart) / s->Naxis1 &&
                    ui_.messages.empty());
    }
};

// Pixel l is centred on 10^(CRVAL1 + (l - CRPIX1) CD1_1) and reaches to l +- 1/2; DC-FLAG 0, -1 (not calibrated)
// and equispec are linear.
TEST_F(PixelCentresTest, LogLinear) {
    const auto flag = IntCard("DC-FLAG", 1);
    ExpectCentres({flag}, {P(3.6), P(3.6001), P(3.6002), P(3.6003)}, "log-linear", 3.6, 1e-4);
    EXPECT_NEAR(S()->PixelEdge[0], P(3.59995), 1e-9);
    EXPECT_NEAR(S()->PixelEdge[4], P(3.60035), 1e-9);
    ExpectCentres({flag, RealCard("CRPIX1", 11)}, {P(3.599), P(3.5991)}, "log-linear", 3.6, 1e-4);
    ExpectCentres({flag, RealCard("CDELT1", 1e-4)}, {P(3.6), P(3.6001)}, "log-linear", 3.6, std::nullopt);
    ExpectCentres({flag}, {P(3.6998), P(3.6999), P(3.7)}, "log-linear", 3.7, -1e-4);  // falling: turned round
    EXPECT_EQ(S()->Flux, (std::vector<double>{12, 11, 10}));
    ExpectCentres({StringCard("WAT2_001", "wtype=linear"), flag}, {P(3.6), P(3.6001)}, "log-linear", 3.6, 1e-4);
    // WAVE-LOG: CRVAL1 exp(CDELT1 (p - CRPIX1) / CRVAL1).
    ExpectCentres({StringCard("CTYPE1", "awav-log"), RealCard("CRPIX1", 2)}, {5000 * std::exp(-0.2), 5000, 5000 * std::exp(0.2)},
                  "logarithmic", 5000, 1000);
    for (const auto& card : {IntCard("DC-FLAG", 0), IntCard("DC-FLAG", -1), StringCard("WAT2_001", "wtype=linear")}) {
        ASSERT_TRUE(Load(FloatSpectrum(Ramp(120), {card}, 4000.5, 0.25)));
        EXPECT_TRUE(S()->Dispersion == "linear" && S()->PixelEdge.empty() && S()->LambdaEnd == 4000.5 + 119.5 * 0.25);
    }
    // SDSS's spSpec: 10^(COEFF0 + COEFF1 (p - 1)) in vacuum, with no wavelength keywords and no warning.
    ExpectCentres({RealCard("COEFF0", 3.6), RealCard("COEFF1", 1e-4), IntCard("NAXIS", 2), IntCard("NAXIS2", 1)},
                  {P(3.6), P(3.6001), P(3.6002)}, "log-linear", std::nullopt, std::nullopt);
    EXPECT_NEAR(S()->PixelEdge[0], P(3.59995), 1e-9);
    EXPECT_EQ(S()->Medium, "vacuum");
    // IRAF's DC-FLAG files are in air unless VACUUM = T says otherwise (SDSS, LAMOST).
    const std::pair<std::vector<std::string>, std::string> media[] = {
        {{flag}, "air"}, {{flag, LogicalCard("VACUUM", true)}, "vacuum"}, {{flag, LogicalCard("VACUUM", false)}, "air"},
        {{LogicalCard("VACUUM", true)}, "vacuum"}, {{}, ""}};
    for (const auto& [cards, medium] : media) {
        ASSERT_TRUE(Load(FloatSpectrum(Ramp(3), cards, 3.6, 1e-4)));
        EXPECT_EQ(S()->Medium, medium) << ::testing::PrintToString(cards);
    }
    ASSERT_TRUE(Load(FloatSpectrum(Ramp(3), {flag}, std::nullopt, 1e-3)));
    EXPECT_EQ(ui_.messages, std::vector<std::string>{"spectrum.fits: " + std::string(kLambda0Message)});
    EXPECT_EQ(S()->Lambda0, 1);  // 10^0
}

TEST_F(PixelCentresTest, Multispec) {
    // A text over three cards with the aperture of line 1 after another, and
    // blanks that some writers drop in the last places of cards 1 and 2.
    std::vector<std::string> shuffled = Wat2Cards("wtype=multispec spec2 = \"2 1 0 9000 1 100 0 1 2\"     spec1 = \"1 1 2 "
                                                  "6000. 10. 100 0. 10.5 20.5 1. 0. 1 3 1. 100. 6500.250000 495.750000 "
                                                  "0.125000\"", true);
    std::swap(shuffled.front(), shuffled.back());  // the numbers of the cards count, not their order
    const auto chebyshev100 = [](double p) { return 6500.25 + 495.75 * (p - 50.5) / 49.5 + 0.125 * (2 * std::pow((p - 50.5) / 49.5, 2) - 1); };
    const struct {
        const char* what;
        std::vector<std::string> cards;
        std::vector<double> centres;
    } cases[] = {
        {"dtype 0: (w1 + dw (p - 1)) / (1 + z)", Multispec("1 1 0 5000. 2. 3 0.25 10.5 20.5"), {4000, 4001.6, 4003.2, 4004.8}},
        {"dtype 1: 10^(w1 + dw (p - 1)) / (1 + z)", Multispec("7 2 1 3.6 0.001 2 0. INDEF INDEF"), {P(3.6), P(3.601), P(3.602)}},
        {"physical pixel (l - LTV1) / LTM1_1: a section from pixel 11, binned by 2", Multispec("1 1 0 100 1 10 0 1 2", {RealCard("LTV1", -5), RealCard("LTM1_1", 0.5)}),
         {100 + 11, 100 + 13, 100 + 15}},
        // Chebyshev, order 3 over pixels 0 .. 2, so n = p - 1: c1 T0 + c2 T1 + c3 T2 with T2 = 2n^2 - 1.
        {"Chebyshev", Functions("1. 0. 1 3 0 2 4000 10 1"), {4000 - 1, 4000 + 10 + 1, 4000 + 20 + 7, 4000 + 30 + 17}},
        // Legendre, order 4 over 0 .. 2: P2 = (3n^2 - 1)/2, P3 = (5n^3 - 3n)/2.
        {"Legendre", Functions("1. 0. 2 4 0 2 5000 20 4 1"), {4998, 5025, 5079, 5175}},
        // Cubic spline, one piece over 1 .. 3: s = (p - 1)/2, a = 1 - s, b = s; x = a^3, 1 + 3a(1 + ab), 1 + 3b(1 + ab), b^3.
        {"cubic spline", Functions("1. 0. 3 1 1 3 1000 1000 1010 1030"), {6010, 6032.5, 6070}},
        // Linear spline, two pieces over 1 .. 5: knots 6000, 6010, 6030 at p = 1, 3, 5; divided by 1 + z.
        {"linear spline", Functions("1. 0. 4 2 1 5 6000 6010 6030", "0.5"), {4000, 6005 / 1.5, 6010 / 1.5, 6020 / 1.5, 4020}},
        {"pixel array (continued past pixel 4 by its last piece)", Functions("1. 0. 5 4 7000 7001 7003 7006"), {7000, 7001, 7003, 7006, 7009}},
        {"sampled array: (1, 8000), (3, 8010), (5, 8040), after a dummy field", Functions("1. 0. 6 3 0 1 8000 3 8010 5 8040"), {8000, 8005, 8010, 8025, 8040, 8055}},
        {"weights and zero points of two functions summed", Functions("0.5 100. 4 1 1 3 6000 6020 0.5 -100. 4 1 1 3 6010 6030"), {6005, 6015, 6025}},
        {"WAT2 cards", shuffled, {chebyshev100(1), chebyshev100(2)}},
        {"lowest aperture", Wat2Cards("wtype=multispec spec5 = \"5 1 0 300 1 100 0 1 2\" spec3 = \"3 1 0 200 1 100 0 1 2\""),
         {200, 201}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        ExpectCentres(c.cards, c.centres, "multispec");
    }
    ExpectCentres(cases[0].cards, cases[0].centres, "multispec");
    EXPECT_NEAR(S()->PixelEdge.front(), 3999.2, 1e-9);  // (5000 + 2 (1/2 - 1)) / 1.25
    EXPECT_NEAR(S()->PixelEdge.back(), 4005.6, 1e-9);
}

TEST_F(FitsFileTest, UnusableScalesAreRefusedWithTheirReason) {
    ASSERT_TRUE(Load(FloatSpectrum(Ramp(60)), 1, "before.fits"));
    const std::string common = "1 1 2 4000. 1. 100 0. 10.5 20.5 ";
    const std::pair<std::vector<std::string>, std::string> cases[] = {
        {Multispec(common + "1. 0. 7 3 1 100 1 2 3"), "multispec wavelength scale (WAT2 cards) that cannot be used: "
                                                      "function 1 of spec1 has function type 7"},
        {Multispec("1 1 3 4000. 1. 100 0. 10.5 20.5"), "dispersion type 3"},
        {Multispec("1 1 2 4000."), "has 4 of the 9 fields"},
        {Multispec(common + "1. 0. 1 5 1 100 4000 1 2"), "lacks 2 of its 5 coefficients"},
        {Multispec(common + "1. 0. 2 2 7 7 4000 1"), "same pixel at both ends"},
        {Multispec(common + "1. 0. 6 2 0 5 8000 3 8010"), "do not increase"},
        {Multispec("1 1 0 4000. abc 100 0. 1 2"), "field 5 of spec1, \"abc\", is not a number"},
        {Wat2Cards("wtype=multispec label=Wavelength"), "no specN attribute"},
        {{StringCard("WAT2_001", "wtype=multispec spec1 = \"1 1 0 4000. 1. 100 0. 1 2\""), StringCard("WAT2_003", "x")},
         "WAT2_002 is missing"},
        {Multispec("1 1 0 4000. 1. 100 0. 1 2", {RealCard("LTM1_1", 0)}), "LTM1_1 is 0"},
        // Chebyshev 4000 + 10 T1 + 10 T2 over 1 .. 10 turns near p = 5.
        {Multispec(common + "1. 0. 1 3 1 10 4000 10 10"), "do not keep decreasing from pixel to pixel"},
        {Multispec("1 1 0 4000. 0. 100 0. 1 2"), "do not keep increasing"},
        {{IntCard("DC-FLAG", 1), RealCard("CRVAL1", 3.6), RealCard("CD1_1", 0)},
         "log-linear wavelength scale (DC-FLAG = 1) that cannot be used: its wavelengths do not keep increasing from "
         "pixel to pixel: pixel 1 starts at 3981.071706 and ends at 3981.071706 Angstroms."},
        {{IntCard("DC-FLAG", 2)}, "DC-FLAG = 2, which is not a wavelength scale"},
    };
    for (const auto& [cards, mentions] : cases) {
        ExpectRefused(FloatSpectrum(Ramp(20), cards, std::nullopt, std::nullopt), "\"spectrum.fits\" has ");
        EXPECT_NE(ui_.messages.back().find(mentions), std::string::npos) << ui_.messages.back();
    }
}

}  // namespace
}  // namespace wendrel::testing
