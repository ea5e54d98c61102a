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
        {"no step", {R("CRVAL1", 5000)}, 5000, 0, {step}},
        {"one pixel", {R("CRVAL1", 5000), R("CD1_1", 3), IntCard("NAXIS1", 1)}, 5000, 3, {step}},
        {"leading numbers, D exponents, case", {RawCard("CRVAL1  = 1.5D+03 / D"), RawCard("CD1_1   = 2 5E-1"),
                                                 R("crval1", 9000)}, 1500, 2.5},
        {"a logical value", {R("CRVAL1", 5000), R("CD1_1", 2), LogicalCard("CRVAL1", true)}, 0, 2, {kept}},
        {"the first OBJECT", {R("CRVAL1", 5000), R("CD1_1", 2), RawCard("OBJECT  = 'M 31/x'"),
                              RawCard("OBJECT  = 'Second'")}, 5000, 2, {}, "M 3"},
        {"warnings in order", {IntCard("BITPIX", 16)}, 0, 0, {name + kSignedDataMessage, kept, step}},
        {"keys of the settings", {R("W0", 6000), R("WPC", 0.5), R("CRPIX1", 3)}, 6000, 0.5, {}, "", "W0", "WPC"},
        {"CRVAL2 and CRPIX2", {R("CRVAL2", 100), R("CD1_1", 2), R("CRPIX2", 3)}, 96, 2, {}, "", "CRVAL2"},
        {"CDELT1 only for CD1_1", {R("CRVAL1", 5000), R("CDELT1", 0.25)}, 5000, 0, {step}, "", "CRVAL1", "WPC"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        ws_.Lambda0Key = c.lambda0Key;
        ws_.DLambdaKey = c.dLambdaKey;
        ASSERT_TRUE(Load(FloatSpectrum(Ramp(120), c.cards, std::nullopt, std::nullopt)));
        EXPECT_TRUE(S().Lambda0 == c.lambda0 && S().LambdaStart == c.lambda0 && S().DLambda == c.dLambda);
        EXPECT_EQ(S().LambdaEnd, c.lambda0 + S().Naxis1 * c.dLambda);
        EXPECT_TRUE(S().ObjectName == c.object && ui_.messages == c.messages) << S().ObjectName;
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
        EXPECT_TRUE(S().NumCards == endCard - 1 && S().HdrCard[6] == odd && S().Flux == Ramp(120)) << endCard;
    }
    // Lower-case END ends the header too; a carriage return before it ends the header line, and no card is kept.
    cards = {LogicalCard("SIMPLE", true), IntCard("BITPIX", -32), IntCard("NAXIS1", 120), RawCard("end"), RawCard("OBJECT  = 'x'")};
    std::string bytes = ToBytes({cards, false, EncodePixels(-32, Ramp(120)), true});
    ASSERT_TRUE(Load(bytes));
    EXPECT_TRUE(S().NumCards == 3 && S().ObjectName.empty());
    ASSERT_TRUE(Load(bytes.replace(3 * 80 + 3, 1, "\r")));
    EXPECT_TRUE(S().NumCards == 0 && S().Flux == Ramp(120));
}

}  // namespace
}  // namespace wendrel::testing
