// The picture files: the plot in SVG and PDF as lines and text, and a failed
// write that names the file and keeps the earlier one.
#include "plot/picture_files.h"

#include <gtest/gtest.h>

#include <QPainter>
#include <QProcess>
#include <QTemporaryDir>

#include "plot/painter_surface.h"
#include "plot/renderer.h"
#include "tests/plot/plot_test_support.h"

namespace wendrel::testing {
namespace {

const QSize kSize(667, 467);

// Slot 1 (red) flat at 100 percent and slot 5 (teal) a ramp, drawn with
// floating lines, and the labels.
void PaintTwoSlots(QPainter& painter) {
    Workspace ws = PlotWorkspace(4000, 4400);
    Load(ws, 1, 4000, 1, std::vector<double>(300, 100));
    std::vector<double> ramp(300);
    for (size_t k = 0; k < ramp.size(); ++k) ramp[k] = 20 + k / 3.0;
    Load(ws, 5, 4100, 1, ramp);
    QFont font("DejaVu Sans");
    font.setPixelSize(11);
    PlotLayout layout;
    {
        PainterSurface surface(painter, kSize, 15, PainterSurface::Floating, font);
        layout = RedrawPlot(ws, surface, 10000);
    }
    PaintPlotLabels(painter, layout, 15, font);
}

QByteArray Tool(const QString& program, const QStringList& arguments) {
    QProcess process;
    process.start(program, arguments);
    EXPECT_TRUE(process.waitForFinished(30000) && process.exitCode() == 0) << program.toStdString();
    return process.readAllStandardOutput();
}

TEST(PictureFiles, SvgAndPdfHoldTheCurvesAsLinesAndTheLabelsAsText) {
    StartGuiApplication();
    QTemporaryDir dir;
    ASSERT_EQ(WriteSvg(kSize, PaintTwoSlots, dir.filePath("p.svg")), "");
    QFile file(dir.filePath("p.svg"));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QString svg = file.readAll();
    EXPECT_TRUE(svg.contains("viewBox=\"0 0 667 467\"") && svg.contains(">Wavelength /Angstroms</text>"));
    EXPECT_EQ(svg.count("<polyline"), svg.count("points="));
    EXPECT_EQ(svg.count("<image"), 0);
    EXPECT_TRUE(svg.count("stroke=\"#ff0000\"") >= 1 && svg.count("stroke=\"#00a193\"") >= 1);

    ASSERT_EQ(WritePdf(kSize, 96, PaintTwoSlots, dir.filePath("p.pdf")), "");
    EXPECT_TRUE(Tool("pdftotext", {dir.filePath("p.pdf"), "-"}).contains("Wavelength /Angstroms"));
    Tool("pdftoppm", {"-png", "-r", "96", "-singlefile", dir.filePath("p.pdf"), dir.filePath("page")});
    const QImage page = QImage(dir.filePath("page.png")).convertToFormat(QImage::Format_RGB32);
    EXPECT_NEAR(page.width(), 667, 1);
    const auto* cells = reinterpret_cast<const QRgb*>(page.constBits());
    const std::vector<QRgb> all(cells, cells + page.width() * page.height());
    EXPECT_GT(std::ranges::count(all, qRgb(255, 0, 0)), 200);  // anti-aliased edges aside, the curves' own colours
    EXPECT_GT(std::ranges::count(all, qRgb(0, 161, 147)), 200);
}

TEST(PictureFiles, AFailedWriteNamesTheFileAndKeepsTheEarlierOne) {
    QTemporaryDir dir;
    const QString kept = dir.filePath("keep.png"), missing = dir.filePath("no/p.pdf");
    ASSERT_EQ(WritePng(QImage(4, 4, QImage::Format_RGB32), kept), "");
    EXPECT_NE(WritePng(QImage(), kept), "");  // a null image cannot be encoded
    EXPECT_EQ(QImage(kept).size(), QSize(4, 4));
    const std::string message = WritePdf(QSize(10, 10), 96, [](QPainter&) {}, missing);
    EXPECT_EQ(message.rfind("The picture could not be saved as \"" + missing.toStdString() + "\": ", 0), 0u) << message;
    EXPECT_EQ(PictureFormatOf("x.y.Pdf"), PictureFormat::Pdf);
}

}  // namespace
}  // namespace wendrel::testing
