#include "app/settings_file.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "tests/support/temp_folder.h"
#include "tests/support/default_settings_text.h"

namespace wendrel {
namespace {

using testing::FileBytes;
using testing::TempFolder;

const std::string kDefaultText = testing::kDefaultSettingsText;

// Every field differs from its default and from every other field.
Settings Distinct() {
    Settings s;
    s.Lambda0Key = "WAVE, START", s.DLambdaKey = "STEP";
    s.MainLeft = -1, s.MainTop = 2, s.LoadLeft = 3, s.LoadTop = 4;
    s.HdrLeft = 5, s.HdrTop = 6.75, s.HdrWidth = 7, s.HdrHeight = 8;
    s.SpareLeft = 9, s.SpareTop = 10, s.SpareWidth = 11, s.SpareHeight = 12;
    s.PlotWinLeft = 13, s.PlotWinTop = 14, s.PlotWinWidth = 15, s.PlotWinHeight = 16;
    s.HelpLeft = 17, s.HelpTop = 18, s.HelpWidth = 19, s.HelpHeight = -32768;
    s.AboutLeft = 32767, s.AboutTop = 22;
    return s;
}

// The file of Distinct() with number field `index` (0 = MainLeft) replaced.
std::string DistinctText(size_t index = 99, const std::string& replacement = "") {
    std::vector<std::string> numbers = {"-1", "2",  "3",  "4",  "5",  "6.75", "7",  "8",  "9",      "10",    "11",
                                        "12", "13", "14", "15", "16", "17",   "18", "19", "-32768", "32767", "22"};
    if (index < numbers.size()) numbers[index] = replacement;
    std::string text = "\"WAVE, START\",\"STEP\",\"Names for Lambda0 and dLambda/dp, resp.\"\r\n";
    size_t next = 0;
    for (size_t count : {2, 2, 4, 4, 4, 4, 2}) {
        for (size_t i = 0; i < count; ++i) text += (i ? "," : "") + numbers[next++];
        text += "\r\n";
    }
    return text;
}

TEST(SettingsFileText, WrittenByteForByteAndReadBack) {
    EXPECT_EQ(SettingsFileText(Settings{}), kDefaultText);
    EXPECT_EQ(SettingsFileText(Distinct()), DistinctText());
    EXPECT_EQ(ParseSettingsText(kDefaultText), Settings{});
    EXPECT_EQ(ParseSettingsText(DistinctText()), Distinct());
    Settings quoted;
    quoted.Lambda0Key = "A\"B";  // the file cannot hold the quote: it is left out
    EXPECT_EQ(ParseSettingsText(SettingsFileText(quoted)).value().Lambda0Key, "AB");
}

TEST(SettingsFileText, NumbersAreClampedTo16BitsAndHdrTopKeepsItsFraction) {
    Settings s;
    s.MainLeft = 40000, s.MainTop = -40000, s.HelpWidth = 2147483647;
    EXPECT_NE(SettingsFileText(s).find("\r\n32767,-32768\r\n"), std::string::npos);
    EXPECT_NE(SettingsFileText(s).find("\r\n500,500,32767,500\r\n"), std::string::npos);
    const std::pair<double, const char*> cases[] = {{-12.25, "-12.25"}, {-0.0, "0"}, {1e6, "32767"}, {NAN, "0"}};
    for (const auto& [value, text] : cases) {
        s.HdrTop = value;
        EXPECT_NE(SettingsFileText(s).find("\r\n500," + std::string(text) + ",3000,"), std::string::npos) << value;
    }
    for (const double value : {1.0 / 3, -12.25, 1e-300}) {
        s.HdrTop = value;
        EXPECT_EQ(ParseSettingsText(SettingsFileText(s)).value().HdrTop, value);
    }
}

TEST(ParseSettingsText, LineLayoutBlanksAndTheCommentDoNotMatter) {
    const std::string layouts[] = {
        "\"WAVE, START\",\"STEP\",\"c\"\n-1,2\r3,4\r\n5,6.75,7,8\n9,10,11,12\n13,14,15,16\n17,18,19,-32768\n32767,22\r",
        "\"WAVE, START\",STEP,\"any, \r\n\",-1,2,3,4,5,6.75,7,8,9,10,11,12,13,14,15,16,17,18,19,-32768,32767,22\r\n",
        "  \"WAVE, START\" ,\t STEP \t, \"c\" \r\n -1 , +2 \r\n3 ,\t4\r\n5,675e-2,7,8\r\n9,10,11,12\r\n13,14,15,"
        "16\r\n17,18,19,-32768\r\n32767 , \"22\"\r\nanything after the last field \"",
    };
    for (const std::string& text : layouts) EXPECT_EQ(ParseSettingsText(text), Distinct()) << text;
}

// One bad field breaks the whole file: the program then uses every default.
TEST(ParseSettingsText, ABadNumberAnywhereBreaksTheWholeFile) {
    const std::string bad[] = {"40000", "32768", "-32769", "32767.5", "1e999", "",    "abc",  "12abc", "1 2",
                               "inf",   "nan",   "-",      ".",       "0x10",  "\"12", "1.2.3", "\x01", std::string("5\0", 2)};
    for (size_t field = 0; field < 22; ++field) {
        for (const std::string& text : bad)
            EXPECT_FALSE(ParseSettingsText(DistinctText(field, text))) << "field " << field << ": " << text;
        for (const char* text : {"\"12\"", "-32768", "32767", "-0"})
            EXPECT_TRUE(ParseSettingsText(DistinctText(field, text))) << "field " << field << ": " << text;
    }
}

TEST(ParseSettingsText, UnbalancedQuotesBlankLinesAndExtraCommasBreakTheFile) {
    const std::pair<const char*, const char*> edits[] = {{"\"CRVAL1\"", "\"CRVAL1"}, {"resp.\"", "resp."},
        {"\"CRVAL1\"", "\"CRVAL1\" x"}, {"200,200", "\r\n200,200"}, {"500,500\r\n5", "500,500,\r\n5"}};
    for (const auto& [from, to] : edits) {
        std::string text = kDefaultText;
        text.replace(text.find(from), std::string(from).size(), to);
        EXPECT_FALSE(ParseSettingsText(text)) << text;
    }
}

TEST(SettingsFileOnDisk, WrittenOverALongerFileReadBackAndEveryTruncationReadsAsNothing) {
    const TempFolder folder;
    const auto file = folder.Write("Wendrel3.ini", std::string(5000, 'x'));
    EXPECT_EQ(WriteSettingsFile(file, Distinct()), "");
    const std::string whole = FileBytes(file);
    EXPECT_EQ(whole, DistinctText());
    EXPECT_EQ(ReadSettingsFile(file), Distinct());
    EXPECT_FALSE(ReadSettingsFile(folder.path() / "missing.ini"));
    EXPECT_FALSE(ReadSettingsFile(folder.path()));
    // Cut after the final CR the file is whole: CR alone ends the last line.
    for (size_t length = 0; length + 1 < whole.size(); ++length)
        EXPECT_FALSE(ReadSettingsFile(folder.Write("cut", whole.substr(0, length)))) << whole.substr(0, length);
    EXPECT_EQ(ReadSettingsFile(folder.Write("cut", whole.substr(0, whole.size() - 1))), Distinct());
}

TEST(SettingsFileOnDisk, OnlyTheReadLimitIsRead) {
    const TempFolder folder;
    const std::string rest = kDefaultText.substr(kDefaultText.find(",\"CD1_1\""));
    // The name is stretched so that the last field's line end is the last byte read.
    const std::string name(kSettingsReadLimit - rest.size() - 2, 'K');
    EXPECT_EQ(ReadSettingsFile(folder.Write("fits", "\"" + name + "\"" + rest + "more")).value().Lambda0Key, name);
    EXPECT_FALSE(ReadSettingsFile(folder.Write("over", "\"" + name + "KK\"" + rest)));

    // Sparse files of 100 MB.
    const std::pair<std::string, bool> huge[] = {{DistinctText(), true}, {"\"", false}, {"", false}};
    for (const auto& [start, readable] : huge) {
        const auto file = folder.Write("huge", start);
        std::filesystem::resize_file(file, 100u << 20);
        EXPECT_EQ(ReadSettingsFile(file).has_value(), readable) << start;
    }
}

TEST(SettingsFileOnDisk, AWriteFailureNamesTheFileAndTheReason) {
    const TempFolder folder;
    const struct { std::filesystem::path file; const char* reason; } cases[] = {
        {folder.path(), "Is a directory"},
        {folder.path() / "no such folder" / "Wendrel3.ini", "No such file or directory"}};
    for (const auto& c : cases) {
        const std::string message = WriteSettingsFile(c.file, Settings{});
        EXPECT_NE(message.find(c.file.string()), std::string::npos) << message;
        EXPECT_NE(message.find(c.reason), std::string::npos) << message;
    }
}

}  // namespace
}  // namespace wendrel
