// The painter surface on a raster image: the cells its lines light, dashes,
// texts and labels, and envelope drawing against drawing every segment.
#include "plot/painter_surface.h"

#include <gtest/gtest.h>

#include <QGuiApplication>
#include <QPainter>
#include <cmath>
#include <limits>
#include <optional>
#include <random>
#include <string>
#include <vector>

#include "plot/renderer.h"

namespace wendrel {
namespace {

constexpr double kTwipsPerPixel = 15;
constexpr float kInf = std::numeric_limits<float>::infinity();
constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
const QRgb kWhite = qRgb(255, 255, 255);

// Draws every tread and riser, as a surface without device columns asks for.
class EverySegmentSurface : public PainterSurface {
public:
    using PainterSurface::PainterSurface;
    double TwipsPerColumn() const override { return 0; }
};

// A white image with a raster surface painting on it.
template <class Surface = PainterSurface>
struct Canvas {
    explicit Canvas(QSize size) : image(size, QImage::Format_RGB32) {
        image.fill(Qt::white);
        painter.begin(&image);
        surface.emplace(painter, QSizeF(size), kTwipsPerPixel, PainterSurface::Cells);
    }
    // The picture once everything is painted.
    const QImage& Done() {
        surface.reset();
        painter.end();
        return image;
    }
    QImage image;
    QPainter painter;
    std::optional<Surface> surface;
};

int CountColour(const QImage& image, QRgb colour) {
    int n = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x) n += image.pixel(x, y) == colour;
    return n;
}

TEST(PainterSurface, ColoursFromRedGreenBlueValues) {
    EXPECT_EQ(ColorOf(255), QColor(255, 0, 0));
    EXPECT_EQ(ColorOf(292856), QColor(248, 119, 4));
    EXPECT_EQ(ColorOf(16752640), QColor(0, 160, 255));
}

TEST(PainterSurface, AxisLinesLightTheCellsTheyMeet) {
    Canvas c(QSize(20, 10));
    c.surface->SetForeColor(255);
    c.surface->Line(15, 30, 60, 30);  // columns 1..4 (60 twips starts column 4), row 2
    c.surface->Line(299, 0, 299, 14.9f);  // column 19, row 0 only
    const QImage& image = c.Done();
    const QRgb red = qRgb(255, 0, 0);
    for (int x = 0; x < 20; ++x)
        EXPECT_EQ(image.pixel(x, 2) == red, x >= 1 && x <= 4) << x;
    EXPECT_EQ(image.pixel(19, 0), red);
    EXPECT_NE(image.pixel(19, 1), red);
    EXPECT_EQ(CountColour(image, red), 5);
}

TEST(PainterSurface, LinesBeyondTheImageAreClipped) {
    Canvas c(QSize(20, 10));
    c.surface->SetForeColor(0);
    c.surface->Line(-1e30f, 45, kInf, 45);        // the whole of row 3
    c.surface->Line(100, -kInf, 100, 1e9f);       // the whole of column 6
    c.surface->Line(5000, 0, 5000, 100);          // right of the image
    c.surface->Line(std::nanf(""), 0, 10, 10);    // not drawn
    EXPECT_EQ(CountColour(c.Done(), qRgb(0, 0, 0)), 20 + 10 - 1);
}

TEST(PainterSurface, SlantedLinesAreDrawn) {
    Canvas c(QSize(20, 20));
    c.surface->SetForeColor(0);
    c.surface->Line(0, 0, 299, 299);
    const QImage& image = c.Done();
    EXPECT_GE(CountColour(image, qRgb(0, 0, 0)), 19);
    EXPECT_EQ(image.pixel(10, 10), qRgb(0, 0, 0));
}

TEST(PainterSurface, VerticalDashesAlternateFromTheFirstCell) {
    Canvas c(QSize(10, 40));
    c.surface->SetForeColor(255);
    c.surface->DashedLine(3 * 15 + 7, 2 * 15, 3 * 15 + 7, 20 * 15 + 14);  // column 3, rows 2 .. 20
    const QImage& image = c.Done();
    const QRgb red = qRgb(255, 0, 0);
    const int period = PainterSurface::kDashUnits + PainterSurface::kGapUnits;
    for (int row = 0; row < 40; ++row) {
        SCOPED_TRACE(row);
        const bool lit = row >= 2 && row <= 20 && (row - 2) % period < PainterSurface::kDashUnits;
        EXPECT_EQ(image.pixel(3, row), lit ? red : kWhite);
        EXPECT_EQ(image.pixel(2, row), kWhite);
        EXPECT_EQ(image.pixel(4, row), kWhite);
    }
}

TEST(PainterSurface, HorizontalAndFarReachingDashesStayInsideTheImage) {
    Canvas s(QSize(30, 5));
    s.surface->SetForeColor(0);
    s.surface->DashedLine(0, 2 * 15, 29 * 15, 2 * 15);
    const QImage& row = s.Done();
    int lit = 0;
    for (int x = 0; x < 30; ++x) lit += row.pixel(x, 2) == qRgb(0, 0, 0);
    EXPECT_EQ(lit, 4 + 4 + 4 + 4 + 2);  // dashes from columns 0, 7, 14, 21, and 28..29

    // A line reaching far beyond the image costs no more than the image.
    Canvas t(QSize(5, 30));
    t.surface->SetForeColor(0);
    const float far = 1e30f;
    t.surface->DashedLine(15, -far, 15, far);
    t.surface->DashedLine(15, std::numeric_limits<float>::quiet_NaN(), 15, 100);
    const QImage& column1 = t.Done();
    int column = 0;
    for (int y = 0; y < 30; ++y) column += column1.pixel(1, y) != kWhite;
    EXPECT_GT(column, 10);
    EXPECT_LT(column, 30);
}

class Texts : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        if (QGuiApplication::instance()) return;
        if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
        static int argc = 1;
        static char name[] = "tests_plot_image";
        static char* argv[] = {name, nullptr};
        static QGuiApplication app(argc, argv);
    }
};

TEST_F(Texts, MarkNamesCentredOnTheirPlaceAboveTheBaseline) {
    Canvas c(QSize(200, 60));
    c.surface->SetForeColor(96 + 256 * 96 + 65536 * 96);
    c.surface->CentredText(100 * 15, 40 * 15, "H\u03b1 [O III]");
    const QImage& image = c.Done();
    int left = 200, right = -1, top = 60, bottom = -1;
    for (int y = 0; y < 60; ++y)
        for (int x = 0; x < 200; ++x)
            if (image.pixel(x, y) != kWhite) {
                left = std::min(left, x), right = std::max(right, x);
                top = std::min(top, y), bottom = std::max(bottom, y);
            }
    ASSERT_GE(right, 0) << "no text drawn";
    EXPECT_NEAR((left + right) / 2.0, 100, 3);
    EXPECT_LE(bottom, 42);  // only descenders below the baseline
    EXPECT_GT(bottom, 35);
    EXPECT_LT(top, 38);
}

TEST_F(Texts, LabelCaptionsAppearAtTheirPlaces) {
    PlotLayout layout;
    layout.labels[PlotLabel::WavelengthTitle] = {1500, 3000, "Wavelength /Angstroms"};
    layout.labels[PlotLabel::WavelengthFirstTick] = {3000, 600, ""};
    QImage picture(400, 300, QImage::Format_RGB32);
    picture.fill(Qt::white);
    QPainter painter(&picture);
    PaintPlotLabels(painter, layout, kTwipsPerPixel, LabelFont(kTwipsPerPixel));
    painter.end();
    int inked = 0, elsewhere = 0;
    for (int y = 0; y < picture.height(); ++y)
        for (int x = 0; x < picture.width(); ++x) {
            if (picture.pixel(x, y) == kWhite) continue;
            const bool nearLabel = x >= 100 && x < 400 && y >= 200 && y < 230;
            (nearLabel ? inked : elsewhere)++;
        }
    EXPECT_GT(inked, 20);
    EXPECT_EQ(elsewhere, 0);
}

// --- Envelope drawing against drawing every segment, pixel by pixel. ---

std::vector<double> NoisySpectrum(size_t n, unsigned seed, bool withGaps) {
    std::mt19937 random(seed);
    std::normal_distribution<double> noise(0, 8);
    std::uniform_int_distribution<int> gapChance(0, 20000);
    std::vector<double> values(n);
    for (size_t k = 0; k < n; ++k) {
        values[k] = 100 + 30 * std::sin(static_cast<double>(k) * 2e-4) + noise(random);
        if (k % 50000 == 7) values[k] = 400;  // lone spikes
    }
    if (withGaps) {
        for (size_t k = 0; k < n; ++k) {
            if (gapChance(random) != 0) continue;
            const size_t length = 1 + static_cast<size_t>(gapChance(random) % 3000);
            for (size_t g = k; g < std::min(n, k + length); ++g) values[g] = kNaN;
        }
        values[n / 2] = kNaN;  // a lone blank pixel
    }
    return values;
}

void Load(Workspace& ws, int i, double lambdaStart, double dLambda, std::vector<double> pct, int offset) {
    Slot& s = ws.slot(i);
    s.Loaded = true;
    s.Naxis1 = static_cast<double>(pct.size());
    s.LambdaStart = lambdaStart;
    s.DLambda = dLambda;
    s.LambdaEnd = lambdaStart + s.Naxis1 * dLambda;
    s.PctMax = -9999;
    for (double v : pct)
        if (std::isfinite(v)) s.PctMax = std::max(s.PctMax, v);
    s.FluxPct = std::move(pct);
    s.Offset = offset;
    ws.DataReady = true;
}

// A slot whose pixel k (from 1) starts at 10^(logStart + (k - 1) logStep).
void LoadLogLinear(Workspace& ws, int i, double logStart, double logStep, std::vector<double> pct, int offset) {
    Load(ws, i, 0, 0, std::move(pct), offset);
    Slot& s = ws.slot(i);
    s.PixelEdge.resize(s.FluxPct.size() + 1);
    for (size_t k = 0; k < s.PixelEdge.size(); ++k)
        s.PixelEdge[k] = std::pow(10.0, logStart + static_cast<double>(k) * logStep);
    s.LambdaStart = s.PixelEdge.front();
    s.LambdaEnd = s.PixelEdge.back();
    s.DLambda = (s.LambdaEnd - s.LambdaStart) / s.Naxis1;
    s.Dispersion = "log-linear";
}

template <class Surface>
QImage Drawn(const Workspace& ws, QSize pixels) {
    Canvas<Surface> canvas(pixels);
    RedrawPlot(ws, *canvas.surface, ws.PlotWinWidth);
    return canvas.Done();
}

void ExpectSamePicture(Workspace ws, QSize pixels, const std::string& what) {
    ws.PlotWinWidth = static_cast<int>(pixels.width() * kTwipsPerPixel);
    ws.PlotWinHeight = static_cast<int>(pixels.height() * kTwipsPerPixel);
    const QImage a = Drawn<PainterSurface>(ws, pixels);
    const QImage b = Drawn<EverySegmentSurface>(ws, pixels);
    ASSERT_EQ(a.size(), b.size());
    int differing = 0, firstX = -1, firstY = -1;
    for (int y = 0; y < a.height(); ++y)
        for (int x = 0; x < a.width(); ++x)
            if (a.pixel(x, y) != b.pixel(x, y) && differing++ == 0) {
                firstX = x;
                firstY = y;
            }
    EXPECT_EQ(differing, 0) << what << ": first at " << firstX << "," << firstY;
    // Curves are on the picture, not only grid and box.
    int curvePixels = 0;
    for (int i = 1; i <= kMaxSlots; ++i)
        if (ws.slot(i).Loaded) curvePixels += CountColour(a, ColorOf(ws.slot(i).SlotColor).rgb());
    EXPECT_GT(curvePixels, 100) << what;
}

TEST(EnvelopeDrawing, SameAsEverySegment) {
    Workspace ws;
    Load(ws, 1, 6000, 0.001, NoisySpectrum(1'000'000, 1, true), -60);
    Load(ws, 2, 6100.0005, 0.00077, NoisySpectrum(1'000'000, 2, false), 0);
    Load(ws, 3, 5800, 0.37, NoisySpectrum(3000, 3, true), 45);
    Load(ws, 4, 6500, 0.0013, NoisySpectrum(300'000, 4, true), 150);  // partly below the box
    const struct {
        double left, right;
        QSize size;
    } views[] = {
        {5800, 7000, QSize(1600, 1000)},        // everything, hundreds of pixels per column
        {6123.4567, 6124.0123, QSize(1600, 1000)},  // about one pixel per column
        {6400.01, 6400.09, QSize(800, 600)},    // pixels wider than columns
        {6000, 6003, QSize(333, 517)},
        {5900.3, 6600.7, QSize(1201, 777)},
    };
    for (const auto& v : views) {
        ws.PlotLeft = v.left;
        ws.PlotRight = v.right;
        ExpectSamePicture(ws, v.size, "view " + std::to_string(v.left));
    }
}

// Pixels whose widths grow along the spectrum, from a million down to a few
// thousand pixels, with a linear slot beside them.
TEST(EnvelopeDrawing, LogLinearSameAsEverySegment) {
    Workspace ws;
    const double log6000 = std::log10(6000.0), log7000 = std::log10(7000.0);
    LoadLogLinear(ws, 1, log6000, (log7000 - log6000) / 1e6, NoisySpectrum(1'000'000, 7, true), -60);
    LoadLogLinear(ws, 2, std::log10(5800.0), 2e-5, NoisySpectrum(3000, 8, true), 0);
    LoadLogLinear(ws, 3, std::log10(6400.0), 3e-8, NoisySpectrum(500'000, 9, false), 30);
    Load(ws, 4, 6100.0005, 0.00077, NoisySpectrum(1'000'000, 2, false), 45);
    const struct {
        double left, right;
        QSize size;
    } views[] = {
        {5800, 7000, QSize(1600, 1000)},
        {6123.4567, 6124.0123, QSize(1600, 1000)},
        {6400.01, 6400.09, QSize(800, 600)},
        {6999.2, 7000.9, QSize(333, 517)},
        {5900.3, 6600.7, QSize(1201, 777)},
    };
    for (const auto& v : views) {
        ws.PlotLeft = v.left;
        ws.PlotRight = v.right;
        ExpectSamePicture(ws, v.size, "log-linear view " + std::to_string(v.left));
    }
}

// Curves whose x falls as the pixel number grows take the general path.
TEST(EnvelopeDrawing, FallingWavelengthsAndOddSlots) {
    Workspace ws;
    Load(ws, 1, 7000, -0.001, NoisySpectrum(200'000, 5, true), 0);
    Load(ws, 2, 6900, 0, NoisySpectrum(1000, 6, false), 0);  // no wavelength step
    LoadLogLinear(ws, 3, std::log10(7040.0), -2e-7, NoisySpectrum(100'000, 10, true), 20);  // falling edges
    Load(ws, 5, 6700, 0.01, {50, kNaN, 70, std::numeric_limits<double>::infinity(), 90, 1e300}, 0);
    ws.slot(5).PctMax = 90;  // a level far off the picture, without stretching the axis
    ws.PlotLeft = 6750;
    ws.PlotRight = 7050;
    ExpectSamePicture(ws, QSize(900, 700), "falling");
}

}  // namespace
}  // namespace wendrel
