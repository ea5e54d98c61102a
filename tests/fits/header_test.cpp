// Header cards: keywords, value texts, the header line, END and the data start.
#include <gtest/gtest.h>

#include "fits/header_cards.h"
#include "tests/fits/fits_test_support.h"

namespace wendrel::testing {
namespace {

TEST(CardText, KeywordIsTheFirstEightCharactersWithoutTrailingBlanks) {
    EXPECT_EQ(CardKeyword(RawCard("BITPIX  =   16")), "BITPIX");
    EXPECT_EQ(CardKeyword(RawCard("HIERARCHKEY = 1")), "HIERARCH");
    EXPECT_EQ(CardKeyword(RawCard("  END")), "  END");
    EXPECT_EQ(CardKeyword("EN"), "EN");
}

TEST(CardText, ValueTextIsCutAtTheFirstSlashAndTrimmed) {
    const struct { std::string card; std::string value; } cases[] = {
        {RawCard("OBJECT  = 'M 31/x'"), "'M 31"},
        {RawCard("OBJECT  = 'Vega    '"), "'Vega    '"},
        {RawCard("CRVAL1  =   4000.5 / start"), "4000.5"},
        {RawCard("COMMENT no equals sign here"), "o equals sign here"},
        {"SHORT", ""},
        {"NAXIS1  = 12", "12"},
    };
    for (const auto& c : cases) EXPECT_EQ(CardValueText(c.card), c.value) << c.card;
}

TEST(CardText, EndIsRecognisedInAnyCase) {
    for (const char* key : {"END", "end", "End", "eNd"}) EXPECT_TRUE(IsEndKeyword(key)) << key;
    for (const char* key : {"ENDX", "EN", " END", ""}) EXPECT_FALSE(IsEndKeyword(key)) << key;
}

TEST(DataStart, HeaderFillsWholeBlocks) {
    const struct { int64_t cards; int64_t start; } cases[] = {
        {0, 2880}, {35, 2880}, {36, 5760}, {71, 5760}, {72, 8640}, {5000, 400320},
        {int64_t{1} << 40, ((int64_t{1} << 40) / 36 + 1) * 2880},
    };
    for (const auto& c : cases) EXPECT_EQ(DataStartFor(c.cards), c.start) << c.cards;
}

class HeaderLineTest : public FitsFileTest {
protected:
    // Number of cards the header line of these bytes holds.
    int64_t CardsOf(const std::string& bytes) {
        const auto path = Write(bytes);
        std::string problem;
        auto file = InputFile::Open(path, "x", problem);
        EXPECT_TRUE(file) << problem;
        int64_t count = 0;
        EXPECT_EQ(WalkHeaderCards(*file, [&](int64_t, std::string_view) { return ++count, true; }),
                  WalkResult::Finished);
        return count;
    }
};

TEST_F(HeaderLineTest, CardCountIsTheLineLengthOver80RoundedHalfToEven) {
    const struct { size_t length; int64_t cards; } cases[] = {
        {39, 0},    {40, 0},    {41, 1},    {80, 1},    {119, 1},   {120, 2},   {2919, 36},
        {2920, 36}, {2921, 37}, {2960, 37}, {3000, 38}, {2999, 37}, {20480, 256}, {20520, 256},
    };
    for (const auto& c : cases) {
        // Ended by a carriage return, and also by the end of the file.
        EXPECT_EQ(CardsOf(std::string(c.length, 'A') + "\rBBBB"), c.cards) << c.length;
        EXPECT_EQ(CardsOf(std::string(c.length, 'A')), c.cards) << c.length;
    }
}

TEST_F(HeaderLineTest, OnlyACarriageReturnEndsTheLine) {
    EXPECT_EQ(CardsOf(std::string(160, 'A') + "\r\n" + std::string(800, 'B')), 2);
    EXPECT_EQ(CardsOf(std::string(160, 'A') + "\n" + std::string(799, 'B')), 12);
}

TEST_F(HeaderLineTest, ShortCardsKeepTheirCharacters) {
    const auto path = Write(std::string(80, 'A') + "SIMPLE  = T" + std::string(40, ' ') + "\r");
    std::string problem;
    auto file = InputFile::Open(path, "x", problem);
    std::vector<std::string> cards;
    WalkHeaderCards(*file, [&](int64_t, std::string_view card) { return cards.emplace_back(card), true; });
    ASSERT_EQ(cards.size(), 2u);
    EXPECT_EQ(cards[1].size(), 51u);
}

// Loads the header cards given (END at the end unless noted) with 120 float pixels.
class HeaderLoadTest : public FitsFileTest {
protected:
    static std::vector<std::string> Standard() {
        return {LogicalCard("SIMPLE", true), IntCard("BITPIX", -32), IntCard("NAXIS", 1),
                IntCard("NAXIS1", 120), RealCard("CRVAL1", 4000), RealCard("CD1_1", 2)};
    }
    bool LoadCards(std::vector<std::string> cards, bool end = true) {
        FitsBytes file;
        file.cards = std::move(cards);
        file.end = end;
        file.data = EncodePixels(-32, Ramp(120));
        return Load(ToBytes(file));
    }
};

TEST_F(HeaderLoadTest, EndPositionDecidesWhereTheDataStart) {
    for (const int endCard : {7, 36, 37, 72, 73, 5001}) {
        auto cards = Standard();
        while (std::ssize(cards) < endCard - 1) cards.push_back(RawCard("COMMENT filler"));
        ASSERT_TRUE(LoadCards(cards)) << endCard;
        EXPECT_EQ(S().NumCards, endCard - 1);
        ASSERT_EQ(S().HdrCard.size(), static_cast<size_t>(endCard - 1));
        EXPECT_EQ(CardKeyword(S().HdrCard.back()), std::string(endCard > 7 ? "COMMENT" : "CD1_1"));
        EXPECT_EQ(S().Flux, Ramp(120)) << "END as card " << endCard;
    }
}

TEST_F(HeaderLoadTest, WithoutEndNoCardIsKeptAndTheDataStartAt2880) {
    auto cards = Standard();
    cards.push_back(RawCard("OBJECT  = 'No end'"));
    std::string bytes = ToBytes({cards, false, "", false});
    bytes += EncodePixels(-32, Ramp(120));  // the data run on from the blank cards up to 2880
    ASSERT_TRUE(Load(bytes));
    EXPECT_EQ(S().NumCards, 0);
    EXPECT_TRUE(S().HdrCard.empty());
    EXPECT_EQ(S().ObjectName, "No end");
    EXPECT_EQ(S().Flux, Ramp(120));
}

TEST_F(HeaderLoadTest, LowerCaseEndEndsTheHeaderButLowerCaseSimpleIsNotFits) {
    auto cards = Standard();
    cards.push_back(RawCard("end"));
    cards.push_back(RawCard("OBJECT  = 'after end'"));
    ASSERT_TRUE(LoadCards(cards, false));
    EXPECT_EQ(S().NumCards, 6);
    EXPECT_EQ(S().ObjectName, "");

    cards = Standard();
    cards[0] = RawCard("simple  =                    T");
    EXPECT_FALSE(LoadCards(cards));
    EXPECT_EQ(ui_.messages, std::vector<std::string>{kNotFitsMessage});
}

TEST_F(HeaderLoadTest, KeywordsAreCaseSensitive) {
    auto cards = Standard();
    cards.push_back(RealCard("crval1", 9000));
    ASSERT_TRUE(LoadCards(cards));
    EXPECT_EQ(S().Lambda0, 4000);
}

TEST_F(HeaderLoadTest, ObjectNameDropsTheFirstAndLastCharacterOfTheFirstObjectCard) {
    const struct { std::vector<std::string> objectCards; std::string name; } cases[] = {
        {{RawCard("OBJECT  = 'M 31/x'")}, "M 3"},
        {{RawCard("OBJECT  = 'Vega    '")}, "Vega    "},
        {{RawCard("OBJECT  = 'First'"), RawCard("OBJECT  = 'Second'")}, "First"},
        {{RawCard("OBJECT  = '")}, ""},
        {{RawCard("OBJECT  =")}, ""},
        {{RawCard("OBJECT  = ''")}, ""},
        {{}, ""},
    };
    for (const auto& c : cases) {
        auto cards = Standard();
        cards.insert(cards.end(), c.objectCards.begin(), c.objectCards.end());
        ASSERT_TRUE(LoadCards(cards));
        EXPECT_EQ(S().ObjectName, c.name);
    }
}

TEST_F(HeaderLoadTest, LastNumericCardWinsAndValuesReadAsLeadingNumbers) {
    auto cards = Standard();
    cards.push_back(RawCard("CRVAL1  = 1.5D+03 / D exponent"));
    cards.push_back(RawCard("CD1_1   = 2 5E-1"));
    cards.push_back(IntCard("BITPIX", -64));
    FitsBytes file{cards, true, EncodePixels(-64, Ramp(120)), true};
    ASSERT_TRUE(Load(ToBytes(file)));
    EXPECT_EQ(S().Bitpix, -64);
    EXPECT_EQ(S().Lambda0, 1500);
    EXPECT_EQ(S().DLambda, 2.5);
    EXPECT_EQ(S().Flux, Ramp(120));
}

TEST_F(HeaderLoadTest, LogicalValueReadsAsZero) {
    auto cards = Standard();
    cards.push_back(LogicalCard("CRVAL1", true));
    ASSERT_TRUE(LoadCards(cards));
    EXPECT_EQ(S().Lambda0, 0);
    EXPECT_EQ(ui_.messages, std::vector<std::string>{kLambda0Message});
}

TEST_F(HeaderLoadTest, HeaderLineLengthDecidesWhetherAShortLastCardCounts) {
    // No END: the line ends at the carriage return, and a card cut short by it
    // counts only when the line's card count rounds up to it.
    const struct { size_t length; double lambda0; } cases[] = {
        {2919, 4000}, {2920, 4000}, {2921, 5000}, {2960, 5000},
    };
    for (const auto& c : cases) {
        // 16-bit pixels from 2880 on, which are the bytes of card 37 and beyond.
        std::string bytes = ToBytes({{LogicalCard("SIMPLE", true), IntCard("BITPIX", 16), IntCard("NAXIS1", 20),
                                      RealCard("CRVAL1", 4000), RealCard("CD1_1", 2)},
                                     false, "", false});
        bytes += RawCard("CRVAL1  = 5000");
        bytes.resize(c.length);
        bytes += "\r" + std::string(100, 'x');
        ASSERT_TRUE(Load(bytes)) << c.length;
        EXPECT_EQ(S().Lambda0, c.lambda0) << c.length;
        EXPECT_EQ(S().NumCards, 0);
    }
}

TEST_F(HeaderLoadTest, CardsKeepNonAsciiBytes) {
    auto cards = Standard();
    std::string odd = RawCard("HISTORY caf\xe9 \x01\x7f\xff end");
    odd[40] = '\0';
    cards.push_back(odd);
    ASSERT_TRUE(LoadCards(cards));
    ASSERT_EQ(S().NumCards, 7);
    EXPECT_EQ(S().HdrCard[6], odd);
    EXPECT_EQ(S().HdrCard[6].size(), 80u);
}

TEST_F(HeaderLoadTest, ThousandsOfCardsLoad) {
    auto cards = Standard();
    for (int i = 0; i < 20000; ++i) cards.push_back(IntCard("N" + std::to_string(i), i));
    cards.push_back(RealCard("CRVAL1", 7000));
    ASSERT_TRUE(LoadCards(cards));
    EXPECT_EQ(S().NumCards, 20007);
    EXPECT_EQ(CardKeyword(S().HdrCard[20005]), "N19999");
    EXPECT_EQ(CardValueText(S().HdrCard[20005]), "19999");
    EXPECT_EQ(S().Lambda0, 7000);
    EXPECT_EQ(S().Flux, Ramp(120));
}

}  // namespace
}  // namespace wendrel::testing
