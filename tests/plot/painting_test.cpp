// The plot painted: cells lit on a raster, lines cut to a vector target, envelopes of dense
// curves against every segment, picture files with curves as lines and labels as text.
#include <gtest/gtest.h>

#include <QBuffer>
#include <QPainter>
#include <QProcess>
#include <QRegularExpression>
#include <QSvgGenerator>
#include <QTemporaryDir>
#include <random>
#include <span>

#include "plot/painter_surface.h"
#include "plot/plot_window_size.h"
#include "plot/picture_files.h"
#include "plot/renderer.h"
#include "plot/sized_picture.h"
#include "tests/plot/plot_test_support.h"

namespace wendrel::testing {
namespace {


// Draws every tread and riser, as a surface without device columns asks for.
class EverySegmentSurface : public PainterSurface {
public:
    using PainterSurface::PainterSurface;
    double TwipsPerColumn() const override { return 0; }
};

// A white image of 15 twips per cell with what `draw` draws on it.
template <class Surface = PainterSurface, class Draw>
QImage Painted(QSize size, Draw draw) {
    QImage image(size, QImage::Format_RGB32);
    image.fill(Qt::white);
    {
        QPainter painter(&image);
        Surface surface(painter, QSizeF(size), 15, PainterSurface::Cells);
        draw(surface);
    }
    return image;
}

// Each row as text: '.' white, 'c' a curve's colour, '#' grey or black.
std::vector<std::string> Rows(const QImage& image) {
    std::vector<std::string> rows(image.height(), std::string(image.width(), '.'));
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (const QColor c = image.pixel(x, y); c != Qt::white) rows[y][x] = c.hsvSaturation() > 0 ? 'c' : '#';
    return rows;
}

TEST(PainterSurface, AxisLinesAndDashesLightTheCellsTheyMeet) {
    const QImage image = Painted(QSize(12, 6), [](PainterSurface& s) {
        s.SetForeColor(255);
        s.Line(15, 30, 60, 30);           // columns 1..4 (60 twips starts column 4), row 2
        s.Line(179, 0, 179, 14.9f);       // column 11, row 0 only
        s.Line(-1e30f, 75, INFINITY, 75);  // all of row 5
        s.Line(5000, 0, 5000, 100);       // right of the image
        s.Line(std::nanf(""), 0, 10, 10);
        s.DashedLine(0, 0, 165, 0);       // dashes of 4 cells from column 0, gaps of 3
        s.DashedLine(157, -1e30f, 157, 1e30f);  // column 10, in rhythm however far it starts
    });
    EXPECT_EQ(ColorOf(292856), QColor(248, 119, 4));
    EXPECT_EQ(Rows(image), (std::vector<std::string>{"cccc...ccccc", "..........c.", ".cccc.......", "............",
                                                     "............", "cccccccccccc"}));
}

// On a vector target every line is cut to the target and two units around
// it; a cut end lies exactly on the side it was cut at.
TEST(PainterSurface, LinesAreCutToTheTarget) {
    QBuffer svg;
    QSvgGenerator generator;
    generator.setOutputDevice(&svg), generator.setSize(QSize(20, 10));
    {
        QPainter painter(&generator);
        PainterSurface s(painter, QSizeF(20, 10), 15, PainterSurface::Floating);
        s.SetForeColor(0), s.Line(-1e30f, 45, 1e30f, 45);
        s.SetForeColor(255), s.Line(-1500, -1500, 4500, 4500);
        s.Line(600, 0, 900, 150);  // wholly outside
    }
    std::vector<std::string> polylines;
    for (auto m = QRegularExpression(" points=\"([^\"]*)\"").globalMatch(svg.data()); m.hasNext();)
        polylines.push_back(m.next().captured(1).simplified().toStdString());
    EXPECT_EQ(polylines, (std::vector<std::string>{"-1.5,3.5 22.5,3.5", "-1.5,-1.5 12.5,12.5"}));
}

// Noise around a slow wave, a spike every 50000 pixels and, if asked, runs of blank pixels.
std::vector<double> NoisySpectrum(size_t n, unsigned seed, bool withGaps) {
    std::mt19937 random(seed);
    std::normal_distribution<double> noise(0, 8);
    std::uniform_int_distribution<int> gapChance(0, 20000);
    std::vector<double> values(n);
    for (size_t k = 0; k < n; ++k) values[k] = k % 50000 == 7 ? 400 : 100 + 30 * std::sin(k * 2e-4) + noise(random);
    for (size_t k = 0; withGaps && k < n; ++k)
        if (gapChance(random) == 0) std::fill_n(values.begin() + k, std::min<size_t>(n - k, 1 + gapChance(random) % 3000), kNaN);
    if (withGaps) values[n / 2] = kNaN;
    return values;
}

// A slot whose pixel k (from 1) starts at 10^(logStart + (k - 1) logStep).
void LoadLogLinear(Workspace& ws, int i, double logStart, double logStep, std::vector<double> pct, int offset) {
    Spectrum& s = Load(ws, i, 0, 0, std::move(pct));
    for (size_t k = 0; k <= s.FluxPct.size(); ++k) s.PixelEdge.push_back(std::pow(10.0, logStart + k * logStep));
    std::tie(s.LambdaStart, s.LambdaEnd, ws.slot(i).Offset) = std::tuple(s.PixelEdge.front(), s.PixelEdge.back(), offset);
    s.DLambda = (s.LambdaEnd - s.LambdaStart) / s.Naxis1;
}

// Linear and log-linear slots, rising and falling, with gaps, spikes, a slot
// without a wavelength step and levels far off the picture.
TEST(PainterSurface, EnvelopesPaintTheSameCellsAsEverySegment) {
    Workspace ws = PlotWorkspace(0, 0);
    Load(ws, 1, 6000, 0.001, NoisySpectrum(1'000'000, 1, true));
    ws.slot(1).Offset = -60;
    Load(ws, 2, 6100.0005, 0.00077, NoisySpectrum(1'000'000, 2, false));
    Load(ws, 3, 5800, 0.37, NoisySpectrum(3000, 3, true));
    ws.slot(3).Offset = 45;
    Load(ws, 4, 7000, -0.001, NoisySpectrum(200'000, 5, true));
    ws.slot(4).Offset = 150;
    Load(ws, 5, 6900, 0, NoisySpectrum(1000, 6, false));
    Load(ws, 6, 6700, 0.01, {50, kNaN, 70, INFINITY, 90, 1e300}).PctMax = 90;
    LoadLogLinear(ws, 7, std::log10(6000.0), std::log10(7000.0 / 6000) / 1e6, NoisySpectrum(1'000'000, 7, true), -30);
    LoadLogLinear(ws, 8, std::log10(6400.0), 3e-8, NoisySpectrum(500'000, 9, false), 30);
    LoadLogLinear(ws, 9, std::log10(7040.0), -2e-7, NoisySpectrum(100'000, 10, true), 20);
    const struct { double left, right; QSize size; } views[] = {
        {5800, 7000, QSize(1600, 1000)}, {6123.4567, 6124.0123, QSize(1600, 1000)}, {6400.01, 6400.09, QSize(800, 600)},
        {6999.2, 7000.9, QSize(333, 517)}, {5900.3, 6600.7, QSize(1201, 777)}};
    for (const auto& v : views) {
        std::tie(ws.View.PlotLeft, ws.View.PlotRight) = std::tuple(v.left, v.right);
        const int width = v.size.width() * 15, height = v.size.height() * 15;
        const PlotArea area{OpenedWidth(width), OpenedHeight(height), double(width)};
        const auto redraw = [&](PlotSurface& s) { RedrawPlot(ws, s, area); };
        const QImage envelopes = Painted<PainterSurface>(v.size, redraw);
        EXPECT_TRUE(envelopes == Painted<EverySegmentSurface>(v.size, redraw)) << v.left;
        EXPECT_GT(std::ranges::count_if(Rows(envelopes), [](auto& row) { return row.find('c') != row.npos; }), 50);
    }
}

const QSize kSize(667, 467);

// Slot 1 (red) flat at 100 percent and slot 5 (teal) at 40, drawn with
// floating lines, and the labels.
void PaintTwoSlots(QPainter& painter) {
    Workspace ws = PlotWorkspace(4000, 4400);
    Load(ws, 1, 4000, 1, std::vector<double>(300, 100));
    Load(ws, 5, 4100, 1, std::vector<double>(300, 40));
    QFont font("DejaVu Sans");
    font.setPixelSize(11);
    const PlotLayout layout = [&] {
        PainterSurface surface(painter, kSize, 15, PainterSurface::Floating, font);
        return RedrawPlot(ws, surface, kArea);
    }();
    PaintPlotLabels(painter, layout, 15, font);
}

QByteArray Tool(const QString& program, const QStringList& arguments) {
    QProcess process;
    process.start(program, arguments);
    EXPECT_TRUE(process.waitForFinished(30000) && process.exitCode() == 0) << program.toStdString();
    return process.readAllStandardOutput();
}

TEST(PictureFiles, SvgAndPdfHoldTheCurvesAsLinesAndTheLabelsAsTextAndFailedWritesKeepTheFile) {
    QTemporaryDir dir;
    ASSERT_EQ(WriteSvg(kSize, PaintTwoSlots, dir.filePath("p.svg")), "");
    QFile file(dir.filePath("p.svg"));
    const QString svg = file.open(QIODevice::ReadOnly) ? file.readAll() : "";
    EXPECT_TRUE(svg.contains("viewBox=\"0 0 667 467\"") && svg.contains(">Wavelength /Angstroms</text>"));
    EXPECT_TRUE(svg.count("<polyline") == svg.count("points=") && !svg.contains("<image"));
    EXPECT_TRUE(svg.contains("stroke=\"#ff0000\"") && svg.contains("stroke=\"#00a193\""));

    ASSERT_EQ(WritePdf(kSize, 96, PaintTwoSlots, dir.filePath("p.pdf")), "");
    EXPECT_TRUE(Tool("pdftotext", {dir.filePath("p.pdf"), "-"}).contains("Wavelength /Angstroms"));
    Tool("pdftoppm", {"-png", "-r", "96", "-singlefile", dir.filePath("p.pdf"), dir.filePath("page")});
    const QImage page = QImage(dir.filePath("page.png")).convertToFormat(QImage::Format_RGB32);
    EXPECT_NEAR(page.width(), 667, 1);
    const std::span all(reinterpret_cast<const QRgb*>(page.constBits()), page.sizeInBytes() / 4);
    // Anti-aliased edges aside, the curves' own colours.
    EXPECT_TRUE(std::ranges::count(all, qRgb(255, 0, 0)) > 200 && std::ranges::count(all, qRgb(0, 161, 147)) > 200);
    // A failed write names the file and keeps the earlier one.
    const QString kept = dir.filePath("keep.png"), missing = dir.filePath("no/p.pdf");
    ASSERT_EQ(WritePng(QImage(4, 4, QImage::Format_RGB32), kept), "");
    EXPECT_NE(WritePng(QImage(), kept), "");  // a null image cannot be encoded
    EXPECT_EQ(QImage(kept).size(), QSize(4, 4));
    const std::string message = WritePdf(QSize(10, 10), 96, [](QPainter&) {}, missing);
    EXPECT_EQ(message.rfind("The picture could not be saved as \"" + missing.toStdString() + "\": ", 0), 0u) << message;
    EXPECT_EQ(PictureFormatOf("x.y.Pdf"), PictureFormat::Pdf);
}

// A picture of the size and font asked for: exactly those pixels, down to just below the labels.
TEST(SizedPicture, TheSizeAskedForInPixelsOrInchesAndItsLimits) {
    EXPECT_EQ(std::pair(PixelsOfInches(3.5, 300), InchesOfPixels(1050, 300)), std::pair(1050, 3.5));
    EXPECT_EQ(PictureRequestProblem({1050, 700, 300, 10}), "");
    for (const auto& [request, says] : {std::pair(PictureRequest{99, 700}, "100 to 20000 pixels"), {{800, 20001}, "20000"},
                                        {{800, 600, 20}, "dots per inch"}, {{800, 600, 96, 100}, "font size"}})
        EXPECT_NE(PictureRequestProblem(request).find(says), std::string::npos) << says;
    EXPECT_DOUBLE_EQ(PictureTwipsPerPixel({800, 600, 96, 8}), 15);  // the screen's picture

    Workspace ws = PlotWorkspace(4000, 4010);
    Load(ws, 1, 4000, 1, std::vector(10, 100.0));
    for (const double points : {8.0, 14.0}) {
        const QImage image = SizedPictureImage(ws, {1200, 500, 96, points});
        EXPECT_TRUE(image.size() == QSize(1200, 500) && image.devicePixelRatio() == 1) << points;
        int lowest = 0;  // the lowest row with anything on it: a label's, 60 twips (4 pixels) and a little above the bottom
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x) lowest = image.pixel(x, y) != qRgb(255, 255, 255) ? y : lowest;
        EXPECT_NEAR(lowest, 500 - 4, 4) << points;
    }
}

}  // namespace
}  // namespace wendrel::testing
