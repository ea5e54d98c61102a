#include "app/printing.h"

#include <gtest/gtest.h>

#include <ostream>
#include <string>
#include <vector>

namespace wendrel {

void PrintTo(const InstalledPrinter& p, std::ostream* os) {
    *os << '{' << p.DeviceName << ", " << p.DriverName << ", " << p.Port << '}';
}

namespace {

class ListedPrinters : public PrinterList {
public:
    explicit ListedPrinters(std::vector<InstalledPrinter> printers) : printers_(std::move(printers)) {}
    std::vector<InstalledPrinter> Installed() const override {
        ++asked;
        return printers_;
    }
    mutable int asked = 0;

private:
    std::vector<InstalledPrinter> printers_;
};

// A dialog that records what it is given and asked, in order, and answers
// with the values a user left in it.
class ScriptedDialog : public PrinterDialog {
public:
    void SetPrinterName(const std::string& name) override { calls.push_back("set name " + name); }
    void SetDriverName(const std::string& driver) override { calls.push_back("set driver " + driver); }
    void SetPort(const std::string& port) override { calls.push_back("set port " + port); }
    void SetPaperBin(int16_t bin) override { calls.push_back("set bin " + std::to_string(bin)); }
    void SetFlags(int32_t flags) override { calls.push_back("set flags " + std::to_string(flags)); }
    bool ShowPrinter() override {
        calls.push_back("show");
        return confirm;
    }
    std::string PrinterName() const override { return Read("name", name); }
    std::string OutputFile() const override { return Read("file", file); }
    int16_t Copies() const override { return Read("copies", page.Copies); }
    int16_t Orientation() const override { return Read("orientation", page.Orientation); }
    int16_t ColorMode() const override { return Read("colour", page.ColorMode); }
    int16_t Duplex() const override { return Read("duplex", page.Duplex); }
    int16_t PaperBin() const override { return Read("bin", page.PaperBin); }
    int16_t PaperSize() const override { return Read("size", page.PaperSize); }
    int16_t PrintQuality() const override { return Read("quality", page.PrintQuality); }

    bool confirm = true;
    std::string name;
    std::string file;
    PageSettings page{4, 2, 1, 3, 7, 9, 600};
    mutable std::vector<std::string> calls;

private:
    template <typename T>
    T Read(const std::string& what, T value) const {
        calls.push_back("read " + what);
        return value;
    }
};

PrinterSettings Current(std::string device) {
    PrinterSettings s;
    s.DeviceName = std::move(device);
    s.DriverName = "old driver";
    s.Port = "old port";
    s.Page = {1, 1, 2, 1, 2, 0, 300};
    return s;
}

TEST(PrintSetup, FillsTheDialogThenShowsItThenReadsTheSevenSettingsInOrder) {
    PrinterSettings current = Current("LASER");
    ScriptedDialog dialog;
    dialog.name = "laser";
    ListedPrinters installed({{"LASER", "d", "p"}});
    PrintSetup(current, dialog, installed);
    EXPECT_EQ(dialog.calls,
              (std::vector<std::string>{"set name LASER", "set driver old driver", "set port old port", "set bin 2",
                                        "set flags 268", "show", "read file", "read name", "read copies",
                                        "read orientation", "read colour", "read duplex", "read bin", "read size",
                                        "read quality"}));
    EXPECT_EQ(current.Page, (PageSettings{4, 2, 1, 3, 7, 9, 600}));
    EXPECT_FALSE(current.FollowDefault);
}

TEST(PrintSetup, CancelLeavesPrinterAndPageAloneButStopsFollowingTheDefault) {
    PrinterSettings current = Current("Office");
    current.Page.Copies = 3;
    current.Page.Orientation = 2;
    const PrinterSettings before = current;
    ScriptedDialog dialog;
    dialog.confirm = false;
    dialog.name = "Other";
    ListedPrinters installed({{"OTHER", "d", "p"}});
    PrintSetup(current, dialog, installed);

    EXPECT_FALSE(current.FollowDefault);
    EXPECT_EQ(current.DeviceName, before.DeviceName);
    EXPECT_EQ(current.DriverName, before.DriverName);
    EXPECT_EQ(current.Port, before.Port);
    EXPECT_EQ(current.Page, before.Page);
    EXPECT_EQ(current.Page.Copies, 3);
    EXPECT_EQ(current.Page.Orientation, 2);
    EXPECT_EQ(installed.asked, 0);
    EXPECT_EQ(dialog.calls.back(), "show");
}

struct NameCase {
    const char* what;
    std::string current;
    std::string chosen;
    std::vector<InstalledPrinter> installed;
    InstalledPrinter expected;  // the current printer afterwards
    int listWalks;
    friend void PrintTo(const NameCase& c, std::ostream* os) { *os << c.what; }
};

class NameMatching : public ::testing::TestWithParam<NameCase> {};

TEST_P(NameMatching, ChoosesThePrinterTheRulesGive) {
    const NameCase& c = GetParam();
    PrinterSettings current = Current(c.current);
    ListedPrinters installed(c.installed);
    ApplyPrinterChoice(current, c.chosen, installed);
    EXPECT_EQ((InstalledPrinter{current.DeviceName, current.DriverName, current.Port}), c.expected);
    EXPECT_EQ(installed.asked, c.listWalks);
}

const std::vector<InstalledPrinter> kCaseTwins = {
    {"Laser", "first driver", "first port"}, {"Inkjet", "ink", "usb"}, {"LASER", "second driver", "second port"}};

INSTANTIATE_TEST_SUITE_P(
    PrintSetup, NameMatching,
    ::testing::Values(
        NameCase{"two printers differing only in case: the later one wins", "Inkjet", "laser", kCaseTwins,
                 {"LASER", "second driver", "second port"}, 1},
        NameCase{"the later one wins whichever of them was chosen", "Inkjet", "Laser", kCaseTwins,
                 {"LASER", "second driver", "second port"}, 1},
        NameCase{"an upper-case current name confirmed again stays without walking the list", "LASER", "Laser",
                 kCaseTwins, {"LASER", "old driver", "old port"}, 0},
        NameCase{"a current name with lower-case letters never equals the upper-cased choice: it is selected again",
                 "Inkjet", "Inkjet", {{"Inkjet", "ink", "usb"}}, {"Inkjet", "ink", "usb"}, 1},
        NameCase{"no match leaves the current printer", "Inkjet", "Plotter", kCaseTwins,
                 {"Inkjet", "old driver", "old port"}, 1},
        NameCase{"no printers installed", "", "Laser", {}, {"", "old driver", "old port"}, 1},
        NameCase{"upper case of letters beyond ASCII", "x", "café", {{"CAFÉ", "d", "p"}, {"CAFE", "d2", "p2"}},
                 {"CAFÉ", "d", "p"}, 1}),
    [](const ::testing::TestParamInfo<NameCase>& info) { return "Case" + std::to_string(info.index); });

TEST(PrintSetup, AChosenFileBecomesTheCurrentPrinter) {
    PrinterSettings current = Current("Laser");
    ScriptedDialog dialog;
    dialog.file = "/tmp/plot.pdf";
    ListedPrinters installed({{"", "blank", "blank"}});
    PrintSetup(current, dialog, installed);
    EXPECT_TRUE(current.PrintsToFile());
    EXPECT_EQ(current.DeviceName, "");
    EXPECT_EQ(current.DriverName, kFileDriver);
    EXPECT_EQ(current.Port, "/tmp/plot.pdf");
    EXPECT_EQ(installed.asked, 0);
    EXPECT_EQ(current.Page.Copies, 4);
}

TEST(PrintSetup, TheFilePrinterHandsItsFileToTheDialog) {
    PrinterSettings current;
    current.SelectFile("/tmp/a.pdf");
    ScriptedDialog dialog;
    dialog.confirm = false;
    PrintSetup(current, dialog, ListedPrinters({}));
    EXPECT_EQ(dialog.calls[1], "set driver PDF");
    EXPECT_EQ(dialog.calls[2], "set port /tmp/a.pdf");
}

TEST(PrintErrors, NumbersOfTheFailures) {
    EXPECT_EQ(PrintErrorNumber(PrintFailure::NoPrinter), 482);
    EXPECT_EQ(PrintErrorNumber(PrintFailure::PrinterRefused), 482);
    EXPECT_EQ(PrintErrorNumber(PrintFailure::CannotStart), 482);
    EXPECT_EQ(PrintErrorNumber(PrintFailure::DiskFull), 61);
    EXPECT_EQ(PrintErrorNumber(PrintFailure::PathNotFound), 76);
    EXPECT_EQ(PrintErrorNumber(PrintFailure::PermissionDenied), 70);
    EXPECT_EQ(PrintErrorNumber(PrintFailure::FileAccess), 75);
    EXPECT_EQ(PrintErrorNumber(PrintFailure::DeviceIo), 57);
    EXPECT_EQ(PrintErrorNumber(PrintFailure::OutOfMemory), 7);
}

TEST(PrintErrors, TextIsSignPositionNumberBlankAndErrorText) {
    EXPECT_EQ(PrintErrorText(57), " 57 Error 57: Device I/O error.");
    EXPECT_EQ(PrintErrorText(61), " 61 Error 61: Disk full.");
    EXPECT_EQ(PrintErrorText(72), " 72 Error 72: Disk media error");
    EXPECT_EQ(PrintErrorText(482), " 482 ");
    EXPECT_EQ(PrintErrorText(1000), " 1000 ");
    EXPECT_EQ(PrintErrorText(1001), " 1001 ");
    EXPECT_EQ(PrintErrorText(32767), " 32767 ");
    EXPECT_EQ(PrintErrorText(0), " 0 ");
    EXPECT_EQ(PrintErrorText(-7), "-7 ");
    EXPECT_EQ(PrintErrorText(-2147483647 - 1), "-2147483648 ");
}

TEST(PagePlacement, FitsKeepingProportionsCentredAcrossAtTheTop) {
    // A wide picture on a portrait area: full width, top.
    EXPECT_EQ(PlaceOnPage(1000, 500, 4000, 6000), (PagePlace{0, 0, 4000, 2000}));
    // A tall picture: full height, centred across.
    EXPECT_EQ(PlaceOnPage(500, 1000, 4000, 6000), (PagePlace{500, 0, 3000, 6000}));
    // Same proportions: fills the area.
    EXPECT_EQ(PlaceOnPage(300, 200, 600, 400), (PagePlace{0, 0, 600, 400}));
    // Nothing to place or nowhere to place it.
    EXPECT_EQ(PlaceOnPage(0, 10, 100, 100), PagePlace{});
    EXPECT_EQ(PlaceOnPage(10, 10, 0, 100), PagePlace{});
}

}  // namespace
}  // namespace wendrel
