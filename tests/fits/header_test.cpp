// Header cards: the header line, END, the data start and the values read.
#include <gtest/gtest.h>

#include "fits/header_cards.h"
#include "tests/fits/fits_test_support.h"

namespace wendrel::testing {
namespace {

// A file without END is one header line up to the first carriage return.
TEST_F(FitsFileTest, HeaderLineHoldsItsLengthOver80RoundedHalfToEvenCards) {
    const auto cardsOf = [&](const std::string& bytes) {
        std::string problem;
        auto file = InputFile::Open(Write(bytes), "x", problem);
        int64_t count = 0;
        WalkHeaderCards(*file, [&](int64_t, std::string_view) { return ++count, true; });
        return count;
    };
    const struct { size_t length; int64_t cards; } cases[] = {
        {40, 0}, {41, 1}, {119, 1}, {120, 2}, {2920, 36}, {2921, 37}, {3000, 38}, {20520, 256}};
    for (const auto& c : cases) {
        EXPECT_EQ(cardsOf(std::string(c.length, 'A') + "\rBBBB"), c.cards) << c.length;
        EXPECT_EQ(cardsOf(std::string(c.length, 'A')), c.cards) << c.length;
    }
    EXPECT_EQ(cardsOf(std::string(160, 'A') + "\n" + std::string(799, 'B')), 12);  // LF ends no line
    EXPECT_EQ(DataStartFor(int64_t{1} << 40), ((int64_t{1} << 40) / 36 + 1) * 2880);
}

// Loads the header cards given (END at the end unless noted) with 120 float pixels.
class HeaderLoadTest : public FitsFileTest {
protected:
    std::vector<std::string> cards_ = {LogicalCard("SIMPLE", true), IntCard("BITPIX", -32), IntCard("NAXIS", 1),
                                       IntCard("NAXIS1", 120), RealCard("CRVAL1", 4000), RealCard("CD1_1", 2)};
    bool LoadCards(bool end = true) { return Load(ToBytes({cards_, end, EncodePixels(-32, Ramp(120)), true})); }
};

TEST_F(HeaderLoadTest, EndPositionDecidesWhereTheDataStartAndCardsKeepEveryByte) {
    std::string odd = RawCard("HISTORY caf\xe9 \x01\x7f\xff end");
    odd[40] = '\0';
    cards_.push_back(odd);
    for (const int endCard : {8, 36, 37, 72, 73, 20000}) {
        while (std::ssize(cards_) < endCard - 1) cards_.push_back(IntCard("N" + std::to_string(cards_.size()), 1));
        ASSERT_TRUE(LoadCards()) << endCard;
        EXPECT_EQ(S().NumCards, endCard - 1);
        EXPECT_EQ(S().HdrCard[6], odd);
        EXPECT_EQ(S().Flux, Ramp(120)) << "END as card " << endCard;
    }
}

TEST_F(HeaderLoadTest, WithoutEndNoCardIsKeptAndLowerCaseEndEndsTheHeader) {
    cards_.push_back(RawCard("OBJECT  = 'No end'"));
    ASSERT_TRUE(Load(ToBytes({cards_, false, "", false}) + EncodePixels(-32, Ramp(120))));  // data at 2880
    EXPECT_EQ(S().NumCards, 0);
    EXPECT_EQ(S().ObjectName, "No end");
    EXPECT_EQ(S().Flux, Ramp(120));
    cards_.back() = RawCard("end");
    cards_.push_back(RawCard("OBJECT  = 'after end'"));
    ASSERT_TRUE(LoadCards(false));
    EXPECT_EQ(S().NumCards, 6);
    EXPECT_EQ(S().ObjectName, "");
    cards_[0] = RawCard("simple  =                    T");  // but lower-case SIMPLE is no FITS file
    EXPECT_FALSE(LoadCards());
    EXPECT_EQ(ui_.messages, std::vector<std::string>{kNotFitsMessage});
}

TEST_F(HeaderLoadTest, ObjectNameDropsTheFirstAndLastCharacterOfTheFirstObjectCard) {
    const std::pair<const char*, const char*> cases[] = {{"OBJECT  = 'M 31/x'", "M 3"}, {"OBJECT  = '", ""}, {"OBJECT  =", ""}};
    for (const auto& [card, name] : cases) {
        cards_.resize(6);
        cards_.insert(cards_.end(), {RawCard(card), RawCard("OBJECT  = 'Second'")});
        ASSERT_TRUE(LoadCards());
        EXPECT_EQ(S().ObjectName, name) << card;
    }
}

TEST_F(HeaderLoadTest, LastNumericCardWinsValuesReadAsLeadingNumbersAndKeywordsAreCaseSensitive) {
    cards_.insert(cards_.end(), {RawCard("CRVAL1  = 1.5D+03 / D exponent"), RawCard("CD1_1   = 2 5E-1"),
                                 RealCard("crval1", 9000), LogicalCard("CDELT1", true)});
    ASSERT_TRUE(LoadCards());
    EXPECT_EQ(S().Lambda0, 1500);
    EXPECT_EQ(S().DLambda, 2.5);
    cards_.push_back(LogicalCard("CRVAL1", true));
    ASSERT_TRUE(LoadCards());
    EXPECT_EQ(S().Lambda0, 0);
    EXPECT_EQ(ui_.messages, std::vector<std::string>{kLambda0Message});
}

}  // namespace
}  // namespace wendrel::testing
