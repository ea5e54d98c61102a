// File > "Save Picture As ..." in the program's plot window: PNG, SVG and PDF
// files of the window's picture, read back and checked, and the failures.
#include <QFile>
#include <QImage>
#include <QProcess>

#include "plot/picture_files.h"
#include "tests/windows/program_fixture.h"
#include "windows/plot_printing.h"
#include "windows/plot_window.h"

namespace wendrel::testing {
namespace {

const QColor kSlot1(255, 0, 0), kSlot2(248, 119, 4);

class PictureSavingTest : public ProgramTest {
protected:
    // The program with two spectra loaded and the plot shown; the save
    // dialog answers with `answer_` and notes what it offered.
    void StartWithTwoSpectra() {
        WriteSpectrum(data_ / "hd1234.fits", {.crval1 = 4000, .value = 100});
        WriteSpectrum(data_ / "vega.fits", {.crval1 = 4100, .value = 200});
        Start();
        program().pictureSaving().SetAskFileName([this](QWidget*, const QString& suggested) {
            offered_ << suggested;
            return answer_;
        });
        program().LoadAtStart({QString::fromStdString((data_ / "hd1234.fits").string()),
                               QString::fromStdString((data_ / "vega.fits").string())});
        ProcessEvents();
        ASSERT_TRUE(PlotVisible());
    }

    void SaveAs(const std::filesystem::path& file) {
        answer_ = QString::fromStdString(file.string());
        MenuItem(*plotWindow(), "File", "Save Picture As ...")->trigger();
        ProcessEvents();
    }

    static int CountColour(const QImage& image, const QColor& colour) {
        int n = 0;
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x) n += image.pixelColor(x, y) == colour;
        return n;
    }

    static QString Read(const std::filesystem::path& file) {
        QFile f(QString::fromStdString(file.string()));
        return f.open(QIODevice::ReadOnly) ? QString::fromUtf8(f.readAll()) : QString();
    }

    QString answer_;
    QStringList offered_;
};

TEST_F(PictureSavingTest, TheMenuItemStandsBeforePrintSetup) {
    StartWithTwoSpectra();
    QStringList entries;
    for (QAction* a : MenuItem(*plotWindow(), "File", {})->menu()->actions())
        entries << (a->isSeparator() ? "-" : a->text());
    EXPECT_EQ(entries, (QStringList{"Save Picture As ...", "Print Setup ...", "Print", "-", "Exit"}));
}

TEST_F(PictureSavingTest, PngIsThePicturePrintingSends) {
    StartWithTwoSpectra();
    SaveAs(root_ / "plot.png");
    EXPECT_TRUE(messages_.empty());
    const QImage saved(QString::fromStdString((root_ / "plot.png").string()));
    const QImage shown = WindowPicture(*plotWindow());
    ASSERT_FALSE(saved.isNull());
    EXPECT_EQ(saved.size(), plotWindow()->Canvas()->size());
    EXPECT_EQ(saved.convertToFormat(QImage::Format_RGB32), shown.convertToFormat(QImage::Format_RGB32));
    EXPECT_GT(CountColour(saved, kSlot1), 100);
    EXPECT_GT(CountColour(saved, kSlot2), 100);
    EXPECT_EQ(offered_, QStringList{QString::fromStdString((data_ / "hd1234.png").string())});

    SaveAs(root_ / "again.PNG");  // the next dialog offers the file saved last
    EXPECT_EQ(offered_.back().toStdString(), (root_ / "plot.png").string());
}

TEST_F(PictureSavingTest, SvgHasTheCurvesAsLinesAndTheTextsAsText) {
    StartWithTwoSpectra();
    SaveAs(root_ / "plot.svg");
    EXPECT_TRUE(messages_.empty());
    const QString svg = Read(root_ / "plot.svg");
    const QSize canvas = plotWindow()->Canvas()->size();
    EXPECT_TRUE(svg.contains(QString("viewBox=\"0 0 %1 %2\"").arg(canvas.width()).arg(canvas.height())));
    EXPECT_GE(svg.count("<polyline"), 3);
    EXPECT_TRUE(svg.contains("stroke=\"#ff0000\""));
    EXPECT_TRUE(svg.contains("stroke=\"#f87704\""));
    for (const char* caption : {">Wavelength /Angstroms</text>", ">Zoom</text>", ">Full Range</text>", ">In</text>",
                                ">Intensity</text>"})
        EXPECT_TRUE(svg.contains(caption)) << caption;
}

TEST_F(PictureSavingTest, PdfPageShowsTheCurvesAndTheTexts) {
    StartWithTwoSpectra();
    SaveAs(root_ / "plot.pdf");
    EXPECT_TRUE(messages_.empty());
    const QString pdf = QString::fromStdString((root_ / "plot.pdf").string());
    const QString png = QString::fromStdString((root_ / "page").string());
    QProcess convert;
    convert.start("pdftoppm", {"-png", "-r", "96", "-singlefile", pdf, png});
    ASSERT_TRUE(convert.waitForFinished(30000));
    ASSERT_EQ(convert.exitCode(), 0) << convert.readAllStandardError().toStdString();
    const QImage page(png + ".png");
    ASSERT_FALSE(page.isNull());
    const QSize canvas = plotWindow()->Canvas()->size();
    EXPECT_NEAR(page.width(), canvas.width() * 96 / (1440 / TwipsPerPixel()), 1);
    EXPECT_NEAR(page.height(), canvas.height() * 96 / (1440 / TwipsPerPixel()), 1);
    EXPECT_GT(CountColour(page, kSlot1), 100);
    EXPECT_GT(CountColour(page, kSlot2), 100);

    QProcess text;
    text.start("pdftotext", {"-raw", pdf, "-"});
    ASSERT_TRUE(text.waitForFinished(30000));
    const QString words = QString::fromUtf8(text.readAllStandardOutput());
    EXPECT_TRUE(words.contains("Wavelength /Angstroms")) << words.toStdString();
    EXPECT_TRUE(words.contains("Full Range")) << words.toStdString();
}

TEST_F(PictureSavingTest, AFailedWriteNamesTheFileAndChangesNothingElse) {
    StartWithTwoSpectra();
    std::filesystem::create_directories(root_ / "taken.pdf");
    const Workspace before = ws();
    SaveAs(root_ / "taken.pdf");
    ASSERT_EQ(messages_.size(), 1u);
    EXPECT_EQ(messages_[0], "The picture could not be saved as \"" + (root_ / "taken.pdf").string() +
                                "\": a folder of that name is in the way.");
    EXPECT_TRUE(std::filesystem::is_directory(root_ / "taken.pdf"));
    EXPECT_EQ(ws().PlotLeft, before.PlotLeft);
    EXPECT_TRUE(PlotVisible());

    SaveAs(root_ / "ok.svg");  // the failed file is not offered again
    EXPECT_NE(offered_.back().toStdString(), (root_ / "taken.pdf").string());
}

TEST_F(PictureSavingTest, OtherEndingsAreRefusedAndCancellingDoesNothing) {
    StartWithTwoSpectra();
    SaveAs(root_ / "plot.jpg");
    ASSERT_EQ(messages_.size(), 1u);
    EXPECT_NE(messages_[0].find("plot.jpg\": the name must end in .png, .svg or .pdf."), std::string::npos)
        << messages_[0];
    EXPECT_FALSE(std::filesystem::exists(root_ / "plot.jpg"));
    answer_.clear();
    MenuItem(*plotWindow(), "File", "Save Picture As ...")->trigger();
    EXPECT_EQ(messages_.size(), 1u);
}

}  // namespace
}  // namespace wendrel::testing
