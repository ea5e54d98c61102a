// The settings file, and the start-up that reads it and the shut-down that writes it.
#include "app/settings_file.h"

#include <gtest/gtest.h>
#include <sys/resource.h>
#include <cmath>
#include <csignal>

#include "app/startup.h"
#include "tests/support/recording_ui.h"
#include "tests/support/temp_folder.h"

namespace wendrel {
namespace {

// The settings file exactly as the program writes it with every default in force.
const std::string kDefaultText =
    "\"CRVAL1\",\"CD1_1\",\"Names for Lambda0 and dLambda/dp, resp.\"\r\n"
    "200,200\r\n"
    "500,500\r\n"
    "500,500,3000,10000\r\n"
    "500,500,3000,10000\r\n"
    "100,2000,10000,1000\r\n"
    "500,500,10000,500\r\n"
    "500,500\r\n";

// Every field differs from its default and from every other field.
Settings Distinct() {
    return {"WAVE, START", "STEP", -1, 2, 3, 4, 5, 6.75, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16, 17, 18, 19, -32768, 32767, 22};
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

TEST(SettingsFileText, WrittenByteForByteClampedAndReadBack) {
    EXPECT_EQ(SettingsFileText(Settings{}), kDefaultText);
    EXPECT_EQ(SettingsFileText(Distinct()), DistinctText());
    EXPECT_EQ(ParseSettingsText(DistinctText()), Distinct());
    Settings s{.Lambda0Key = "A\"B", .MainLeft = 40000, .MainTop = -40000};
    EXPECT_EQ(ParseSettingsText(SettingsFileText(s)).value().Lambda0Key, "AB");  // the file cannot hold the quote
    EXPECT_NE(SettingsFileText(s).find("\r\n32767,-32768\r\n"), std::string::npos);
    const std::pair<double, const char*> tops[] = {{-12.25, "-12.25"}, {-0.0, "0"}, {1e6, "1000000"}, {NAN, "0"}};
    for (const auto& [value, text] : tops) {
        s.HdrTop = value;
        EXPECT_NE(SettingsFileText(s).find("\r\n500," + std::string(text) + ",3000,"), std::string::npos) << value;
    }
    for (const double top : {1.0 / 3, -1e300, 40000.5}) {  // HdrTop comes back exactly
        s.HdrTop = top;
        EXPECT_EQ(ParseSettingsText(SettingsFileText(s)).value().HdrTop, top);
    }
}

TEST(ParseSettingsText, LineLayoutAndBlanksDoNotMatterButOneBadFieldBreaksTheWholeFile) {
    EXPECT_EQ(ParseSettingsText("  \"WAVE, START\" ,\t STEP \t, \"any, \r\n\",-1 , +2\r3,4\n5,675e-2,7,8,9,10,11,12,13,14,"
                                "15,16,17,18,19,-32768,32767 , \"22\"\ranything after the last field \""), Distinct());
    // One bad field breaks the whole file: the program then uses every default.
    const std::string bad[] = {"1e999", "", "abc", "12abc", "1 2",   "inf",  "nan",
                               "-",     ".", "0x10", "\"12",  "1.2.3", std::string("5\0", 2)};
    for (size_t field = 0; field < 22; ++field) {
        for (const std::string& text : bad) EXPECT_FALSE(ParseSettingsText(DistinctText(field, text))) << field << text;
        for (const char* text : {"40000", "32768", "-32769", "32767.5"})  // only HdrTop is not 16-bit
            EXPECT_EQ(ParseSettingsText(DistinctText(field, text)).has_value(), field == 5) << field << text;
        for (const char* text : {"\"12\"", "-0"}) EXPECT_TRUE(ParseSettingsText(DistinctText(field, text))) << field;
    }
    const std::pair<const char*, const char*> edits[] = {{"\"CRVAL1\"", "\"CRVAL1"}, {"resp.\"", "resp."},
        {"\"CRVAL1\"", "\"CRVAL1\" x"}, {"200,200", "\r\n200,200"}, {"500,500\r\n5", "500,500,\r\n5"}};
    for (const auto& [from, to] : edits) {
        std::string text = kDefaultText;
        EXPECT_FALSE(ParseSettingsText(text.replace(text.find(from), std::string(from).size(), to))) << text;
    }
}

// Cut before its last field the file reads as nothing; the file's end ends the last field, the read limit does not.
TEST(SettingsFileOnDisk, ReadOnlyWhenWholeAndWithinTheLimitAndWrittenWholeOrNotAtAll) {
    const testing::TempFolder folder;
    const auto file = folder.Write("Wendrel3.ini", std::string(5000, 'x'));
    EXPECT_EQ(WriteSettingsFile(file, Distinct()), "");
    const std::string whole = testing::FileBytes(file);
    EXPECT_EQ(whole, DistinctText());
    EXPECT_FALSE(ReadSettingsFile(folder.path() / "missing.ini") || ReadSettingsFile(folder.path()));
    for (size_t length = 0; length + 3 < whole.size(); ++length)
        EXPECT_FALSE(ReadSettingsFile(folder.Write("cut", whole.substr(0, length)))) << length;
    for (const std::string last : {"22\r", "22", " \"22\" \t"})  // CR ends a line, and so does the end of the file
        EXPECT_EQ(ReadSettingsFile(folder.Write("cut", whole.substr(0, whole.size() - 4) + last)), Distinct()) << last;
    const std::string rest = kDefaultText.substr(kDefaultText.find(",\"CD1_1\""));
    const std::string name(kSettingsReadLimit - rest.size() - 2, 'K');  // the last line end is the last byte read
    EXPECT_EQ(ReadSettingsFile(folder.Write("fits", "\"" + name + "\"" + rest + "more")).value().Lambda0Key, name);
    EXPECT_FALSE(ReadSettingsFile(folder.Write("over", "\"" + name + "KK\"" + rest)));
    EXPECT_TRUE(ReadSettingsFile(folder.Write("over", "\"" + name + "KK\"" + rest.substr(0, rest.size() - 2))));
    for (const auto& [start, readable] : {std::pair{DistinctText(), true}, {"\"", false}}) {
        std::filesystem::resize_file(folder.Write("huge", start), 100u << 20);  // sparse
        EXPECT_EQ(ReadSettingsFile(folder.path() / "huge").has_value(), readable) << start;
    }
    const auto target = folder.Write("target", "kept");  // a link is replaced, not written through
    std::filesystem::create_symlink(target, folder.path() / "link");
    EXPECT_EQ(WriteSettingsFile(folder.path() / "link", Distinct()), "");
    EXPECT_EQ(std::tuple(std::filesystem::is_symlink(folder.path() / "link"), testing::FileBytes(folder.path() / "link"),
                         testing::FileBytes(target)), std::tuple(false, whole, "kept"));
    std::filesystem::create_directory(folder.path() / "dir");
    const auto entries = [&folder] { return std::distance(std::filesystem::directory_iterator(folder.path()), {}); };
    const auto before = entries();
    rlimit fileSize;  // a full disk: the new file cannot grow past a few bytes
    getrlimit(RLIMIT_FSIZE, &fileSize);
    const rlimit small = {16, fileSize.rlim_max};
    const auto handler = std::signal(SIGXFSZ, SIG_IGN);
    for (const auto& [path, reason] : {std::pair{folder.path() / "dir", "Is a directory"}, {file, "File too large"},
                                       {folder.path() / "none" / "Wendrel3.ini", "No such file or directory"}}) {
        if (path == file) setrlimit(RLIMIT_FSIZE, &small);
        const std::string message = WriteSettingsFile(path, Settings{});  // names the file and the reason
        setrlimit(RLIMIT_FSIZE, &fileSize);
        EXPECT_TRUE(message.find(path.string()) != std::string::npos && message.find(reason) != std::string::npos) << message;
    }
    std::signal(SIGXFSZ, handler);
    EXPECT_EQ(std::tuple(testing::FileBytes(file), entries()), std::tuple(whole, before));  // the old file, no new one
}

class StartUpAndShutDown : public ::testing::Test {
protected:
    // Starts from a workspace a long session left, with the settings file holding `text`, or none.
    Workspace Start(const std::optional<std::string>& text) {
        if (text) folder.Write("Wendrel3.ini", *text);
        else std::filesystem::remove(file);
        Workspace ws;
        ws.Config.Lambda0Key = "OLD";
        ws.View.LambdaMin = 4000;
        ws.DataReady = true;
        for (Row& s : ws.Slots) {
            s = Row();
            s.Data = std::make_shared<Spectrum>(), s.Offset = 99, s.SlotColor = 0;
        }
        ui.events.clear();
        StartUp(ws, file, ui);
        return ws;
    }
    testing::TempFolder folder;
    const std::filesystem::path file = folder.path() / "Wendrel3.ini";
    testing::RecordingUi ui;
};

TEST_F(StartUpAndShutDown, AMissingOrBrokenFileGivesEveryDefaultSilently) {
    for (const auto& text : {std::optional<std::string>(), {DistinctText(0, "40000")}, {DistinctText().substr(0, 70)}}) {
        const Workspace ws = Start(text);
        EXPECT_EQ(ws.Config, Settings{}) << text.value_or("no file");
        for (int i = 1; i <= kMaxSlots; ++i)
            EXPECT_EQ(std::tuple(ws.slot(i).Loaded(), ws.slot(i).Offset, ws.slot(i).SlotColor, ui.events.at(i - 1)),
                      std::tuple(false, StartOffset(i), kStartSlotColors[i - 1], "hide row " + std::to_string(i)));
        EXPECT_EQ(std::tuple(ws.View.LambdaMin, ws.View.LambdaMax, ws.DataReady, ui.events.size(), ui.messages.size()),
                  std::tuple(99999, -99999, false, 10u, 0u));
    }
}

TEST_F(StartUpAndShutDown, ARunWritesEverythingBackButTheCommentAndTheMainPlace) {
    std::string text = DistinctText();
    Workspace ws = Start(text.replace(text.find("Names"), 5, "Notes"));
    EXPECT_EQ(ws.Config, Distinct());
    EXPECT_EQ(ShutDown(ws, 640.5, -1e300, file), "");  // the main place rounded and clamped
    std::string expected = DistinctText();
    EXPECT_EQ(testing::FileBytes(file), expected.replace(expected.find("\r\n-1,2\r\n"), 8, "\r\n640,-32768\r\n"));
    ws = Start(std::nullopt);  // closing without a settings file writes the defaults
    EXPECT_EQ(ShutDown(ws, 200, 200, file), "");
    EXPECT_EQ(testing::FileBytes(file), kDefaultText);
}

}  // namespace
}  // namespace wendrel
