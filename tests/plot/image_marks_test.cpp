// The image surface's dashed lines and texts, which mark laboratory lines.
#include <gtest/gtest.h>

#include <QGuiApplication>
#include <limits>
#include <string>

#include "plot/image_surface.h"

namespace wendrel {
namespace {

constexpr double kTwipsPerPixel = 15;
const QRgb kWhite = qRgb(255, 255, 255);

TEST(DashedLines, VerticalDashesAlternateFromTheFirstCell) {
    ImageSurface s(QSize(10, 40), kTwipsPerPixel);
    s.SetForeColor(255);
    s.DashedLine(3 * 15 + 7, 2 * 15, 3 * 15 + 7, 20 * 15 + 14);  // column 3, rows 2 .. 20
    const QRgb red = qRgb(255, 0, 0);
    const int period = ImageSurface::kDashCells + ImageSurface::kGapCells;
    for (int row = 0; row < 40; ++row) {
        SCOPED_TRACE(row);
        const bool lit = row >= 2 && row <= 20 && (row - 2) % period < ImageSurface::kDashCells;
        EXPECT_EQ(s.Image().pixel(3, row), lit ? red : kWhite);
        EXPECT_EQ(s.Image().pixel(2, row), kWhite);
        EXPECT_EQ(s.Image().pixel(4, row), kWhite);
    }
}

TEST(DashedLines, HorizontalAndFarReachingDashesStayInsideTheImage) {
    ImageSurface s(QSize(30, 5), kTwipsPerPixel);
    s.SetForeColor(0);
    s.DashedLine(0, 2 * 15, 29 * 15, 2 * 15);
    int lit = 0;
    for (int x = 0; x < 30; ++x) lit += s.Image().pixel(x, 2) == qRgb(0, 0, 0);
    EXPECT_EQ(lit, 4 + 4 + 4 + 4 + 2);  // dashes from columns 0, 7, 14, 21, and 28..29

    // A line reaching far beyond the image costs no more than the image.
    ImageSurface t(QSize(5, 30), kTwipsPerPixel);
    t.SetForeColor(0);
    const float far = 1e30f;
    t.DashedLine(15, -far, 15, far);
    t.DashedLine(15, std::numeric_limits<float>::quiet_NaN(), 15, 100);
    int column = 0;
    for (int y = 0; y < 30; ++y) column += t.Image().pixel(1, y) != kWhite;
    EXPECT_GT(column, 10);
    EXPECT_LT(column, 30);
}

class MarkTexts : public ::testing::Test {
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

TEST_F(MarkTexts, CentredOnTheirPlaceAboveTheBaselineAndClearedWithThePicture) {
    ImageSurface s(QSize(200, 60), kTwipsPerPixel);
    s.SetForeColor(96 + 256 * 96 + 65536 * 96);
    s.CentredText(100 * 15, 40 * 15, "H\u03b1 [O III]");
    int left = 200, right = -1, top = 60, bottom = -1;
    for (int y = 0; y < 60; ++y)
        for (int x = 0; x < 200; ++x)
            if (s.Image().pixel(x, y) != kWhite) {
                left = std::min(left, x), right = std::max(right, x);
                top = std::min(top, y), bottom = std::max(bottom, y);
            }
    ASSERT_GE(right, 0) << "no text drawn";
    EXPECT_NEAR((left + right) / 2.0, 100, 3);
    EXPECT_LE(bottom, 42);  // only descenders below the baseline
    EXPECT_GT(bottom, 35);
    EXPECT_LT(top, 38);
    s.Cls();
    EXPECT_EQ(s.Image().pixel((left + right) / 2, (top + bottom) / 2), kWhite);
    EXPECT_TRUE(s.Labels().empty());  // text is part of the picture, not a label
}

}  // namespace
}  // namespace wendrel
