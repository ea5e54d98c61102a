// Start-up of the program: the settings file or its defaults, the main
// window's place and look, and the rows as they stand before any load.
#include <QGuiApplication>
#include <QScreen>
#include <map>

#include "tests/windows/program_fixture.h"

namespace wendrel::testing {
namespace {

constexpr const char* kCustomSettings =
    "\"LAMBDA0\",\"DELTA,LAMBDA\",\"anything\"\r\n"
    "3000,1500\r\n"
    "750,900\r\n"
    "600,700.5,4000,9000\r\n"
    "1,2,3,4\r\n"
    "150,2100,11000,6000\r\n"
    "800,900,9000,700\r\n"
    "1000,1100\r\n";

using StartTest = ProgramTest;

TEST_F(StartTest, WithoutSettingsFileUsesTheDefaultsSilently) {
    Start();
    EXPECT_TRUE(static_cast<Settings&>(ws()) == Settings{});
    EXPECT_TRUE(messages_.empty());
    EXPECT_TRUE(mainWindow().isVisible());
    EXPECT_EQ(mainWindow().windowTitle(), "Wendrel");
    EXPECT_EQ(mainWindow().frameGeometry().topLeft(), QPoint(TwipsToPixels(200), TwipsToPixels(200)));
    EXPECT_EQ(ended_, 0);
}

TEST_F(StartTest, ReadsTheSettingsFileAndPlacesTheMainWindow) {
    WriteSettings(kCustomSettings);
    Start();
    EXPECT_EQ(ws().Lambda0Key, "LAMBDA0");
    EXPECT_EQ(ws().DLambdaKey, "DELTA,LAMBDA");
    EXPECT_EQ(ws().MainLeft, 3000);
    EXPECT_EQ(ws().MainTop, 1500);
    EXPECT_EQ(ws().LoadLeft, 750);
    EXPECT_EQ(ws().HdrTop, 700.5);
    EXPECT_EQ(ws().SpareHeight, 4);
    EXPECT_EQ(ws().PlotWinHeight, 6000);
    EXPECT_EQ(ws().AboutTop, 1100);
    EXPECT_EQ(mainWindow().frameGeometry().topLeft(), QPoint(TwipsToPixels(3000), TwipsToPixels(1500)));
    EXPECT_TRUE(messages_.empty());
}

// A broken settings file counts as no file at all: every field takes its
// default, also those read before the fault, and no message appears.
struct BrokenSettings {
    const char* name;
    const char* text;
};

class BrokenSettingsTest : public ProgramTest, public ::testing::WithParamInterface<BrokenSettings> {};

TEST_P(BrokenSettingsTest, GivesEveryDefault) {
    WriteSettings(GetParam().text);
    Start();
    EXPECT_TRUE(static_cast<Settings&>(ws()) == Settings{});
    EXPECT_EQ(ws().Lambda0Key, "CRVAL1");
    EXPECT_EQ(ws().DLambdaKey, "CD1_1");
    EXPECT_TRUE(messages_.empty());
    EXPECT_EQ(mainWindow().frameGeometry().topLeft(), QPoint(TwipsToPixels(200), TwipsToPixels(200)));
}

INSTANTIATE_TEST_SUITE_P(
    Cases, BrokenSettingsTest,
    ::testing::Values(
        BrokenSettings{"OnlyLineOne", "\"LAMBDA0\",\"DELTA\",\"comment\"\r\n"},
        BrokenSettings{"FieldAbove16Bits",
                       "\"LAMBDA0\",\"DELTA\",\"c\"\r\n3000,1500\r\n750,40000\r\n600,700,4000,9000\r\n"
                       "1,2,3,4\r\n150,2100,11000,6000\r\n800,900,9000,700\r\n1000,1100\r\n"},
        BrokenSettings{"EmptyNumber",
                       "\"LAMBDA0\",\"DELTA\",\"c\"\r\n3000,\r\n750,900\r\n600,700,4000,9000\r\n"
                       "1,2,3,4\r\n150,2100,11000,6000\r\n800,900,9000,700\r\n1000,1100\r\n"},
        BrokenSettings{"NotANumber",
                       "\"LAMBDA0\",\"DELTA\",\"c\"\r\n3000,1500\r\n750,900\r\n600,700,4000,9000\r\n"
                       "1,2,3,4\r\n150,2100,wide,6000\r\n800,900,9000,700\r\n1000,1100\r\n"},
        BrokenSettings{"CutShort", "\"LAMBDA0\",\"DELTA\",\"c\"\r\n3000,1500\r\n750,900\r\n600,700"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(StartTest, MainWindowStoredOffEveryScreenOpensWhereItCanBeSeen) {
    WriteSettings(
        "\"CRVAL1\",\"CD1_1\",\"c\"\r\n30000,30000\r\n500,500\r\n500,500,3000,10000\r\n"
        "500,500,3000,10000\r\n100,2000,10000,1000\r\n500,500,10000,500\r\n500,500\r\n");
    Start();
    const QRect frame = mainWindow().frameGeometry();
    bool seen = false;
    for (const QScreen* screen : QGuiApplication::screens()) seen = seen || screen->availableGeometry().intersects(frame);
    EXPECT_TRUE(seen) << frame.x() << "," << frame.y();
}

TEST_F(StartTest, EveryRowShowsOnlyLoadNumberAndSwatch) {
    Start();
    for (int slot = 1; slot <= 10; ++slot) {
        SCOPED_TRACE(slot);
        EXPECT_TRUE(RowShowsEmpty(slot));
        EXPECT_FALSE(ws().slot(slot).Loaded);
        EXPECT_EQ(row(slot).Command1->text(), "Load");
        EXPECT_EQ(row(slot).Label4->text(), QString::number(slot));
    }
    EXPECT_FALSE(ws().DataReady);
    EXPECT_FALSE(ws().PlotShown);
    EXPECT_GT(ws().LambdaMin, ws().LambdaMax);
}

TEST_F(StartTest, SwatchesShowTheSlotColours) {
    Start();
    const QColor expected[] = {{255, 0, 0},   {248, 119, 4}, {218, 220, 25}, {150, 196, 3}, {0, 161, 147},
                               {0, 160, 255}, {128, 0, 255}, {223, 0, 223},  {192, 80, 16}, {0, 0, 0}};
    for (int slot = 1; slot <= 10; ++slot) {
        SCOPED_TRACE(slot);
        QLabel* swatch = row(slot).Label3;
        EXPECT_TRUE(swatch->autoFillBackground());
        EXPECT_EQ(swatch->palette().color(QPalette::Window), expected[slot - 1]);
        EXPECT_EQ(swatch->grab().toImage().pixelColor(swatch->width() / 2, swatch->height() / 2), expected[slot - 1]);
    }
    EXPECT_EQ(ws().slot(10).SlotColor, 15);
}

TEST_F(StartTest, OffsetsRunFromMinus75To60) {
    Start();
    const int expected[] = {-75, -60, -45, -30, -15, 0, 15, 30, 45, 60};
    for (int slot = 1; slot <= 10; ++slot) {
        SCOPED_TRACE(slot);
        const QScrollBar* bar = row(slot).VScroll1;
        EXPECT_EQ(ws().slot(slot).Offset, expected[slot - 1]);
        EXPECT_EQ(bar->value(), expected[slot - 1]);
        EXPECT_EQ(bar->minimum(), -200);
        EXPECT_EQ(bar->maximum(), 60);
        EXPECT_EQ(bar->singleStep(), 1);
        EXPECT_EQ(bar->pageStep(), 5);
        EXPECT_EQ(row(slot).Label10->text(), QString::number(expected[slot - 1]));
        const QScrollBar* velocity = row(slot).HScroll1;
        EXPECT_EQ(velocity->minimum(), -32767);
        EXPECT_EQ(velocity->maximum(), 32767);
        EXPECT_EQ(velocity->singleStep(), 1);
        EXPECT_EQ(velocity->pageStep(), 100);
        EXPECT_EQ(velocity->value(), 0);
    }
    EXPECT_FALSE(PlotVisible());
}

// The main window's controls at their design places, in twips.
struct Placed {
    const char* what;
    QWidget* widget;
    double left, top, width, height;
};

TEST_F(StartTest, MainWindowControlsSitAtTheirDesignPlaces) {
    Start();
    QWidget* client = mainWindow().centralWidget();
    EXPECT_EQ(client->size(), QSize(TwipsToPixels(11505), TwipsToPixels(7245)));
    EXPECT_EQ(client->palette().color(QPalette::Window), QColor(160, 224, 255));

    std::vector<Placed> table = {{"Plot Spectra", mainWindow().plotButton(), 8640, 120, 2055, 375}};
    for (int slot : {1, 2, 10}) {
        const auto& r = row(slot);
        const double y = 1080 + 600 * (slot - 1);
        const bool odd = slot % 2 == 1;
        table.insert(table.end(), {{"Load", r.Command1, 120, y - 120, 855, 495},
                                   {"number", r.Label4, 1080, y, 255, 255},
                                   {"swatch", r.Label3, 1440, y, 255, 255},
                                   {"Hdr", r.Command4, 1800, y, 495, 255},
                                   {"file", r.Label7, 2400, y, 2295, 255},
                                   {"object", r.Label8, 4800, y, 1095, 255},
                                   {"level", r.Label14, 6000, y, 615, 255},
                                   {"offset bar", r.VScroll1, odd ? 6720. : 7920., y - 360, 255, 975},
                                   {"offset", r.Label10, odd ? 7080. : 8280., y, 495, 255},
                                   {"velocity bar", r.HScroll1, 8880, y, 975, 255},
                                   {"velocity", r.Label12, 9960, y, 495, 255},
                                   {"Unload", r.Command2, 10560, y, 735, 255}});
    }
    for (const Placed& p : table) {
        SCOPED_TRACE(p.what);
        EXPECT_EQ(p.widget->parentWidget(), client);
        EXPECT_EQ(p.widget->geometry(), QRect(TwipsToPixels(p.left), TwipsToPixels(p.top), TwipsToPixels(p.width),
                                              TwipsToPixels(p.height)));
    }
    // The guide lines run across the offset column of their row.
    EXPECT_EQ(row(1).Line10->geometry().left(), TwipsToPixels(7680));
    EXPECT_EQ(row(1).Line10->geometry().right() + 1, TwipsToPixels(8760));
    EXPECT_EQ(row(2).Line10->geometry().left(), TwipsToPixels(6720));
    EXPECT_EQ(row(2).Line10->geometry().right() + 1, TwipsToPixels(7800));
    EXPECT_EQ(row(2).Line10->geometry().top(), TwipsToPixels(1680 + 120));
    EXPECT_EQ(row(2).Line10->height(), 2);
}

TEST_F(StartTest, TitleAndHeadings) {
    Start();
    QWidget* client = mainWindow().centralWidget();
    std::map<QString, QLabel*> labels;
    for (QLabel* l : client->findChildren<QLabel*>(Qt::FindDirectChildrenOnly)) labels[l->text()] = l;

    ASSERT_TRUE(labels.count("Wendrel"));
    const QLabel* title = labels["Wendrel"];
    EXPECT_EQ(title->geometry(), QRect(TwipsToPixels(240), TwipsToPixels(120), TwipsToPixels(8295), TwipsToPixels(495)));
    EXPECT_EQ(title->font().pointSizeF(), 24);
    EXPECT_FALSE(title->font().bold());
    EXPECT_EQ(title->palette().color(QPalette::WindowText), QColor(128, 0, 0));
    EXPECT_TRUE(title->alignment() & Qt::AlignHCenter);

    const std::pair<const char*, double> headings[] = {{"Spectrum", 1080}, {"Filename", 2400}, {"Object", 4800},
                                                       {"Level", 6000},    {"Offset", 7080},   {"Velocity Shift (km/s)", 8640}};
    for (const auto& [caption, left] : headings) {
        SCOPED_TRACE(caption);
        ASSERT_TRUE(labels.count(caption));
        EXPECT_EQ(labels[caption]->geometry().topLeft(), QPoint(TwipsToPixels(left), TwipsToPixels(720)));
        EXPECT_TRUE(labels[caption]->isVisible());
    }
}

TEST_F(StartTest, MenusInBarOrder) {
    Start();
    QStringList bar;
    for (QAction* a : mainWindow().menuBar()->actions()) bar << a->text();
    EXPECT_EQ(bar, QStringList({"File", "Print Setup ...", "Help"}));
    QStringList file, help;
    for (QAction* a : MenuItem(mainWindow(), "File", {})->menu()->actions()) file << (a->isSeparator() ? "-" : a->text());
    for (QAction* a : MenuItem(mainWindow(), "Help", {})->menu()->actions()) help << (a->isSeparator() ? "-" : a->text());
    EXPECT_EQ(file, QStringList({"Open ...", "-", "Exit"}));
    EXPECT_EQ(help, QStringList({"Help - Intro", "-", "About"}));
}

}  // namespace
}  // namespace wendrel::testing
