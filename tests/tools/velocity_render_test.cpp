// wendrel-info --render with --velocities and --lines: a shifted spectrum's
// emission line on its laboratory mark in the written picture, and the
// options' usage errors.
#include <gtest/gtest.h>

#include <QImage>
#include <cstdlib>
#include <fstream>
#include <sys/wait.h>

#include "tests/fits/fits_test_support.h"

namespace wendrel::testing {
namespace {

const QRgb kSlot1 = qRgb(255, 0, 0);
const QRgb kMark = qRgb(96, 96, 96);
// Default size 10000 x 7000 twips: box rows 20 .. 330, columns 53 .. 639.
constexpr int kBoxTop = 20, kBoxBottom = 330;

struct InfoRun {
    int exitCode = -1;
    std::string out, err;
};

std::string Slurp(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

// 1000 pixels of 0.1 A from 6527.35 at one level, with one bright pixel
// centred on 6577.40 A: H alpha seen from a source receding at 667 km/s.
std::string RedshiftedHalpha() {
    SpectrumFile s;
    s.stored.assign(1000, 10);
    s.stored[500] = 30;  // pixel 501: 6577.35 .. 6577.45
    s.crval1 = 6527.35;
    s.cd1_1 = 0.1;
    return SpectrumBytes(s);
}

class VelocityRenderTest : public ::testing::Test {
protected:
    void SetUp() override {
        dir_ = FreshFolder("velocity-render");
        WriteFileBytes(dir_ / "ha.fits", RedshiftedHalpha());
    }
    void TearDown() override { std::filesystem::remove_all(dir_); }

    InfoRun Info(const std::string& arguments) {
        const auto outPath = dir_ / "out.txt", errPath = dir_ / "err.txt";
        const std::string command = "cd '" + dir_.string() + "' && '" WENDREL_INFO_PATH "' " + arguments +
                                    " >'" + outPath.string() + "' 2>'" + errPath.string() + "'";
        const int status = std::system(command.c_str());
        return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, Slurp(outPath), Slurp(errPath)};
    }

    QImage Picture() {
        QImage image;
        EXPECT_TRUE(image.load(QString::fromStdString((dir_ / "plot.png").string()), "PNG"));
        return image.convertToFormat(QImage::Format_RGB32);
    }

    std::filesystem::path dir_;
};

// The middle column of the colour's run in the given row; -1 when absent.
double MiddleColumn(const QImage& image, QRgb colour, int row) {
    int first = -1, last = -1;
    for (int x = 0; x < image.width(); ++x)
        if (image.pixel(x, row) == colour) {
            if (first < 0) first = x;
            last = x;
        }
    return first < 0 ? -1 : (first + last) / 2.0;
}

// The columns where the colour appears on many rows of the box's lowest
// quarter, below the curve (whose line drawn over a mark hides it there): the
// marks across the box.
std::vector<int> ColumnsAcrossTheBox(const QImage& image, QRgb colour) {
    const int from = kBoxBottom - (kBoxBottom - kBoxTop) / 4;
    std::vector<int> columns;
    for (int x = 0; x < image.width(); ++x) {
        int n = 0;
        for (int y = from; y < kBoxBottom; ++y) n += image.pixel(x, y) == colour;
        if (n > (kBoxBottom - from) / 3) columns.push_back(x);
    }
    return columns;
}

TEST_F(VelocityRenderTest, TheShiftedEmissionPeakSitsOnTheHalphaMark) {
    const InfoRun run = Info("--render plot.png --view 6540:6590 --velocities 667 --lines balmer,nii-sii ha.fits");
    ASSERT_EQ(run.exitCode, 0) << run.err;
    const QImage image = Picture();
    // [N II] 6548.05 and 6583.45 and H alpha 6562.80: three dashed marks.
    const std::vector<int> marks = ColumnsAcrossTheBox(image, kMark);
    ASSERT_EQ(marks.size(), 3u);
    const double pixelsPerAngstrom = 8786.0 / 50 / 15;
    EXPECT_NEAR(marks[1], (800 + 8786.0 * (6562.80 - 6540) / 50) / 15, 1);
    EXPECT_NEAR(marks[2] - marks[0], (6583.45 - 6548.05) * pixelsPerAngstrom, 1);
    // The peak is the curve's tread along the top of the box.
    const double peak = MiddleColumn(image, kSlot1, kBoxTop);
    ASSERT_GE(peak, 0);
    EXPECT_NEAR(peak, marks[1], 1);
    // Their names stand above the box.
    int named = 0;
    for (int y = 0; y < kBoxTop; ++y)
        for (int x = marks[1] - 8; x <= marks[1] + 8; ++x) named += image.pixel(x, y) != qRgb(255, 255, 255);
    EXPECT_GT(named, 5);
}

TEST_F(VelocityRenderTest, WithoutTheVelocityThePeakIsFourteenAngstromsRedwards) {
    const InfoRun run = Info("--render plot.png --view 6540:6590 --lines balmer ha.fits");
    ASSERT_EQ(run.exitCode, 0) << run.err;
    const QImage image = Picture();
    const std::vector<int> marks = ColumnsAcrossTheBox(image, kMark);
    ASSERT_EQ(marks.size(), 1u);
    const double peak = MiddleColumn(image, kSlot1, kBoxTop);
    EXPECT_NEAR(peak - marks[0], (6577.40 - 6562.80) * 8786.0 / 50 / 15, 1);
}

TEST_F(VelocityRenderTest, TheFullRangeIsThatOfTheShiftedSpectra) {
    // No --view: the picture spans the shifted range, so the curve starts
    // at the box's left edge and the shifted line is on the mark.
    const InfoRun run = Info("--render plot.png --velocities=667 --lines=balmer ha.fits");
    ASSERT_EQ(run.exitCode, 0) << run.err;
    const QImage image = Picture();
    const std::vector<int> marks = ColumnsAcrossTheBox(image, kMark);
    ASSERT_EQ(marks.size(), 1u);
    EXPECT_NEAR(MiddleColumn(image, kSlot1, kBoxTop), marks[0], 1);
    int firstCurveColumn = -1;
    for (int x = 0; x < image.width() && firstCurveColumn < 0; ++x)
        for (int y = kBoxTop; y <= kBoxBottom; ++y)
            if (image.pixel(x, y) == kSlot1) {
                firstCurveColumn = x;
                break;
            }
    EXPECT_EQ(firstCurveColumn, 53);
}

TEST_F(VelocityRenderTest, BadVelocitiesAndLineSetsAreUsageErrors) {
    const struct {
        std::string arguments;
        std::string mentions;
    } cases[] = {
        {"--velocities 667 ha.fits", "only shape the picture of --render"},
        {"--lines balmer ha.fits", "only shape the picture of --render"},
        {"--render plot.png --velocities 32768 ha.fits", "\"32768\" is not one"},
        {"--render plot.png --velocities -32768 ha.fits", "\"-32768\" is not one"},
        {"--render plot.png --velocities 66.7 ha.fits", "--velocities needs whole numbers of km/s"},
        {"--render plot.png --velocities 1,2 ha.fits", "2 velocities were given for 1 files"},
        {"--render plot.png --lines Balmer ha.fits", "\"Balmer\" is not one"},
        {"--render plot.png --lines balmer, ha.fits", "\"\" is not one"},
        {"--render plot.png --lines halpha ha.fits", "balmer,cahk,nad,mgb,hei,oiii,nii-sii,o2"},
    };
    for (const auto& c : cases) {
        const InfoRun run = Info(c.arguments);
        EXPECT_EQ(run.exitCode, 2) << c.arguments;
        EXPECT_NE(run.err.find(c.mentions), std::string::npos) << c.arguments << ": " << run.err;
    }
    EXPECT_FALSE(std::filesystem::exists(dir_ / "plot.png"));
    const InfoRun help = Info("--help");
    for (const char* key : {"--velocities v1,v2,...", "--lines SET,SET", "nii-sii", "o2 (telluric O2)"})
        EXPECT_NE(help.out.find(key), std::string::npos) << key;
    // The bar's own ends are accepted.
    EXPECT_EQ(Info("--render plot.png --velocities -32767 ha.fits").exitCode, 0);
}

}  // namespace
}  // namespace wendrel::testing
