#include "app/settings_file.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <random>
#include <string>
#include <vector>

#include "tests/support/default_settings_text.h"
#include "tests/support/temp_folder.h"

namespace wendrel {
namespace {

using testing::FileBytes;
using testing::TempFolder;

const std::string kDefaultText = testing::kDefaultSettingsText;

// Every field differs from its default and from every other field.
Settings Distinct() {
    Settings s;
    s.Lambda0Key = "WAVE, START";
    s.DLambdaKey = "STEP";
    s.MainLeft = -1, s.MainTop = 2;
    s.LoadLeft = 3, s.LoadTop = 4;
    s.HdrLeft = 5, s.HdrTop = 6.75, s.HdrWidth = 7, s.HdrHeight = 8;
    s.SpareLeft = 9, s.SpareTop = 10, s.SpareWidth = 11, s.SpareHeight = 12;
    s.PlotWinLeft = 13, s.PlotWinTop = 14, s.PlotWinWidth = 15, s.PlotWinHeight = 16;
    s.HelpLeft = 17, s.HelpTop = 18, s.HelpWidth = 19, s.HelpHeight = -32768;
    s.AboutLeft = 32767, s.AboutTop = 22;
    return s;
}

const std::string kDistinctText =
    "\"WAVE, START\",\"STEP\",\"Names for Lambda0 and dLambda/dp, resp.\"\r\n"
    "-1,2\r\n"
    "3,4\r\n"
    "5,6.75,7,8\r\n"
    "9,10,11,12\r\n"
    "13,14,15,16\r\n"
    "17,18,19,-32768\r\n"
    "32767,22\r\n";

// The text of kDistinctText with number field `index` (0 = MainLeft) replaced.
std::string WithNumberField(size_t index, const std::string& replacement) {
    std::vector<std::string> numbers = {"-1", "2",  "3",  "4",  "5",  "6.75", "7",  "8",  "9",      "10", "11",
                                        "12", "13", "14", "15", "16", "17",   "18", "19", "-32768", "32767", "22"};
    numbers.at(index) = replacement;
    const size_t perLine[] = {2, 2, 4, 4, 4, 4, 2};
    std::string text = "\"WAVE, START\",\"STEP\",\"Names for Lambda0 and dLambda/dp, resp.\"\r\n";
    size_t next = 0;
    for (size_t count : perLine) {
        for (size_t i = 0; i < count; ++i) text += (i ? "," : "") + numbers[next++];
        text += "\r\n";
    }
    return text;
}

TEST(SettingsFileText, DefaultsGiveTheDefaultFileByteForByte) { EXPECT_EQ(SettingsFileText(Settings{}), kDefaultText); }

TEST(SettingsFileText, EveryFieldInItsPlace) { EXPECT_EQ(SettingsFileText(Distinct()), kDistinctText); }

TEST(SettingsFileText, PositionsBeyondSixteenBitsAreClamped) {
    Settings s;
    s.MainLeft = 40000;
    s.MainTop = -40000;
    s.HdrTop = 1e9;
    s.HelpWidth = 2147483647;
    const std::string text = SettingsFileText(s);
    EXPECT_NE(text.find("\r\n32767,-32768\r\n"), std::string::npos) << text;
    EXPECT_NE(text.find("\r\n500,32767,3000,10000\r\n"), std::string::npos) << text;
    EXPECT_NE(text.find("\r\n500,500,32767,500\r\n"), std::string::npos) << text;
    EXPECT_TRUE(ParseSettingsText(text).has_value());
}

TEST(SettingsFileText, HdrTopCarriesAFractionOnlyWhenItHasOne) {
    const struct {
        double value;
        const char* text;
    } cases[] = {
        {500, "500"},       {500.5, "500.5"}, {-12.25, "-12.25"}, {0.1, "0.1"},   {-0.0, "0"},
        {1e-3, "0.001"},    {1e6, "32767"},   {-1e6, "-32768"},   {std::numeric_limits<double>::quiet_NaN(), "0"},
        {32767.4, "32767.4"},
    };
    for (const auto& c : cases) {
        Settings s;
        s.HdrTop = c.value;
        const std::string line4 = std::string("\r\n500,") + c.text + ",3000,10000\r\n";
        EXPECT_NE(SettingsFileText(s).find(line4), std::string::npos) << c.value;
    }
}

TEST(SettingsFileText, FractionsComeBackExactly) {
    for (const double value : {1.0 / 3, 2.0 / 3 - 1000, 1e-300, 32767.499999999996}) {
        Settings s;
        s.HdrTop = value;
        const auto read = ParseSettingsText(SettingsFileText(s));
        ASSERT_TRUE(read.has_value()) << value;
        EXPECT_EQ(read->HdrTop, value);
    }
}

TEST(SettingsFileText, DoubleQuotesInANameAreLeftOut) {
    Settings s;
    s.Lambda0Key = "A\"B";
    const auto read = ParseSettingsText(SettingsFileText(s));
    ASSERT_TRUE(read.has_value());
    EXPECT_EQ(read->Lambda0Key, "AB");
}

TEST(ParseSettingsText, ReadsWhatTheWriterWrites) {
    EXPECT_EQ(ParseSettingsText(kDefaultText), Settings{});
    EXPECT_EQ(ParseSettingsText(kDistinctText), Distinct());
}

TEST(ParseSettingsText, TheCommentIsDroppedAndRewritten) {
    std::string text = kDistinctText;
    text.replace(text.find("Names"), kSettingsComment.size(), "anything, even \r\n line ends");
    const auto read = ParseSettingsText(text);
    ASSERT_TRUE(read.has_value());
    EXPECT_EQ(*read, Distinct());
    EXPECT_EQ(SettingsFileText(*read), kDistinctText);
}

TEST(ParseSettingsText, LineLayoutAndLineEndsDoNotMatter) {
    const std::string layouts[] = {
        // LF alone, CR alone, and a mix
        "\"WAVE, START\",\"STEP\",\"c\"\n-1,2\n3,4\n5,6.75,7,8\n9,10,11,12\n13,14,15,16\n17,18,19,-32768\n32767,22\n",
        "\"WAVE, START\",\"STEP\",\"c\"\r-1,2\r3,4\r5,6.75,7,8\r9,10,11,12\r13,14,15,16\r17,18,19,-32768\r32767,22\r",
        "\"WAVE, START\",\"STEP\",\"c\"\n-1,2\r\n3,4\r5,6.75,7,8\n9,10,11,12\r\n13,14,15,16\r17,18,19,-32768\n32767,22\r\n",
        // all on one line
        "\"WAVE, START\",\"STEP\",\"c\",-1,2,3,4,5,6.75,7,8,9,10,11,12,13,14,15,16,17,18,19,-32768,32767,22\r\n",
        // one field a line
        "\"WAVE, START\"\n\"STEP\"\n\"c\"\n-1\n2\n3\n4\n5\n6.75\n7\n8\n9\n10\n11\n12\n13\n14\n15\n16\n17\n18\n19\n-32768\n"
        "32767\n22\n",
        // blanks and tabs around fields, a plus sign, an exponent
        "  \"WAVE, START\" ,\t\"STEP\"\t, \"c\" \r\n -1 , +2 \r\n3 ,\t4\r\n5,675e-2,7,8\r\n9,10,11,12\r\n13,14,15,"
        "16\r\n17,18,19,-32768\r\n32767 , 22 \r\n",
    };
    for (const std::string& text : layouts) EXPECT_EQ(ParseSettingsText(text), Distinct()) << text;
}

TEST(ParseSettingsText, AnythingAfterTheLastFieldIsIgnored) {
    for (const std::string& tail : {std::string("junk"), std::string("\""), std::string("\x00\xff,,,", 5),
                                   std::string("40000,abc\r\n"), std::string("\r\n\r\n")}) {
        EXPECT_EQ(ParseSettingsText(kDistinctText + tail), Distinct()) << tail;
    }
}

TEST(ParseSettingsText, UnquotedNamesAreTrimmedQuotedNamesKeptAsTheyAre) {
    std::string text = kDefaultText;
    text.replace(0, text.find("\"Names"), "  CRVAL1 \t, \" CD1 1 \" ,");
    const auto read = ParseSettingsText(text);
    ASSERT_TRUE(read.has_value());
    EXPECT_EQ(read->Lambda0Key, "CRVAL1");
    EXPECT_EQ(read->DLambdaKey, " CD1 1 ");
}

TEST(ParseSettingsText, WholeNumbersRoundToTheNearestHalvesToEven) {
    const struct {
        const char* text;
        int value;
    } cases[] = {{"200.5", 200}, {"201.5", 202}, {"-0.5", 0}, {"-2.5", -2}, {"32767.4", 32767}, {"-32768.5", -32768},
                 {".75", 1},     {"7.", 7},      {"1E3", 1000}, {"00012", 12}};
    for (const auto& c : cases) {
        const auto read = ParseSettingsText(WithNumberField(0, c.text));
        ASSERT_TRUE(read.has_value()) << c.text;
        EXPECT_EQ(read->MainLeft, c.value) << c.text;
    }
}

TEST(ParseSettingsText, HdrTopKeepsItsFraction) {
    const auto read = ParseSettingsText(WithNumberField(5, "512.125"));
    ASSERT_TRUE(read.has_value());
    EXPECT_EQ(read->HdrTop, 512.125);
}

// Every number field, each broken in every way: the whole file counts as unreadable.
TEST(ParseSettingsText, ABadNumberAnywhereBreaksTheWholeFile) {
    const std::string bad[] = {"40000", "32768", "-32769", "32767.5", "-32768.6", "1e9",  "1e999",
                               "",      "   ",   "abc",    "12abc",   "1 2",      "inf",  "nan",
                               "-",     "+",     ".",      "--5",     "0x10",     "\"\"", "\"12",
                               "1.2.3", "e5",    "\x01",   std::string("5\0", 2)};
    for (size_t field = 0; field < 22; ++field) {
        for (const std::string& text : bad) {
            EXPECT_FALSE(ParseSettingsText(WithNumberField(field, text)).has_value())
                << "field " << field << ": " << text;
        }
    }
}

TEST(ParseSettingsText, QuotedNumbersAndBoundariesAreNumbers) {
    for (const char* text : {"\"12\"", "-32768", "32767", "+0", "-0"}) {
        for (size_t field = 0; field < 22; ++field)
            EXPECT_TRUE(ParseSettingsText(WithNumberField(field, text)).has_value()) << field << ": " << text;
    }
}

TEST(ParseSettingsText, UnbalancedQuotes) {
    const std::string cases[] = {
        "\"CRVAL1,\"CD1_1\",\"c\"\r\n200,200\r\n500,500\r\n500,500,3000,10000\r\n500,500,3000,10000\r\n"
        "100,2000,10000,1000\r\n500,500,10000,500\r\n500,500\r\n",
        "\"CRVAL1\",\"CD1_1\",\"c\r\n200,200\r\n500,500\r\n500,500,3000,10000\r\n500,500,3000,10000\r\n"
        "100,2000,10000,1000\r\n500,500,10000,500\r\n500,500\r\n",
        "\"CRVAL1\",\"CD1_1\",\"c\"\r\n200,\"200\r\n500,500\r\n500,500,3000,10000\r\n500,500,3000,10000\r\n"
        "100,2000,10000,1000\r\n500,500,10000,500\r\n500,500\r\n",
        "\"CRVAL1\"\",\"CD1_1\",\"c\"\r\n200,200\r\n500,500\r\n500,500,3000,10000\r\n500,500,3000,10000\r\n"
        "100,2000,10000,1000\r\n500,500,10000,500\r\n500,500\r\n",
        "\"CRVAL1\" x,\"CD1_1\",\"c\"\r\n200,200\r\n500,500\r\n500,500,3000,10000\r\n500,500,3000,10000\r\n"
        "100,2000,10000,1000\r\n500,500,10000,500\r\n500,500\r\n",
        "\"",
        "\"\"\"\"\"\"\"\"\"\"\"\"\"\"\"\"\"\"\"\"",
    };
    for (const std::string& text : cases) EXPECT_FALSE(ParseSettingsText(text).has_value()) << text;
}

TEST(ParseSettingsText, BlankLinesAndTrailingCommasAddEmptyFields) {
    std::string blankLine = kDefaultText;
    blankLine.insert(blankLine.find("200,200"), "\r\n");
    EXPECT_FALSE(ParseSettingsText(blankLine).has_value());
    std::string trailingComma = kDefaultText;
    trailingComma.insert(trailingComma.find("\r\n500,500\r\n"), ",");
    EXPECT_FALSE(ParseSettingsText(trailingComma).has_value());
}

TEST(ParseSettingsText, TheLastFieldNeedsItsSeparatorEvenWhenQuoted) {
    const std::string quotedLast = WithNumberField(21, "\"22\"");
    EXPECT_EQ(ParseSettingsText(quotedLast), Distinct());
    EXPECT_FALSE(ParseSettingsText(quotedLast.substr(0, quotedLast.size() - 2)).has_value());
}

TEST(ParseSettingsText, BinaryGarbage) {
    std::mt19937 random(20240611);
    for (int round = 0; round < 2000; ++round) {
        std::string bytes(random() % 400, '\0');
        for (char& b : bytes) b = static_cast<char>(random() % 256);
        EXPECT_FALSE(ParseSettingsText(bytes).has_value()) << round;
    }
}

TEST(ParseSettingsText, GarbageBytesInsideAValidFile) {
    std::mt19937 random(7);
    // A byte other than a blank, digit, sign, point, exponent or separator inside
    // any number breaks the file; bytes inside a quoted name are part of the name.
    const size_t firstNumber = kDefaultText.find("200");
    for (size_t at = firstNumber; at < kDefaultText.size(); ++at) {
        const char c = kDefaultText[at];
        if (c == ',' || c == '\r' || c == '\n') continue;
        std::string text = kDefaultText;
        text.insert(at, 1, static_cast<char>(0x80 + random() % 128));
        EXPECT_FALSE(ParseSettingsText(text).has_value()) << at;
    }
    std::string name = kDefaultText;
    name.insert(3, std::string("\x00\xff\x1b", 3));
    const auto read = ParseSettingsText(name);
    ASSERT_TRUE(read.has_value());
    EXPECT_EQ(read->Lambda0Key, std::string("CR\x00\xff\x1bVAL1", 9));
}

class SettingsFileOnDisk : public ::testing::Test {
protected:
    TempFolder folder;
};

TEST_F(SettingsFileOnDisk, WrittenThenReadBack) {
    const auto file = folder.path() / "Wendrel3.ini";
    EXPECT_EQ(WriteSettingsFile(file, Distinct()), "");
    EXPECT_EQ(FileBytes(file), kDistinctText);
    EXPECT_EQ(ReadSettingsFile(file), Distinct());
}

TEST_F(SettingsFileOnDisk, WritingReplacesALongerFile) {
    const auto file = folder.Write("Wendrel3.ini", std::string(5000, 'x'));
    EXPECT_EQ(WriteSettingsFile(file, Settings{}), "");
    EXPECT_EQ(FileBytes(file), kDefaultText);
}

TEST_F(SettingsFileOnDisk, MissingFileOrAFolderInItsPlaceReadsAsNothing) {
    EXPECT_FALSE(ReadSettingsFile(folder.path() / "Wendrel3.ini").has_value());
    std::filesystem::create_directory(folder.path() / "Wendrel3.ini");
    EXPECT_FALSE(ReadSettingsFile(folder.path() / "Wendrel3.ini").has_value());
}

TEST_F(SettingsFileOnDisk, EveryTruncationOfAValidFileReadsAsNothing) {
    // Cut after the final CR the file is whole: CR alone ends the last line.
    for (size_t length = 0; length + 1 < kDistinctText.size(); ++length) {
        const auto file = folder.Write("cut" + std::to_string(length), kDistinctText.substr(0, length));
        EXPECT_FALSE(ReadSettingsFile(file).has_value()) << length << ": " << kDistinctText.substr(0, length);
    }
    const auto whole = folder.Write("whole", kDistinctText.substr(0, kDistinctText.size() - 1));
    EXPECT_EQ(ReadSettingsFile(whole), Distinct());
}

TEST_F(SettingsFileOnDisk, OnlyTheFirstLineReadsAsNothing) {
    const auto file = folder.Write("Wendrel3.ini", "\"WAVE\",\"STEP\",\"c\"\r\n");
    EXPECT_FALSE(ReadSettingsFile(file).has_value());
}

TEST_F(SettingsFileOnDisk, FieldsMustLieWithinTheReadLimit) {
    const std::string rest = kDefaultText.substr(kDefaultText.find(",\"CD1_1\""));
    // The keyword name is stretched so that the 25th field's line end is the last byte read.
    const std::string name(kSettingsReadLimit - rest.size() - 2, 'K');
    const std::string fits = "\"" + name + "\"" + rest;
    ASSERT_EQ(fits.size(), kSettingsReadLimit);
    const auto read = ReadSettingsFile(folder.Write("fits", fits + "more text beyond the fields"));
    ASSERT_TRUE(read.has_value());
    EXPECT_EQ(read->Lambda0Key, name);
    // Two bytes more leave the whole line end of the last field beyond the limit.
    const std::string beyond = "\"" + name + "KK\"" + rest;
    EXPECT_FALSE(ReadSettingsFile(folder.Write("over", beyond)).has_value());
}

// Sparse files: 100 MB on paper, next to nothing on disk.
TEST_F(SettingsFileOnDisk, HundredMegabyteFiles) {
    constexpr std::uintmax_t kSize = 100u * 1024 * 1024;
    const auto validStart = folder.Write("valid", kDistinctText);
    std::filesystem::resize_file(validStart, kSize);
    EXPECT_EQ(ReadSettingsFile(validStart), Distinct());

    const auto openQuote = folder.Write("quote", "\"");
    std::filesystem::resize_file(openQuote, kSize);
    EXPECT_FALSE(ReadSettingsFile(openQuote).has_value());

    const auto zeros = folder.Write("zeros", "");
    std::filesystem::resize_file(zeros, kSize);
    EXPECT_FALSE(ReadSettingsFile(zeros).has_value());
}

TEST_F(SettingsFileOnDisk, AWriteFailureNamesTheFileAndTheReason) {
    const auto taken = folder.path() / "Wendrel3.ini";
    std::filesystem::create_directory(taken);
    const std::string message = WriteSettingsFile(taken, Settings{});
    EXPECT_NE(message.find(taken.string()), std::string::npos) << message;
    EXPECT_NE(message.find("Is a directory"), std::string::npos) << message;

    const auto nowhere = folder.path() / "no such folder" / "Wendrel3.ini";
    const std::string missing = WriteSettingsFile(nowhere, Settings{});
    EXPECT_NE(missing.find(nowhere.string()), std::string::npos) << missing;
    EXPECT_NE(missing.find("No such file or directory"), std::string::npos) << missing;
}

}  // namespace
}  // namespace wendrel
