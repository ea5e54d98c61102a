// The picture files: PNG pixels, the plot drawn with floating lines into SVG
// and PDF as lines and text, and the failures.
#include "plot/picture_files.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QProcess>
#include <QTemporaryDir>
#include <cmath>
#include <limits>

#include "plot/painter_surface.h"
#include "plot/renderer.h"

namespace wendrel {
namespace {

constexpr double kTwipsPerUnit = 15;
const QSize kSize(667, 467);

class PictureFilesTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        if (QGuiApplication::instance()) return;
        if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
        static int argc = 1;
        static char name[] = "tests_plot_vector";
        static char* argv[] = {name, nullptr};
        static QGuiApplication app(argc, argv);
    }

    // Two slots: slot 1 (red) a flat line at 100 percent, slot 5 (teal) a ramp.
    static Workspace TwoSlots() {
        Workspace ws;
        ws.PlotWinWidth = 10000;
        ws.PlotWinHeight = 7000;
        for (int i = 1; i <= kMaxSlots; ++i) ws.slot(i).Offset = 0;
        Fill(ws.slot(1), 4000, std::vector<double>(300, 100));
        std::vector<double> ramp(300);
        for (size_t k = 0; k < ramp.size(); ++k) ramp[k] = 20 + static_cast<double>(k) / 3;
        Fill(ws.slot(5), 4100, ramp);
        ws.LambdaMin = ws.PlotLeft = 4000;
        ws.LambdaMax = ws.PlotRight = 4400;
        ws.DataReady = true;
        return ws;
    }

    static void Fill(Slot& s, double start, std::vector<double> pct) {
        s.Loaded = true;
        s.Naxis1 = static_cast<double>(pct.size());
        s.LambdaStart = start;
        s.DLambda = 1;
        s.LambdaEnd = start + s.Naxis1;
        s.PctMax = *std::max_element(pct.begin(), pct.end());
        s.FluxPct = std::move(pct);
    }

    // The plot of TwoSlots drawn with floating lines, and its labels.
    static void PaintTwoSlots(QPainter& painter) {
        QFont font("DejaVu Sans");
        font.setPixelSize(11);
        PlotLayout layout;
        {
            PainterSurface surface(painter, kSize, kTwipsPerUnit, PainterSurface::Floating, font);
            layout = RedrawPlot(TwoSlots(), surface, 10000);
        }
        PaintPlotLabels(painter, layout, kTwipsPerUnit, font);
    }

    static int CountColour(const QImage& image, const QColor& colour) {
        int n = 0;
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x) n += image.pixelColor(x, y) == colour;
        return n;
    }

    static int Count(const std::string& text, const std::string& part) {
        int n = 0;
        for (size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1)) ++n;
        return n;
    }

    QString Path(const QString& name) const { return dir_.filePath(name); }
    QTemporaryDir dir_;
};

TEST_F(PictureFilesTest, FormatsByTheFileEnding) {
    EXPECT_EQ(PictureFormatOf("a/plot.png"), PictureFormat::Png);
    EXPECT_EQ(PictureFormatOf("PLOT.SVG"), PictureFormat::Svg);
    EXPECT_EQ(PictureFormatOf("x.y.Pdf"), PictureFormat::Pdf);
    EXPECT_EQ(PictureFormatOf("plot.jpg"), std::nullopt);
    EXPECT_EQ(PictureFormatOf("plot"), std::nullopt);
    EXPECT_EQ(PictureFormatOf("png"), std::nullopt);
}

TEST_F(PictureFilesTest, PngKeepsSizeAndColours) {
    QImage image(320, 200, QImage::Format_RGB32);
    image.fill(QColor(1, 2, 3));
    image.setPixelColor(5, 6, QColor(255, 0, 0));
    ASSERT_EQ(WritePng(image, Path("p.png")), "");
    const QImage back(Path("p.png"));
    EXPECT_EQ(back.size(), QSize(320, 200));
    EXPECT_EQ(back.pixelColor(5, 6), QColor(255, 0, 0));
    EXPECT_EQ(back.pixelColor(0, 0), QColor(1, 2, 3));
}

TEST_F(PictureFilesTest, PdfPageShowsTheCurvesInTheirColoursAndTheLabelsAsText) {
    ASSERT_EQ(WritePdf(kSize, 96, PaintTwoSlots, Path("p.pdf")), "");
    QProcess convert;
    convert.start("pdftoppm", {"-png", "-r", "96", "-singlefile", Path("p.pdf"), Path("page")});
    ASSERT_TRUE(convert.waitForFinished(30000));
    ASSERT_EQ(convert.exitCode(), 0) << convert.readAllStandardError().toStdString();
    const QImage page(Path("page.png"));
    ASSERT_FALSE(page.isNull());
    EXPECT_NEAR(page.width(), 667, 1);
    EXPECT_NEAR(page.height(), 467, 1);
    // Anti-aliased edges aside, the curves' own colours are there.
    EXPECT_GT(CountColour(page, QColor(255, 0, 0)), 200);
    EXPECT_GT(CountColour(page, QColor(0, 161, 147)), 200);

    QProcess text;
    text.start("pdftotext", {Path("p.pdf"), "-"});
    ASSERT_TRUE(text.waitForFinished(30000));
    EXPECT_TRUE(text.readAllStandardOutput().contains("Wavelength /Angstroms"));
}

// Lines joined in one colour are one polyline each; texts stay text.
TEST_F(PictureFilesTest, SvgHoldsTheCurvesAsLinesAndTheLabelsAsText) {
    ASSERT_EQ(WriteSvg(kSize, PaintTwoSlots, Path("p.svg")), "");
    QFile file(Path("p.svg"));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const std::string svg = file.readAll().toStdString();
    EXPECT_NE(svg.find("viewBox=\"0 0 667 467\""), std::string::npos);
    EXPECT_EQ(Count(svg, "<polyline"), Count(svg, "points="));
    EXPECT_GE(Count(svg, "stroke=\"#ff0000\""), 1);
    EXPECT_LE(Count(svg, "stroke=\"#ff0000\""), 2);  // slot 1's curve and its zero marker
    EXPECT_GE(Count(svg, "stroke=\"#00a193\""), 1);
    EXPECT_NE(svg.find(">Wavelength /Angstroms</text>"), std::string::npos);
    EXPECT_EQ(svg.find("<image"), std::string::npos);
}

TEST_F(PictureFilesTest, AFolderInTheWayOrAMissingFolderIsReportedWithTheFileName) {
    ASSERT_TRUE(QDir(dir_.path()).mkdir("taken.svg"));
    const QString taken = Path("taken.svg");
    const auto nothing = [](QPainter&) {};
    EXPECT_EQ(WriteSvg(QSize(10, 10), nothing, taken),
              "The picture could not be saved as \"" + taken.toStdString() + "\": a folder of that name is in the way.");
    const QString missing = Path("no/such/folder/p.pdf");
    const std::string message = WritePdf(QSize(10, 10), 96, nothing, missing);
    EXPECT_EQ(message.rfind("The picture could not be saved as \"" + missing.toStdString() + "\": ", 0), 0u) << message;
    EXPECT_FALSE(QFile::exists(missing));
    const std::string png = WritePng(QImage(4, 4, QImage::Format_RGB32), Path("no/p.png"));
    EXPECT_NE(png.find("no/p.png"), std::string::npos);
}

TEST_F(PictureFilesTest, AFailedWriteKeepsTheEarlierFile) {
    QFile earlier(Path("keep.png"));
    ASSERT_TRUE(earlier.open(QIODevice::WriteOnly));
    earlier.write("earlier");
    earlier.close();
    EXPECT_NE(WritePng(QImage(), Path("keep.png")), "");  // a null image cannot be encoded
    ASSERT_TRUE(earlier.open(QIODevice::ReadOnly));
    EXPECT_EQ(earlier.readAll(), "earlier");
}

}  // namespace
}  // namespace wendrel
