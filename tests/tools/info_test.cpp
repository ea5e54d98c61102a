// wendrel-info run as a program: its JSON lines, exit codes, usage errors
// and one picture of the plot.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <QImage>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <cmath>
#include <sstream>

#include "tests/support/fits_writer.h"
#include "tests/support/temp_folder.h"

namespace wendrel::testing {
namespace {

struct InfoRun {
    int exitCode;
    std::vector<QJsonObject> lines;
    std::string err;
};

class InfoTest : public ::testing::Test {
protected:
    // ha.fits: 1000 pixels of 0.1 A, the first centred on 6527.40, one bright
    // pixel on 6577.40 A (H alpha receding at 667 km/s), its object name in Latin-1.
    InfoTest() {
        SpectrumFile s;
        s.stored.assign(1000, 10);
        s.stored[500] = 30;
        s.crval1 = 6527.40;
        s.cd1_1 = 0.1;
        s.object = "M\xe9ra";
        dir.Write("ha.fits", SpectrumBytes(s));
        dir.Write("bad.fits", "not fits");
        SpectrumFile g = s;  // g.fits: H alpha as a Gaussian of sigma 0.3 A, 20 above the continuum
        for (int i = 0; i < 1000; ++i) g.stored[size_t(i)] = 10 + 20 * std::exp(-std::pow((i - 500) * 0.1 / 0.3, 2) / 2);
        dir.Write("g.fits", SpectrumBytes(g));
        s.extraCards = {IntCard("NAXIS", 2), IntCard("NAXIS2", 2), StringCard("APNUM1", "1 1")};
        FitsBytes two = SpectrumCards(s);
        two.cards[3] = IntCard("NAXIS1", 500);  // two apertures of 500 pixels
        dir.Write("two.fits", ToBytes(two));
    }
    InfoRun Info(const std::string& arguments) {
        const std::string command =
            "cd '" + dir.path().string() + "' && '" WENDREL_INFO_PATH "' " + arguments + " >out.txt 2>err.txt";
        const int status = std::system(command.c_str());
        InfoRun run{WIFEXITED(status) ? WEXITSTATUS(status) : -1, {}, FileBytes(dir.path() / "err.txt")};
        std::istringstream out(FileBytes(dir.path() / "out.txt"));
        for (std::string line; std::getline(out, line);) {
            QJsonParseError error;
            run.lines.push_back(QJsonDocument::fromJson(QByteArray::fromStdString(line), &error).object());
            EXPECT_EQ(error.error, QJsonParseError::NoError) << line;
        }
        return run;
    }
    TempFolder dir;
};

TEST_F(InfoTest, OneJsonLinePerFileThenTheWorkspace) {
    const InfoRun ok = Info("ha.fits");
    EXPECT_EQ(ok.exitCode, 0);
    ASSERT_EQ(ok.lines.size(), 2u);
    EXPECT_EQ(ok.lines[0]["object"].toString(), QString::fromUtf8("M\u00e9ra    "));
    EXPECT_EQ(ok.lines[0]["naxis1"].toDouble(), 1000);
    EXPECT_EQ(ok.lines[0]["dispersion"].toString(), "linear");
    EXPECT_FALSE(ok.lines[0].contains("lambda"));
    EXPECT_DOUBLE_EQ(ok.lines[1]["lambdaMin"].toDouble(), 6527.35);  // half a pixel below CRVAL1
    EXPECT_TRUE(ok.lines[1]["dataReady"].toBool());

    const InfoRun refused = Info("--pixels bad.fits ha.fits");
    EXPECT_EQ(refused.exitCode, 1);
    ASSERT_EQ(refused.lines.size(), 3u);
    EXPECT_FALSE(refused.lines[0]["loaded"].toBool());
    EXPECT_EQ(refused.lines[0]["messages"].toArray(), QJsonArray{"This is not a fits file!  Please try again."});
    EXPECT_EQ(refused.lines[1]["slot"].toInt(), 1);  // the refused file leaves its slot to the next
    EXPECT_EQ(refused.lines[1]["lambda"].toArray().size(), 1000);
    EXPECT_DOUBLE_EQ(refused.lines[1]["lambda"].toArray()[500].toDouble(), 6577.40);  // pixel centres

    const InfoRun apertures = Info("two.fits two.fits#2");
    EXPECT_EQ(apertures.exitCode, 0);
    ASSERT_EQ(apertures.lines.size(), 4u);
    for (int k = 0; k < 3; ++k)
        EXPECT_EQ(std::pair(apertures.lines[k]["slot"].toInt(), apertures.lines[k]["spectrum"].toInt()),
                  std::pair(k + 1, k == 0 ? 1 : 2));
    EXPECT_EQ(apertures.lines[0]["pctMax"].toDouble(), 100);  // the peak lies in the second aperture
    EXPECT_EQ(apertures.lines[2]["pctMax"].toDouble(), 300);

    // The bright pixel, 20 above a flat continuum over 0.1 A, crosses half its height half a pixel either side.
    const QJsonObject line = Info("--measure 6577:6577.8 ha.fits").lines[0]["measure"].toObject();
    for (const auto& [key, value] : {std::pair("centroid", 6577.4), {"flux", 2.0}, {"ew", -0.2}, {"peak", 20.0}, {"fwhm", 0.1}})
        EXPECT_NEAR(line[key].toDouble(), value, 1e-9) << key;
    EXPECT_TRUE(Info("--measure 7000:7100 ha.fits").lines[0]["measure"].toObject()["flux"].isNull());

    // Measured and fitted in the rest frame of 667 km/s, as the plot window would.
    const QJsonObject g = Info("--measure 6560:6566 --fit 6555:6570:voigt --velocities 667 g.fits").lines[0];
    const QJsonObject measured = g["measure"].toObject(), fit = g["fit"].toObject();
    EXPECT_NEAR(measured["centroid"].toDouble(), 6577.4 / (1 + 667 / 299792.458), 1e-6);
    EXPECT_EQ(measured["errors_from"].toString(), "scatter");
    EXPECT_EQ(measured["continuum_pixels"].toInt(), 6);
    EXPECT_EQ(fit["model"].toString(), "voigt");
    ASSERT_EQ(fit["components"].toArray().size(), 1);
    const QJsonObject component = fit["components"].toArray()[0].toObject();
    EXPECT_NEAR(component["centre"].toDouble(), measured["centroid"].toDouble(), 1e-6);
    EXPECT_NEAR(component["flux"].toDouble(), measured["flux"].toDouble(), 1e-3);
    for (const char* key : {"peak_err", "fwhm_gauss", "fwhm_lorentz_err", "ew_err"}) EXPECT_TRUE(component[key].isDouble()) << key;
    EXPECT_NEAR(fit["continuum"].toObject()["intercept"].toDouble(), 10, 1e-4);  // float pixels
}

TEST_F(InfoTest, UsageErrorsAndUnwritablePictures) {
    const std::pair<std::string, std::string> cases[] = {
        {"--render ha.fits", "ending in .png, .svg or .pdf; got \"ha.fits\""},
        {"--render p.png --font-size 100 ha.fits", "--font-size needs"},
        {"--size 10000x7000 ha.fits", "only shape the picture of --render"},
        {"--render p.png --size 32768x7000 --view 4100:4000 ha.fits", "--size needs WIDTHxHEIGHT"},
        {"--render p.png --offsets 1,2 ha.fits", "2 offsets were given for 1 files"},
        {"--render p.png --velocities 796.9,z=-1 ha.fits", "\"z=-1\" is out of range: a redshift must be above -1"},
        {"--render p.png --lines Balmer ha.fits", "\"Balmer\" is not one"},
        {"--render p.png --scale flux --legend --yrange 150:0 ha.fits", "--yrange needs LOW:HIGH"},
        {"--render p.png --view -5:4100 -5 ha.fits", "unknown option -5\n"},
        {"--header=2 ha.fits", "--header takes no value"},
        {"--velocities 667 ha.fits", "none of which was asked for"},
        {"--continuum-pixels 4 ha.fits", "only shape --measure"},
        {"--fit 6500:6600:cauchy ha.fits", "--fit needs LEFT:RIGHT[:MODEL[:N]]"},
        {"--fit 6500:6600:gauss:7 ha.fits", "--fit needs LEFT:RIGHT[:MODEL[:N]]"},
        {"--render p.png --xunit mm ha.fits", "--xunit needs A, nm or um; got \"mm\""},
        {"--render p.png --xaxis velocity:-3 ha.fits", "--xaxis needs wavelength or velocity:LAMBDA0"},
        {"--render p.png --xaxis velocity:6562.8,,4861.33 ha.fits", "--xaxis needs wavelength or velocity:LAMBDA0"},
        {"--render p.png --xaxis velocity:6562.8,4861.33 ha.fits", "2 rest wavelengths were given for 1 files"},
    };
    for (const auto& [arguments, mentions] : cases) {
        const InfoRun run = Info(arguments);
        EXPECT_EQ(run.exitCode, 2) << arguments;
        EXPECT_TRUE(run.lines.empty()) << arguments;
        EXPECT_NE(run.err.find(mentions), std::string::npos) << arguments << ": " << run.err;
    }
    EXPECT_FALSE(std::filesystem::exists(dir.path() / "p.png"));
    const std::string usage = Info("--columns WAVE ha.fits").err;
    EXPECT_NE(usage.find("--columns needs the names of the wavelength and the flux column"), std::string::npos) << usage;
    EXPECT_NE(usage.find("\"lambda\" (the wavelength of each pixel's centre)"), std::string::npos) << usage;
    const InfoRun unwritable = Info("--render missing/plot.png ha.fits");
    EXPECT_EQ(unwritable.exitCode, 3);
    EXPECT_EQ(unwritable.lines.size(), 2u);
    EXPECT_NE(unwritable.err.find("could not be saved as \"missing/plot.png\""), std::string::npos) << unwritable.err;
}

// The ending chooses the kind of file, as the plot window's save does.
TEST_F(InfoTest, RendersPngSvgOrPdfByTheEnding) {
    for (const auto& [name, magic] : {std::pair("p.png", "\x89PNG"), {"p.SVG", "<?xml"}, {"p.pdf", "%PDF"}}) {
        ASSERT_EQ(Info(std::string("--render ") + name + " --font-size 12 ha.fits").exitCode, 0) << name;
        EXPECT_TRUE(FileBytes(dir.path() / name).starts_with(magic)) << name;
    }
}

// Slot 1 raised to the top of the box and taken to its rest frame, slot 2 as
// observed, the Balmer lines marked: the default 10000 x 7000 twips, whose box
// spans rows 20 .. 330 and columns 53 .. 639.
TEST_F(InfoTest, RenderedPicture) {
    const InfoRun run =
        Info("--render plot.png --view 6540:6590 --offsets=-50,0 --velocities 667,z=0 --lines balmer ha.fits ha.fits");
    ASSERT_EQ(run.exitCode, 0) << run.err;
    QImage image;
    ASSERT_TRUE(image.load(QString::fromStdString((dir.path() / "plot.png").string())));
    EXPECT_EQ(image.size(), QSize(667, 467));
    std::map<QRgb, std::vector<int>> columnsOnTop;  // the columns of each colour on the box's top row
    std::map<QRgb, int> count;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x) {
            count[image.pixel(x, y)]++;
            if (y == 20) columnsOnTop[image.pixel(x, y)].push_back(x);
        }
    const QRgb red = qRgb(255, 0, 0), orange = qRgb(248, 119, 4), mark = qRgb(96, 96, 96);
    EXPECT_GT(count[orange], 300);
    EXPECT_GT(count[mark], 50);
    // The shifted peak sits on H alpha's mark, (800 + 8786 (6562.80 - 6540) / 50) / 15.
    const std::vector<int>& peak = columnsOnTop[red];
    ASSERT_FALSE(peak.empty());
    EXPECT_NEAR((peak.front() + peak.back()) / 2.0, 320.4, 1);
}

// A session written from the command line draws, opened again, the very same
// picture (the second file on the velocity axis about a rest wavelength of
// its own); the spectra it shows are exported alongside.
TEST_F(InfoTest, SessionOpenedAgainRendersTheSamePicture) {
    const std::string view = "--view 6540:6590 --offsets=-50,0 --velocities 667.5 --lines balmer,nad --yrange 5:35 "
                             "--scale flux --legend --uncertainties --xaxis velocity:6562.8,6540.5 ha.fits two.fits#2";
    ASSERT_EQ(Info("--render direct.png " + view).exitCode, 0);
    const InfoRun saved = Info("--save-session s.wendrel --export shown.csv " + view);
    ASSERT_EQ(saved.exitCode, 0) << saved.err;
    EXPECT_TRUE(FileBytes(dir.path() / "shown.csv").starts_with("# file " + dir.path().string() + "/ha.fits, "));

    const InfoRun opened = Info("--session s.wendrel --render again.png");
    ASSERT_EQ(opened.exitCode, 0) << opened.err;
    ASSERT_EQ(opened.lines.size(), 3u);
    EXPECT_EQ(opened.lines[1]["spectrum"].toInt(), 2);
    const std::string picture = FileBytes(dir.path() / "direct.png");
    EXPECT_GT(picture.size(), 1000u);
    EXPECT_TRUE(picture == FileBytes(dir.path() / "again.png"));

    EXPECT_EQ(Info("--session s.wendrel --offsets 1,2,3,4,5,6,7,8,9,10,11 --render x.png").exitCode, 2);
    dir.Write("new.wendrel", "{\"version\": 2}");
    const InfoRun newer = Info("--session new.wendrel ha.fits");
    EXPECT_EQ(newer.exitCode, 1);
    EXPECT_NE(newer.err.find("written by a newer version"), std::string::npos) << newer.err;
}

}  // namespace
}  // namespace wendrel::testing
