// File > "Save Picture As ..." in the plot window: the window's picture as a
// PNG of its pixels, an SVG drawing and a PDF page, read back.
#include <QFile>

#include "tests/windows/picture_checks.h"
#include "tests/windows/program_fixture.h"
#include "windows/plot_printing.h"

namespace wendrel::testing {
namespace {

class PictureSavingTest : public ProgramTest {
protected:
    // Saves through the menu, the file dialog answering `name` in the data folder.
    QString SaveAs(frmPlot_Spectra& plot, const std::string& name) {
        const QString path = DataFile(name);
        program_->pictureSaving().SetAskFileName([&](QWidget*, const QString& suggested) {
            offered_ = suggested;
            return path;
        });
        plot.SavePictureAction()->trigger();
        ProcessEvents();
        return path;
    }

    QString offered_;
};

TEST_F(PictureSavingTest, PngIsTheWindowsPicture) {
    frmPlot_Spectra& plot = StartWithTwoSpectra();
    const QImage saved(SaveAs(plot, "plot.png"));
    EXPECT_EQ(offered_, DataFile("s1.png"));
    EXPECT_TRUE(messages_.empty());
    EXPECT_EQ(saved.convertToFormat(QImage::Format_RGB32), WindowPicture(plot).convertToFormat(QImage::Format_RGB32));
    for (int slot : {1, 2}) EXPECT_GT(CountNear(saved, Swatch(slot), 0), 100) << slot;
    SaveAs(plot, "again.png");
    EXPECT_EQ(offered_, DataFile("plot.png"));  // the file saved last
}

TEST_F(PictureSavingTest, SvgHoldsTheCurvesAsPolylinesAndTheTextsAsText) {
    frmPlot_Spectra& plot = StartWithTwoSpectra();
    QFile file(SaveAs(plot, "plot.svg"));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QString svg = QString::fromUtf8(file.readAll());
    EXPECT_TRUE(messages_.empty());
    EXPECT_GE(svg.count("<polyline"), 2);
    for (int slot : {1, 2}) EXPECT_TRUE(svg.contains("stroke=\"" + Swatch(slot).name() + "\"")) << slot;
    for (const char* text : {">Wavelength /Angstroms</text>", ">Intensity</text>", ">Full Range</text>"})
        EXPECT_TRUE(svg.contains(text)) << text;
}

TEST_F(PictureSavingTest, PdfPageShowsTheCurvesAndTheTexts) {
    frmPlot_Spectra& plot = StartWithTwoSpectra();
    const QString pdf = SaveAs(plot, "plot.pdf");
    EXPECT_TRUE(messages_.empty());
    const QImage page = RenderPdfPage(pdf, 96);
    ASSERT_FALSE(page.isNull());
    for (int slot : {1, 2}) EXPECT_GT(CountNear(page, Swatch(slot)), 100) << slot;
    EXPECT_TRUE(PdfText(pdf).contains("Wavelength /Angstroms"));
}

}  // namespace
}  // namespace wendrel::testing
