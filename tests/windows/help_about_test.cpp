#include <QApplication>
#include <QLabel>
#include <QScreen>
#include <gtest/gtest.h>

#include "store/workspace.h"
#include "windows/about_box.h"
#include "windows/help_window.h"
#include "windows/outer_frame.h"
#include "windows/twips.h"

namespace wendrel {
namespace {

const double kPixel = PixelsToTwips(1);

template <class Window>
void CloseAndForget(SingleWindow<Window>& owner) {
    ASSERT_NE(owner.Get(), nullptr);
    owner.Get()->close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    ASSERT_EQ(owner.Get(), nullptr);
}

bool ShowsOnSomeScreen(const QWidget& window) {
    for (const QScreen* screen : QGuiApplication::screens())
        if (screen->availableGeometry().intersects(window.frameGeometry())) return true;
    return false;
}

class HelpWindowTest : public ::testing::Test {
protected:
    Workspace ws;
    HelpWindowHost help{ws};
};

TEST_F(HelpWindowTest, OpensLaidOutForItsStoredWidth) {
    EXPECT_FALSE(ws.HelpLoading);
    frmHelp& window = help.Show();
    EXPECT_TRUE(window.isVisible());
    EXPECT_TRUE(ws.HelpLoading);
    EXPECT_EQ(window.windowTitle(), "Help");
    EXPECT_EQ(window.Label0()->text(), "Help - Wendrel");
    for (int i = 1; i <= 3; ++i)
        EXPECT_EQ(window.Label1(i)->text().toStdString(), HelpParagraphs()[static_cast<size_t>(i - 1)]) << i;

    // The stored height of 500 gives way to the one the width asks for.
    const QRectF outer = OuterGeometryTwips(window);
    EXPECT_NEAR(outer.left(), 500, kPixel);
    EXPECT_NEAR(outer.top(), 500, kPixel);
    EXPECT_NEAR(outer.width(), 10000, kPixel);
    EXPECT_NEAR(outer.height(), 4228, kPixel);

    const int tops[] = {400, 1580, 2398};
    for (int i = 1; i <= 3; ++i) {
        const QLabel* label = window.Label1(i);
        EXPECT_EQ(label->y(), TwipsToPixels(tops[i - 1])) << i;
        EXPECT_EQ(label->x(), TwipsToPixels(120));
        EXPECT_NEAR(label->width(), TwipsToPixels(outer.width() - 500), 1);
        EXPECT_TRUE(label->wordWrap());
    }
    // Paragraphs do not run into each other.
    EXPECT_LE(window.Label1(1)->geometry().bottom(), window.Label1(2)->y());
    EXPECT_LE(window.Label1(2)->geometry().bottom(), window.Label1(3)->y());
}

TEST_F(HelpWindowTest, LooksAsDesigned) {
    frmHelp& window = help.Show();
    const QLabel* title = window.Label0();
    EXPECT_TRUE(title->font().bold());
    EXPECT_DOUBLE_EQ(title->font().pointSizeF(), 15.75);
    EXPECT_EQ(title->palette().color(QPalette::WindowText), QColor(192, 0, 0));
    EXPECT_TRUE(title->alignment() & Qt::AlignHCenter);
    EXPECT_EQ(title->y(), 0);
    EXPECT_EQ(title->height(), TwipsToPixels(375));
    const QFont paragraph = window.Label1(2)->font();
    EXPECT_TRUE(paragraph.bold());
    EXPECT_DOUBLE_EQ(paragraph.pointSizeF(), 8.25);
}

TEST_F(HelpWindowTest, HeightFollowsTheWidth) {
    frmHelp& window = help.Show();
    SetOuterSizeTwips(window, 5000, 4228);
    EXPECT_NEAR(OuterGeometryTwips(window).height(), 6156, kPixel);
    EXPECT_EQ(window.Label1(2)->y(), TwipsToPixels(2558));

    // Dragging the bottom edge alone has no lasting effect.
    SetOuterSizeTwips(window, 5000, 9000);
    EXPECT_NEAR(OuterGeometryTwips(window).height(), 6156, kPixel);
    SetOuterSizeTwips(window, 10000, 1000);
    EXPECT_NEAR(OuterGeometryTwips(window).height(), 4228, kPixel);
}

TEST_F(HelpWindowTest, ClosingStoresPlaceAndSizeForTheNextOpening) {
    frmHelp& window = help.Show();
    EXPECT_EQ(&help.Show(), &window);  // showing again brings the same window forward
    window.move(45, 60);
    SetOuterSizeTwips(window, 8000, 3000);
    const QRectF outer = OuterGeometryTwips(window);
    CloseAndForget(help);
    EXPECT_EQ(ws.HelpLeft, std::lround(outer.left()));
    EXPECT_EQ(ws.HelpTop, std::lround(outer.top()));
    EXPECT_EQ(ws.HelpWidth, std::lround(outer.width()));
    EXPECT_EQ(ws.HelpHeight, std::lround(outer.height()));
    EXPECT_NEAR(ws.HelpLeft, PixelsToTwips(45), 0.5);

    // The flag stays set; the next opening is laid out alike.
    EXPECT_TRUE(ws.HelpLoading);
    const QRectF reopened = OuterGeometryTwips(help.Show());
    EXPECT_NEAR(reopened.left(), outer.left(), kPixel);
    EXPECT_NEAR(reopened.width(), outer.width(), kPixel);
    EXPECT_NEAR(reopened.height(), outer.height(), kPixel);
}

TEST_F(HelpWindowTest, TooNarrowStoredWidthStillOpensReadable) {
    ws.HelpWidth = 100;
    const QRectF outer = OuterGeometryTwips(help.Show());
    EXPECT_GE(outer.width(), 2000);
    EXPECT_LT(outer.height(), 30000);
    EXPECT_GT(outer.height(), 4228);
}

TEST_F(HelpWindowTest, StoredPlaceOffEveryScreenOpensWhereItCanBeSeen) {
    for (const auto& [left, top] : {std::pair{32000, 32000}, {-32000, 500}, {500, -30000}}) {
        ws.HelpLeft = left;
        ws.HelpTop = top;
        EXPECT_TRUE(ShowsOnSomeScreen(help.Show())) << left << ", " << top;
        CloseAndForget(help);
    }
}

class AboutBoxTest : public ::testing::Test {
protected:
    Workspace ws;
    AboutBoxHost about{ws};
};

TEST_F(AboutBoxTest, ShowsNameVersionAndCredits) {
    frmAbout& box = about.Show();
    EXPECT_TRUE(box.isVisible());
    EXPECT_EQ(box.windowTitle(), "About");
    EXPECT_EQ(box.size(), QSize(TwipsToPixels(4710), TwipsToPixels(2505)));
    EXPECT_EQ(box.palette().color(QPalette::Window), QColor(224, 224, 224));

    const auto& lines = box.Lines();
    ASSERT_EQ(lines.size(), 7u);
    const int tops[] = {120, 600, 960, 1200, 1440, 1800, 2160};
    for (size_t i = 0; i < lines.size(); ++i) {
        EXPECT_EQ(lines[i]->y(), TwipsToPixels(tops[i])) << i;
        EXPECT_EQ(lines[i]->x(), TwipsToPixels(120));
        EXPECT_EQ(lines[i]->width(), TwipsToPixels(4455));
        EXPECT_TRUE(lines[i]->alignment() & Qt::AlignHCenter);
        EXPECT_FALSE(lines[i]->text().isEmpty());
        EXPECT_FALSE(lines[i]->text().contains('@'));
        // Each line fits its width.
        EXPECT_LE(lines[i]->fontMetrics().horizontalAdvance(lines[i]->text()), lines[i]->width()) << i;
    }
    EXPECT_EQ(lines[0]->text(), "Wendrel Software");
    EXPECT_EQ(lines[0]->height(), TwipsToPixels(375));
    EXPECT_DOUBLE_EQ(lines[0]->font().pointSizeF(), 13.5);
    EXPECT_TRUE(lines[0]->font().bold());
    EXPECT_EQ(lines[0]->palette().color(QPalette::WindowText), QColor(0, 0, 128));
    EXPECT_EQ(lines[2]->text(), "Version 1.4 of 2007-04-093");
    EXPECT_EQ(lines[3]->text(), QString(61, '-'));
    EXPECT_DOUBLE_EQ(lines[2]->font().pointSizeF(), 8.25);
    EXPECT_TRUE(lines[2]->font().bold());
}

TEST_F(AboutBoxTest, OpensAtItsPlaceAndStoresTheNewOneOnClose) {
    ws.AboutLeft = 1500;
    ws.AboutTop = 900;
    frmAbout& box = about.Show();
    QRectF outer = OuterGeometryTwips(box);
    EXPECT_NEAR(outer.left(), 1500, kPixel);
    EXPECT_NEAR(outer.top(), 900, kPixel);
    box.move(200, 150);
    outer = OuterGeometryTwips(box);
    CloseAndForget(about);
    EXPECT_EQ(ws.AboutLeft, std::lround(outer.left()));
    EXPECT_EQ(ws.AboutTop, std::lround(outer.top()));
    EXPECT_NEAR(ws.AboutLeft, PixelsToTwips(200), 0.5);
}

TEST_F(AboutBoxTest, StoredPlaceOffEveryScreenOpensWhereItCanBeSeen) {
    ws.AboutLeft = -32000;
    ws.AboutTop = 32000;
    EXPECT_TRUE(ShowsOnSomeScreen(about.Show()));
}

}  // namespace
}  // namespace wendrel
