// What a load reads from the header and does to the workspace.
#include <gtest/gtest.h>

#include "tests/fits/fits_test_support.h"

namespace wendrel::testing {
namespace {

TEST_F(FitsFileTest, WavelengthsObjectAndWarningsFromTheHeader) {
    const auto R = [](const char* key, double v) { return RealCard(key, v); };
    const std::string name = "spectrum.fits: ", kept = name + kLambda0Message, step = name + kDLambdaMessage;
    const struct {
        const char* what; std::vector<std::string> cards; double lambda0, dLambda; std::vector<std::string> messages = {};
        std::string object = "", lambda0Key = "CRVAL1", dLambdaKey = "CD1_1";
    } cases[] = {
        {"CRPIX1 11", {R("CRVAL1", 5000), R("CD1_1", 2), R("CRPIX1", 11)}, 5000 - 10 * 2, 2},
        {"CRPIX1 0.5", {R("CRVAL1", 5000), R("CD1_1", 2), R("CRPIX1", 0.5)}, 5000 + 0.5 * 2, 2},
        {"the last CRPIX1", {R("CRVAL1", 5000), R("CD1_1", 2), R("CRPIX1", 11), R("CRPIX1", 1)}, 5000, 2},
        {"CDELT1 for CD1_1", {R("CRVAL1", 5000), R("CDELT1", 0.25)}, 5000, 0.25},
        {"CD1_1 over CDELT1", {R("CRVAL1", 5000), R("CDELT1", 0.25), R("CD1_1", 2)}, 5000, 2},
        {"PC1_1 times CDELT1", {R("CRVAL1", 5000), R("CDELT1", 0.25), R("PC1_1", 3), R("CRPIX1", 2)}, 5000 - 0.75, 0.75},
        {"CD1_1 over PC1_1", {R("CRVAL1", 5000), R("CDELT1", 0.25), R("PC1_1", 3), R("CD1_1", 2)}, 5000, 2},
        {"no step", {R("CRVAL1", 5000)}, 5000, 0, {step}},
        {"one pixel", {R("CRVAL1", 5000), R("CD1_1", 3), IntCard("NAXIS1", 1)}, 5000, 3, {step}},
        {"leading numbers, D exponents, case", {RawCard("CRVAL1  = 1.5D+03 / D"), RawCard("CD1_1   = 2 5E-1"),
                                                 R("crval1", 9000)}, 1500, 2.5},
        {"a logical value", {R("CRVAL1", 5000), R("CD1_1", 2), LogicalCard("CRVAL1", true)}, 0, 2, {kept}},
        {"the first OBJECT", {R("CRVAL1", 5000), R("CD1_1", 2), RawCard("OBJECT  = 'M 31/x'"),
                              RawCard("OBJECT  = 'Second'")}, 5000, 2, {}, "M 3"},
        {"TARGNAME without OBJECT", {R("CRVAL1", 5000), R("CD1_1", 2), StringCard("TARGNAME", "HD 12")}, 5000, 2, {},
         "HD 12   "},
        {"OBJECT before TARGNAME", {R("CRVAL1", 5000), R("CD1_1", 2), StringCard("TARGNAME", "T"),
                                    StringCard("OBJECT", "Obj")}, 5000, 2, {}, "Obj     "},
        {"warnings in order", {IntCard("BITPIX", 16)}, 0, 0, {kept, step}},
        {"keys of the settings", {R("W0", 6000), R("WPC", 0.5), R("CRPIX1", 3)}, 6000, 0.5, {}, "", "W0", "WPC"},
        {"CRVAL2 and CRPIX2", {R("CRVAL2", 100), R("CD1_1", 2), R("CRPIX2", 3)}, 96, 2, {}, "", "CRVAL2"},
        {"CDELT1 only for CD1_1", {R("CRVAL1", 5000), R("CDELT1", 0.25)}, 5000, 0, {step}, "", "CRVAL1", "WPC"},
        {"rows after the first", {R("CRVAL1", 5000), R("CD1_1", 2), IntCard("NAXIS", 2), IntCard("NAXIS2", 3)}, 5000, 2,
         {"\"spectrum.fits\" holds 3 rows of pixels (NAXIS2); only the first row is shown."}},
        {"one row", {R("CRVAL1", 5000), R("CD1_1", 2), IntCard("NAXIS", 2), IntCard("NAXIS2", 1)}, 5000, 2},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        ws_.Config.Lambda0Key = c.lambda0Key;
        ws_.Config.DLambdaKey = c.dLambdaKey;
        ASSERT_TRUE(Load(FloatSpectrum(Ramp(120), c.cards, std::nullopt, std::nullopt)));
        // Lambda0 is the centre of pixel 1; each pixel reaches half a step either side of its centre.
        EXPECT_TRUE(S()->Lambda0 == c.lambda0 && S()->LambdaStart == c.lambda0 - c.dLambda / 2 && S()->DLambda == c.dLambda);
        EXPECT_EQ(S()->LambdaEnd, c.lambda0 + (S()->Naxis1 - 0.5) * c.dLambda);
        EXPECT_TRUE(S()->ObjectName == c.object && ui_.messages == c.messages) << S()->ObjectName;
    }
}

// Units become Angstroms, falling wavelengths rise (the pixels turned round, their value blocks with them), axes
// that are not wavelength are refused.
TEST_F(FitsFileTest, UnitsAxisTypesAndFallingWavelengths) {
    const auto S1 = [](const char* key, const char* text) { return StringCard(key, text); };
    const auto wat1 = [](const char* units) { return StringCard("WAT1_001", std::string("wtype=linear units=") + units); };
    const struct {
        std::vector<std::string> cards; double crval1, cd1_1, lambda0, dLambda; std::string refusal = "";
    } cases[] = {
        {{S1("CUNIT1", "nm")}, 400, 0.1, 4000, 1},
        {{S1("CUNIT1", "Angstroms"), wat1("nm")}, 4000, 1, 4000, 1},
        {{wat1("Microns")}, 0.4, 1e-4, 4000, 1},
        {{S1("CUNIT1", "um ")}, 0.4, 1e-4, 4000, 1},
        {{S1("CUNIT1", "M")}, 4e-7, 1e-10, 4000, 1},
        {{S1("CUNIT1", "cm")}, 4e-5, 1e-8, 4000, 1},
        {{S1("CUNIT1", "pixel"), S1("CTYPE1", "PIXEL")}, 1, 1, 1, 1},
        {{S1("CTYPE1", "awav"), S1("CUNIT1", "AA")}, 4000, 1, 4000, 1},
        {{}, 4119, -1, 4000, 1},
        {{S1("CUNIT1", "nm")}, 411.9, -0.1, 4000, 1},
        {{S1("CUNIT1", "furlong")}, 4000, 1, 0, 0, "gives its wavelengths in \"furlong\", a unit this program does not know"},
        {{S1("CTYPE1", "RA---TAN")}, 4000, 1, 0, 0, "has CTYPE1 = 'RA---TAN': its first axis is a position on the sky"},
        {{S1("CTYPE1", "glat-car")}, 4000, 1, 0, 0, "position on the sky"},
        {{S1("CTYPE1", "FREQ")}, 4000, 1, 0, 0, "is a frequency, energy, wavenumber, velocity or redshift"},
        {{S1("CTYPE1", "VRAD")}, 4000, 1, 0, 0, "velocity"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(::testing::PrintToString(c.cards) + " " + std::to_string(c.cd1_1));
        const std::string bytes = FloatSpectrum(Ramp(120), c.cards, c.crval1, c.cd1_1);
        if (!c.refusal.empty()) {
            ExpectRefused(bytes, c.refusal);
            continue;
        }
        ASSERT_TRUE(Load(bytes));
        EXPECT_NEAR(S()->Lambda0, c.lambda0, 1e-9);
        EXPECT_NEAR(S()->DLambda, c.dLambda, 1e-12);
        EXPECT_NEAR(S()->LambdaEnd - S()->LambdaStart, 120 * c.dLambda, 1e-9);
        EXPECT_EQ(S()->Flux.front(), c.cd1_1 > 0 ? 1 : 120);
        EXPECT_EQ(S()->FluxPct.front(), 100 * S()->Flux.front() / S()->Level);
        EXPECT_TRUE(S()->FluxBlocks == BlockExtentsOf(S()->Flux) && S()->PctBlocks == BlockExtentsOf(S()->FluxPct));
    }
}

TEST_F(FitsFileTest, EndDecidesWhereTheDataStartAndWhichCardsAreKept) {
    std::string odd = RawCard("HISTORY caf\xe9 \x01\x7f\xff end");
    odd[40] = '\0';
    std::vector<std::string> cards = {LogicalCard("SIMPLE", true), IntCard("BITPIX", -32), IntCard("NAXIS", 1),
                                      IntCard("NAXIS1", 120), RealCard("CRVAL1", 4000), RealCard("CD1_1", 2), odd};
    for (const int endCard : {8, 36, 37, 72, 73, 20000}) {
        while (std::ssize(cards) < endCard - 1) cards.push_back(IntCard("N" + std::to_string(cards.size()), 1));
        ASSERT_TRUE(Load(ToBytes({cards, true, EncodePixels(-32, Ramp(120))}))) << endCard;
        EXPECT_TRUE(S()->NumCards == endCard - 1 && S()->HdrCard[6] == odd && S()->Flux == Ramp(120)) << endCard;
    }
    // Lower-case END ends the header too; a carriage return before it ends the header line, and no card is kept.
    cards = {LogicalCard("SIMPLE", true), IntCard("BITPIX", -32), IntCard("NAXIS1", 120), RawCard("end"), RawCard("OBJECT  = 'x'")};
    std::string bytes = ToBytes({cards, false, EncodePixels(-32, Ramp(120)), true});
    ASSERT_TRUE(Load(bytes));
    EXPECT_TRUE(S()->NumCards == 3 && S()->ObjectName.empty());
    ASSERT_TRUE(Load(bytes.replace(3 * 80 + 3, 1, "\r")));
    EXPECT_TRUE(S()->NumCards == 0 && S()->Flux == Ramp(120));
}

}  // namespace
}  // namespace wendrel::testing
