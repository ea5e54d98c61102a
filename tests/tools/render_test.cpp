// wendrel-info --render: the picture of the plot it writes, checked against
// the plot's geometry and against the redraw drawn here directly.
#include <gtest/gtest.h>

#include <QGuiApplication>
#include <QImage>
#include <cmath>
#include <cstdlib>
#include <fstream>
#include <sys/wait.h>

#include <QPainter>

#include "plot/painter_surface.h"
#include "plot/renderer.h"
#include "tests/fits/fits_test_support.h"

namespace wendrel::testing {
namespace {

const QRgb kSlot1 = qRgb(255, 0, 0);
const QRgb kSlot2 = qRgb(248, 119, 4);

struct InfoRun {
    int exitCode = -1;
    std::string out, err;
};

std::string Slurp(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

// A flat spectrum of n pixels at 100 percent from `start`, 1 Angstrom per
// pixel, with pixel `linePixel` (if any) at 200 percent.
std::string FlatSpectrum(double start, size_t n, size_t linePixel = 0) {
    SpectrumFile s;
    s.stored.assign(n, 10);
    if (linePixel > 0) s.stored[linePixel - 1] = 20;
    s.crval1 = start;
    s.cd1_1 = 1;
    return SpectrumBytes(s);
}

class RenderTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        if (QGuiApplication::instance()) return;
        if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
        static int argc = 1;
        static char name[] = "tests_tools";
        static char* argv[] = {name, nullptr};
        static QGuiApplication app(argc, argv);
    }
    void SetUp() override { dir_ = FreshFolder("render"); }
    void TearDown() override { std::filesystem::remove_all(dir_); }

    void Write(const std::string& name, const std::string& bytes) { WriteFileBytes(dir_ / name, bytes); }

    InfoRun Info(const std::string& arguments) {
        const auto outPath = dir_ / "out.txt", errPath = dir_ / "err.txt";
        const std::string command = "cd '" + dir_.string() + "' && '" WENDREL_INFO_PATH "' " + arguments +
                                    " >'" + outPath.string() + "' 2>'" + errPath.string() + "'";
        const int status = std::system(command.c_str());
        return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, Slurp(outPath), Slurp(errPath)};
    }

    QImage Picture(const std::string& name = "plot.png") {
        QImage image;
        EXPECT_TRUE(image.load(QString::fromStdString((dir_ / name).string()), "PNG")) << name;
        return image.convertToFormat(QImage::Format_RGB32);
    }

    std::filesystem::path dir_;
};

// Columns (or rows) of the image where the colour appears, as first and last.
struct Extent {
    int first = -1, last = -1;
    bool Found() const { return first >= 0; }
};
Extent Columns(const QImage& image, QRgb colour, int rowFrom = 0, int rowTo = -1) {
    Extent e;
    if (rowTo < 0) rowTo = image.height() - 1;
    for (int x = 0; x < image.width(); ++x)
        for (int y = rowFrom; y <= rowTo; ++y)
            if (image.pixel(x, y) == colour) {
                if (e.first < 0) e.first = x;
                e.last = x;
                break;
            }
    return e;
}
Extent Rows(const QImage& image, QRgb colour, int columnFrom, int columnTo) {
    Extent e;
    for (int y = 0; y < image.height(); ++y)
        for (int x = columnFrom; x <= columnTo; ++x)
            if (image.pixel(x, y) == colour) {
                if (e.first < 0) e.first = y;
                e.last = y;
                break;
            }
    return e;
}

// Default size 10000 x 7000 twips: box from x 800 to 9585 (columns 53..639),
// y 300 to 4950 (rows 20..330); the right margin runs to column 666.
TEST_F(RenderTest, TwoFilesAtTheDefaultSizeShowBothColours) {
    Write("a.fits", FlatSpectrum(4000, 200));
    Write("b.fits", FlatSpectrum(4100, 200));
    const InfoRun run = Info("--render plot.png a.fits b.fits");
    ASSERT_EQ(run.exitCode, 0) << run.err;
    const QImage image = Picture();
    EXPECT_EQ(image.size(), QSize(667, 467));
    // Both curves inside the box, both zero-level markers in the margin.
    for (const QRgb colour : {kSlot1, kSlot2}) {
        EXPECT_TRUE(Columns(image, colour, 20, 330).first < 639);
        const Extent marker = Columns(image, colour, 0, image.height() - 1);
        EXPECT_EQ(marker.last, 666);
    }
    // Full range 4000 .. 4300: slot 1 starts at the box's left edge, slot 2 a third in.
    const Extent slot1 = Columns(image, kSlot1);
    const Extent slot2 = Columns(image, kSlot2);
    EXPECT_EQ(slot1.first, 53);
    EXPECT_NEAR(slot2.first, (800 + 8786.0 / 3) / 15, 1);
    // The wavelength title is painted as text, in black, about where the window puts it.
    int inked = 0;
    for (int y = (7000 - 1800) / 15; y < (7000 - 1800) / 15 + 15; ++y)
        for (int x = 7000 / 15; x < 7000 / 15 + 150; ++x) inked += qGray(image.pixel(x, y)) < 128;
    EXPECT_GT(inked, 30);
}

TEST_F(RenderTest, SizeIsTheOuterSizeAt15TwipsPerPixel) {
    Write("a.fits", FlatSpectrum(4000, 200));
    const struct {
        std::string size;
        QSize pixels;
    } cases[] = {
        {"12000x6000", QSize(800, 400)},
        {"12007X6008", QSize(800, 401)},  // to the nearest pixel
        {"3000x2000", QSize(489, 290)},   // raised to the window's smallest, 7335 x 4350
    };
    for (const auto& c : cases) {
        const InfoRun run = Info("--size " + c.size + " --render plot.png a.fits");
        ASSERT_EQ(run.exitCode, 0) << c.size << ": " << run.err;
        const QImage image = Picture();
        EXPECT_EQ(image.size(), c.pixels) << c.size;
        // The zero-level marker runs to the picture's right edge.
        EXPECT_EQ(Columns(image, kSlot1).last, c.pixels.width() - 1) << c.size;
    }
}

TEST_F(RenderTest, ViewPutsTheLineWhereItsWavelengthIs) {
    Write("a.fits", FlatSpectrum(4000, 200, 101));  // pixel 101 covers 4100 .. 4101 at 200 percent
    Write("b.fits", FlatSpectrum(5000, 200));
    const InfoRun run = Info("--render plot.png --view 4050:4150 a.fits b.fits");
    ASSERT_EQ(run.exitCode, 0) << run.err;
    const QImage image = Picture();
    // Curve x = 800 + 8786 (lambda - 4050) / 100 twips: the line from 5193 to 5281.
    const Extent top = Rows(image, kSlot1, 54, 638);
    ASSERT_TRUE(top.Found());
    const Extent line = Columns(image, kSlot1, top.first, top.first);
    EXPECT_EQ(line.first, 5193 / 15);
    EXPECT_EQ(line.last, 5281 / 15);
    // Slot 2 lies outside the view: only its marker, right of the box.
    EXPECT_EQ(Columns(image, kSlot2).first, 9585 / 15);
}

TEST_F(RenderTest, OffsetsMoveCurvesAndMarkers) {
    Write("a.fits", FlatSpectrum(4000, 200));
    Write("b.fits", FlatSpectrum(4000, 200));
    // Offsets 0 and -50: YMax 150, so 100 percent is at y 4950 - 4650 * 100/150 = 1850,
    // slot 2's curve at the box top (300) and its marker at 4950 - 4650 * 50/150 = 3400.
    InfoRun run = Info("--render plot.png --offsets 0,-50 a.fits b.fits");
    ASSERT_EQ(run.exitCode, 0) << run.err;
    QImage image = Picture();
    EXPECT_EQ(Rows(image, kSlot1, 100, 600).first, 1850 / 15);
    EXPECT_EQ(Rows(image, kSlot2, 100, 600).first, 300 / 15);
    EXPECT_EQ(Rows(image, kSlot1, 650, 660).first, 4950 / 15);
    EXPECT_EQ(Rows(image, kSlot2, 650, 660).first, 3400 / 15);

    // Without --offsets the rows' start offsets hold: -75 and -60, YMax 175.
    run = Info("--render plot.png a.fits b.fits");
    ASSERT_EQ(run.exitCode, 0) << run.err;
    image = Picture();
    EXPECT_EQ(Rows(image, kSlot1, 650, 660).first, static_cast<int>((4950 - 4650 * 75 / 175.0) / 15));
    EXPECT_EQ(Rows(image, kSlot2, 650, 660).first, static_cast<int>((4950 - 4650 * 60 / 175.0) / 15));

    // One offset for two files: the second keeps its start offset (-60).
    run = Info("--render plot.png --offsets=-100 a.fits b.fits");
    ASSERT_EQ(run.exitCode, 0) << run.err;
    image = Picture();
    EXPECT_EQ(Rows(image, kSlot1, 650, 660).first, static_cast<int>((4950 - 4650 * 100 / 200.0) / 15));
    EXPECT_EQ(Rows(image, kSlot2, 650, 660).first, static_cast<int>((4950 - 4650 * 60 / 200.0) / 15));
}

// Pixel k of a log-linear spectrum starts at 10^(CRVAL1 + (k - 1) CD1_1):
// its line is drawn there, not where a linear reading of the keywords would
// put it.
TEST_F(RenderTest, LogLinearLineAtItsTrueWavelength) {
    SpectrumFile s;
    s.stored.assign(1000, 10);
    s.stored[500] = 20;  // pixel 501
    s.crval1 = std::log10(6000.0);
    s.cd1_1 = 1e-4;
    s.extraCards = {IntCard("DC-FLAG", 1)};
    Write("log.fits", SpectrumBytes(s));
    const double start = 6000 * std::pow(10.0, 500e-4), end = 6000 * std::pow(10.0, 501e-4);  // 6732.25 .. 6733.80
    const InfoRun run = Info("--render plot.png --view 6700:6760 log.fits");
    ASSERT_EQ(run.exitCode, 0) << run.err;
    const QImage image = Picture();
    const Extent top = Rows(image, kSlot1, 54, 638);
    ASSERT_TRUE(top.Found());
    const Extent line = Columns(image, kSlot1, top.first, top.first);
    const auto column = [](double lambda) { return static_cast<int>((800 + 8786 * (lambda - 6700) / 60) / 15); };
    EXPECT_EQ(line.first, column(start));
    EXPECT_EQ(line.last, column(end));
}

// The written picture is the one the redraw draws into an image surface of
// that size, labels included.
TEST_F(RenderTest, SameAsTheRedrawDrawnDirectly) {
    Write("a.fits", FlatSpectrum(4000, 300, 120));
    Write("b.fits", FlatSpectrum(4150.5, 250, 30));
    const InfoRun run = Info("--render plot.png --size 9000x8000 --view 4100.25:4300 --offsets 10,-20 a.fits b.fits");
    ASSERT_EQ(run.exitCode, 0) << run.err;

    Workspace ws;
    RecordingUi ui;
    ASSERT_TRUE(LoadIntoSlot(ws, 1, dir_ / "a.fits", ui));
    ASSERT_TRUE(LoadIntoSlot(ws, 2, dir_ / "b.fits", ui));
    ws.slot(1).Offset = 10;
    ws.slot(2).Offset = -20;
    ws.PlotLeft = 4100.25;
    ws.PlotRight = 4300;
    ws.PlotWinWidth = 9000;
    ws.PlotWinHeight = 8000;
    QImage drawn(600, 533, QImage::Format_RGB32);
    drawn.fill(Qt::white);
    QPainter painter(&drawn);
    PlotLayout layout;
    {
        PainterSurface surface(painter, drawn.size(), 15, PainterSurface::Cells);
        layout = RedrawPlot(ws, surface, 9000);
    }
    PaintPlotLabels(painter, layout, 15, LabelFont(15));
    painter.end();
    EXPECT_TRUE(Picture() == drawn);
}

TEST_F(RenderTest, JsonLinesAreTheSameWithAndWithoutAPicture) {
    Write("a.fits", FlatSpectrum(4000, 200));
    const InfoRun plain = Info("--pixels a.fits");
    const InfoRun rendered = Info("--pixels a.fits --render plot.png --view 4010:4020");
    EXPECT_EQ(rendered.exitCode, 0);
    EXPECT_EQ(rendered.out, plain.out);
    EXPECT_TRUE(rendered.err.empty()) << rendered.err;
}

TEST_F(RenderTest, RefusedFilesAndUnwritablePictures) {
    Write("a.fits", FlatSpectrum(4000, 200));
    Write("bad.fits", "not fits");

    // A refused file: the others are still drawn, and the status says a file was refused.
    InfoRun run = Info("--render plot.png bad.fits a.fits");
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_TRUE(Columns(Picture(), qRgb(248, 119, 4)).Found());  // a.fits went into slot 2

    // Nothing loaded: no picture, said so.
    std::filesystem::remove(dir_ / "plot.png");
    run = Info("--render plot.png bad.fits");
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_FALSE(std::filesystem::exists(dir_ / "plot.png"));
    EXPECT_NE(run.err.find("no picture was written to plot.png"), std::string::npos) << run.err;

    // A folder that does not exist, and a folder in the file's place.
    std::filesystem::create_directory(dir_ / "taken.png");
    for (const std::string out : {"missing/plot.png", "taken.png"}) {
        run = Info("--render " + out + " a.fits");
        EXPECT_EQ(run.exitCode, 3) << out;
        EXPECT_NE(run.err.find("cannot write " + out), std::string::npos) << run.err;
        EXPECT_FALSE(run.out.empty());  // the loads are still reported
    }
    EXPECT_TRUE(std::filesystem::is_directory(dir_ / "taken.png"));
}

TEST_F(RenderTest, BadArgumentsAreUsageErrors) {
    Write("a.fits", FlatSpectrum(4000, 200));
    Write("b.fits", FlatSpectrum(4000, 200));
    const struct {
        std::string arguments;
        std::string mentions;
    } cases[] = {
        {"--render a.fits", "no FITS file"},
        {"a.fits --render", "--render needs a value"},
        {"--render= a.fits", "--render needs the name"},
        {"--size 10000x7000 a.fits", "only shape the picture of --render"},
        {"--view 4000:4100 a.fits", "only shape the picture of --render"},
        {"--offsets 1 a.fits", "only shape the picture of --render"},
        {"--render p.png --size 10000 a.fits", "--size needs WIDTHxHEIGHT"},
        {"--render p.png --size 0x7000 a.fits", "--size needs WIDTHxHEIGHT"},
        {"--render p.png --size 32768x7000 a.fits", "--size needs WIDTHxHEIGHT"},
        {"--render p.png --size 10000x7000.5 a.fits", "--size needs WIDTHxHEIGHT"},
        {"--render p.png --size x7000 a.fits", "--size needs WIDTHxHEIGHT"},
        {"--render p.png --size ' 10000x7000' a.fits", "--size needs WIDTHxHEIGHT"},
        {"--render p.png --view 4100:4000 a.fits", "--view needs LEFT:RIGHT"},
        {"--render p.png --view 4100:4100 a.fits", "--view needs LEFT:RIGHT"},
        {"--render p.png --view 4100 a.fits", "--view needs LEFT:RIGHT"},
        {"--render p.png --view 4000:inf a.fits", "--view needs LEFT:RIGHT"},
        {"--render p.png --view a:b a.fits", "--view needs LEFT:RIGHT"},
        {"--render p.png --view 4000:4100:4200 a.fits", "--view needs LEFT:RIGHT"},
        {"--render p.png --offsets 1,,2 a.fits b.fits", "\"\" is not one"},
        {"--render p.png --offsets 1.5 a.fits", "\"1.5\" is not one"},
        {"--render p.png --offsets 99999999999 a.fits", "is not one"},
        {"--render p.png --offsets 1,2,3 a.fits b.fits", "3 offsets were given for 2 files"},
        // The first fault as written, values of options skipped.
        {"--render p.png --view -5:4100 -5 a.fits", "unknown option -5\n"},
        {"--render --pixels=1 --header=2 a.fits", "--header takes no value"},
    };
    for (const auto& c : cases) {
        const InfoRun run = Info(c.arguments);
        EXPECT_EQ(run.exitCode, 2) << c.arguments;
        EXPECT_TRUE(run.out.empty()) << c.arguments;
        EXPECT_NE(run.err.find(c.mentions), std::string::npos) << c.arguments << ": " << run.err;
    }
    EXPECT_FALSE(std::filesystem::exists(dir_ / "p.png"));
    // Negative wavelengths and offsets are values, not options.
    const InfoRun negative = Info("--render p.png --view -5:4100 --offsets -200,60 a.fits b.fits");
    EXPECT_EQ(negative.exitCode, 0) << negative.err;
}

}  // namespace
}  // namespace wendrel::testing
