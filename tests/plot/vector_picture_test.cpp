// The plot as a vector picture: lines joined into polylines, the redraw
// replayed without changing the workspace, the SVG document, painting, and
// the picture files with their failures.
#include "plot/vector_picture.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QProcess>
#include <QTemporaryDir>
#include <cmath>
#include <limits>

#include "plot/picture_files.h"
#include "plot/renderer.h"

namespace wendrel {
namespace {

constexpr double kTwipsPerUnit = 15;
const QSizeF kSize(10000 / kTwipsPerUnit, 7000 / kTwipsPerUnit);

class VectorPictureTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        if (QGuiApplication::instance()) return;
        if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
        static int argc = 1;
        static char name[] = "tests_plot_vector";
        static char* argv[] = {name, nullptr};
        static QGuiApplication app(argc, argv);
    }

    static PictureFonts Fonts() {
        QFont font("DejaVu Sans");
        font.setPixelSize(11);
        return {font, font};
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

    static QImage Painted(const VectorPicture& picture) {
        QImage image(picture.size.toSize(), QImage::Format_RGB32);
        QPainter painter(&image);
        PaintVectorPicture(painter, picture);
        return image;
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
};

TEST_F(VectorPictureTest, ConnectedLinesOfOneColourJoinIntoOnePolyline) {
    VectorSurface s(QSizeF(100, 100), kTwipsPerUnit, 1500, Fonts());
    s.SetForeColor(255);
    s.Line(0, 150, 150, 150);
    s.Line(150, 150, 150, 300);
    s.Line(150, 300, 300, 300);
    s.Line(600, 600, 750, 600);  // not connected: a second polyline
    s.SetForeColor(9675008);
    s.Line(750, 600, 900, 600);  // another colour: a second stroke
    s.Line(std::nanf(""), 0, 10, 10);
    const VectorPicture p = s.Picture(Qt::white);
    ASSERT_EQ(p.strokes.size(), 2u);
    EXPECT_EQ(p.strokes[0].color, QColor(255, 0, 0));
    ASSERT_EQ(p.strokes[0].polylines.size(), 2u);
    EXPECT_EQ(p.strokes[0].polylines[0],
              (std::vector<QPointF>{{0.5, 10.5}, {10.5, 10.5}, {10.5, 20.5}, {20.5, 20.5}}));
    EXPECT_EQ(p.strokes[1].color, QColor(0, 161, 147));
    EXPECT_EQ(p.strokes[1].polylines.size(), 1u);
}

TEST_F(VectorPictureTest, LinesFarOutsideAreCutToThePicture) {
    VectorSurface s(QSizeF(100, 50), kTwipsPerUnit, 1500, Fonts());
    s.Line(-1e30f, 300, 1e30f, 300);
    s.Line(10000, 0, 20000, 0);  // wholly to the right
    const VectorPicture p = s.Picture(Qt::white);
    ASSERT_EQ(p.strokes.size(), 1u);
    ASSERT_EQ(p.strokes[0].polylines.size(), 1u);
    EXPECT_EQ(p.strokes[0].polylines[0], (std::vector<QPointF>{{-2, 20.5}, {102, 20.5}}));
}

TEST_F(VectorPictureTest, ClsForgetsLinesButLabelsStayAndEmptyOnesAreLeftOut) {
    VectorSurface s(QSizeF(100, 100), kTwipsPerUnit, 1500, Fonts());
    s.Line(0, 0, 150, 0);
    s.SetLabel(PlotLabel::Label3, 300, 450, "Wavelength /Angstroms");
    s.SetLabel(PlotLabel::Label1, 0, 0, "");
    s.Cls();
    const VectorPicture p = s.Picture(Qt::white);
    EXPECT_TRUE(p.strokes.empty());
    ASSERT_EQ(p.texts.size(), 1u);
    EXPECT_EQ(p.texts[0].text, "Wavelength /Angstroms");
    EXPECT_EQ(p.texts[0].origin.x(), 20);  // labels keep their exact place
    EXPECT_GT(p.texts[0].origin.y(), 30);  // the baseline lies below the label's top
    EXPECT_LT(p.texts[0].origin.y(), 30 + 14);
}

TEST_F(VectorPictureTest, ReplayLeavesTheWorkspaceAsItWas) {
    Workspace ws = TwoSlots();
    ws.PlotX0 = 1;
    ws.YMax = -5;
    ws.PlotShown = false;
    ws.slot(1).FirstPix = 77;
    const VectorPicture p = ReplayPlot(ws, kSize, kTwipsPerUnit, 10000, Fonts(), Qt::white);
    EXPECT_EQ(ws.PlotX0, 1);
    EXPECT_EQ(ws.YMax, -5);
    EXPECT_FALSE(ws.PlotShown);
    EXPECT_FALSE(ws.Drawing);
    EXPECT_EQ(ws.slot(1).FirstPix, 77);
    EXPECT_EQ(ws.PlotLeft, 4000);

    std::vector<QColor> colours;
    for (const auto& stroke : p.strokes) colours.push_back(stroke.color);
    EXPECT_NE(std::find(colours.begin(), colours.end(), QColor(255, 0, 0)), colours.end());
    EXPECT_NE(std::find(colours.begin(), colours.end(), QColor(0, 161, 147)), colours.end());
    EXPECT_NE(std::find(colours.begin(), colours.end(), QColor(192, 192, 192)), colours.end());
    QStringList texts;
    for (const auto& text : p.texts) texts << text.text;
    EXPECT_TRUE(texts.contains("Wavelength /Angstroms")) << texts.join("|").toStdString();
    EXPECT_EQ(p.size, kSize);
}

TEST_F(VectorPictureTest, ReplayBeforeAnyLoadIsEmpty) {
    Workspace ws;
    const VectorPicture p = ReplayPlot(ws, kSize, kTwipsPerUnit, 10000, Fonts(), Qt::white);
    EXPECT_TRUE(p.strokes.empty());
    EXPECT_TRUE(p.texts.empty());
}

TEST_F(VectorPictureTest, SvgHoldsPathsAndTextsAndNoImage) {
    Workspace ws = TwoSlots();
    VectorPicture p = ReplayPlot(ws, kSize, kTwipsPerUnit, 10000, Fonts(), QColor(240, 240, 240));
    p.controls.push_back(VectorPicture::Box{QRectF(10, 400, 60, 17), Qt::white, QColor(100, 100, 100)});
    p.controls.push_back(VectorPicture::Text{QPointF(40, 412), "In & <Out>", Fonts().labels, Qt::black, true});
    const std::string svg = SvgDocument(p);
    EXPECT_EQ(svg.rfind("<?xml", 0), 0u);
    EXPECT_NE(svg.find("viewBox=\"0 0 666.67 466.67\""), std::string::npos);
    EXPECT_NE(svg.find("fill=\"#f0f0f0\""), std::string::npos);
    EXPECT_GE(Count(svg, "<path "), 3);
    EXPECT_EQ(Count(svg, "stroke=\"#ff0000\""), 1);  // slot 1's curve and its zero marker, one path
    EXPECT_GE(Count(svg, "stroke=\"#00a193\""), 1);
    EXPECT_NE(svg.find(">Wavelength /Angstroms</text>"), std::string::npos);
    EXPECT_NE(svg.find("text-anchor=\"middle\">In &amp; &lt;Out&gt;</text>"), std::string::npos);
    EXPECT_NE(svg.find("xml:space=\"preserve\""), std::string::npos);
    EXPECT_EQ(svg.find("<image"), std::string::npos);
    EXPECT_EQ(svg.find("nan"), std::string::npos);
}

TEST_F(VectorPictureTest, PaintingPutsTheCurvesWhereTheImageSurfacePutsThem) {
    Workspace ws = TwoSlots();
    const QImage painted = Painted(ReplayPlot(ws, kSize, kTwipsPerUnit, 10000, Fonts(), Qt::white));
    // Slot 1's flat curve at 100 percent, from 4000 to 4300 Angstroms.
    VectorSurface surface(kSize, kTwipsPerUnit, 10000, Fonts());
    RedrawPlot(ws, surface);
    const double y = ws.PlotY1 - (ws.PlotY1 - ws.PlotY0) * 100 / ws.YMax;
    const int row = static_cast<int>(std::floor(y / kTwipsPerUnit));
    // Within half a pixel of where the screen puts it: in its row or the next.
    int red = 0;
    for (int x = 0; x < painted.width(); ++x)
        red += painted.pixelColor(x, row) == QColor(255, 0, 0) || painted.pixelColor(x, row + 1) == QColor(255, 0, 0);
    EXPECT_GT(red, 300);
    EXPECT_GT(CountColour(painted, QColor(0, 161, 147)), 300);
}

class PictureFilesTest : public VectorPictureTest {
protected:
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

TEST_F(PictureFilesTest, PdfPageShowsTheCurvesInTheirColours) {
    Workspace ws = TwoSlots();
    const VectorPicture picture = ReplayPlot(ws, kSize, kTwipsPerUnit, 10000, Fonts(), Qt::white);
    ASSERT_EQ(WritePdf(picture, 96, Path("p.pdf")), "");
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

TEST_F(PictureFilesTest, SvgFileIsTheDocument) {
    Workspace ws = TwoSlots();
    const VectorPicture picture = ReplayPlot(ws, kSize, kTwipsPerUnit, 10000, Fonts(), Qt::white);
    ASSERT_EQ(WriteSvg(picture, Path("p.svg")), "");
    QFile file(Path("p.svg"));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(file.readAll().toStdString(), SvgDocument(picture));
}

TEST_F(PictureFilesTest, AFolderInTheWayOrAMissingFolderIsReportedWithTheFileName) {
    ASSERT_TRUE(QDir(dir_.path()).mkdir("taken.svg"));
    const QString taken = Path("taken.svg");
    EXPECT_EQ(WriteSvg({}, taken),
              "The picture could not be saved as \"" + taken.toStdString() + "\": a folder of that name is in the way.");
    const QString missing = Path("no/such/folder/p.pdf");
    VectorPicture small;
    small.size = QSizeF(10, 10);
    const std::string message = WritePdf(small, 96, missing);
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
