#include "windows/header_viewer.h"

#include <QApplication>
#include <QScreen>
#include <QScrollBar>
#include <QtTest/QTest>
#include <gtest/gtest.h>

#include <cstdio>

#include "store/workspace.h"
#include "windows/outer_frame.h"
#include "windows/twips.h"

namespace wendrel {
namespace {

std::string Card(int slot, int k) {
    char text[81];
    std::snprintf(text, sizeof text, "S%d_%-5d = %20d / card %d of slot %d", slot, k, k, k, slot);
    std::string card = text;
    card.resize(80, ' ');
    return card;
}

void LoadCards(Workspace& ws, int slot, int count) {
    Slot& s = ws.slot(slot);
    s.Loaded = true;
    s.HdrCard.clear();
    for (int k = 1; k <= count; ++k) s.HdrCard.push_back(Card(slot, k));
    s.NumCards = count;
}

std::vector<std::string> Cards(int slot, int first, int last) {
    std::vector<std::string> cards;
    for (int k = first; k <= last; ++k) cards.push_back(Card(slot, k));
    return cards;
}

// One pixel of tolerance for places and sizes that pass through whole pixels.
const double kPixel = PixelsToTwips(1);

class HeaderViewerTest : public ::testing::Test {
protected:
    void SetUp() override {
        ws.HdrLeft = 750;
        ws.HdrTop = 1500;
        ws.HdrWidth = 6000;
        ws.HdrHeight = 4840;
        LoadCards(ws, 1, 60);
        LoadCards(ws, 3, 25);
    }

    frmDisplayHdr& Open(int slot) {
        host.HdrPressed(slot);
        frmDisplayHdr* viewer = host.Window();
        EXPECT_NE(viewer, nullptr);
        return *viewer;
    }

    // Closes the viewer as its close box does and lets it go.
    void CloseViewer() {
        ASSERT_NE(host.Window(), nullptr);
        host.Window()->close();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        ASSERT_EQ(host.Window(), nullptr);
    }

    Workspace ws;
    HeaderViewerHost host{ws};
};

TEST_F(HeaderViewerTest, OpensAtTheStoredPlaceWithHalfAPageOnTheBar) {
    frmDisplayHdr& viewer = Open(1);
    EXPECT_TRUE(viewer.isVisible());
    EXPECT_EQ(viewer.windowTitle(), "Display Fits Hdr - 2D Spectrum");
    EXPECT_EQ(ws.CurSlot, 1);

    const QRectF outer = OuterGeometryTwips(viewer);
    EXPECT_NEAR(outer.left(), 750, kPixel);
    EXPECT_NEAR(outer.top(), 1500, kPixel);
    EXPECT_NEAR(outer.width(), 6000, kPixel);
    EXPECT_NEAR(outer.height(), 4840, kPixel);
    // The resize on showing stored the outer size it found.
    EXPECT_EQ(ws.HdrWidth, std::lround(outer.width()));
    EXPECT_EQ(ws.HdrHeight, std::lround(outer.height()));

    const QScrollBar* bar = viewer.VScroll1();
    EXPECT_TRUE(bar->isVisible());
    EXPECT_EQ(bar->minimum(), 11);
    EXPECT_EQ(bar->maximum(), 49);
    EXPECT_EQ(bar->value(), 11);
    EXPECT_EQ(bar->singleStep(), 1);
    EXPECT_EQ(bar->pageStep(), 10);
    EXPECT_FALSE(ws.HdrLoading);

    // The bar runs down the right-hand side, inside the window.
    EXPECT_LE(bar->geometry().right(), viewer.width() - 1);
    EXPECT_NEAR(bar->width(), TwipsToPixels(255), 1);
    EXPECT_EQ(bar->y(), 0);

    // Opening writes every card; those below the bottom edge are not seen.
    EXPECT_EQ(viewer.Lines(), Cards(1, 1, 60));
}

TEST_F(HeaderViewerTest, ScrollBarPagesThroughTheCards) {
    frmDisplayHdr& viewer = Open(1);
    QScrollBar* bar = viewer.VScroll1();
    const struct { int value; int first, last; } cases[] = {
        {12, 3, 25}, {30, 21, 43}, {49, 40, 60}, {11, 1, 23},
    };
    for (const auto& c : cases) {
        bar->setValue(c.value);
        EXPECT_EQ(viewer.Lines(), Cards(1, c.first, c.last)) << "v = " << c.value;
    }
    bar->triggerAction(QAbstractSlider::SliderPageStepAdd);
    EXPECT_EQ(bar->value(), 21);
    EXPECT_EQ(viewer.Lines(), Cards(1, 12, 34));
    bar->triggerAction(QAbstractSlider::SliderSingleStepSub);
    EXPECT_EQ(viewer.Lines(), Cards(1, 11, 33));
}

TEST_F(HeaderViewerTest, ResizeRewritesThePageWithItsOwnRounding) {
    frmDisplayHdr& viewer = Open(1);
    viewer.VScroll1()->setValue(12);
    ASSERT_EQ(viewer.Lines(), Cards(1, 3, 25));

    SetOuterSizeTwips(viewer, 6000, 5000);
    const QRectF outer = OuterGeometryTwips(viewer);
    ASSERT_EQ(HdrLinesTruncated(outer.height(), frmDisplayHdr::kMetrics), 22);
    EXPECT_EQ(ws.HdrHeight, std::lround(outer.height()));
    EXPECT_EQ(viewer.VScroll1()->value(), 12);
    EXPECT_EQ(viewer.Lines(), Cards(1, 2, 24));

    // Scrolling in the taller window counts 23 lines.
    viewer.VScroll1()->setValue(13);
    EXPECT_EQ(viewer.Lines(), Cards(1, 4, 27));
}

TEST_F(HeaderViewerTest, ShortHeaderShrinksTheWindowAndHidesTheBar) {
    ws.HdrHeight = 10000;
    LoadCards(ws, 2, 10);
    frmDisplayHdr& viewer = Open(2);
    EXPECT_FALSE(viewer.VScroll1()->isVisible());
    const double height = OuterGeometryTwips(viewer).height();
    EXPECT_GE(height, 2505);
    EXPECT_LT(height, 2505 + kPixel);
    EXPECT_EQ(ws.HdrHeight, std::lround(height));
    EXPECT_EQ(viewer.Lines(), Cards(2, 1, 10));

    // Widening the window keeps every card in view, the first included.
    SetOuterSizeTwips(viewer, 8000, height);
    EXPECT_EQ(viewer.Lines(), Cards(2, 1, 10));
    // Dragging it taller snaps back to the ten cards.
    SetOuterSizeTwips(viewer, 8000, 6000);
    EXPECT_NEAR(OuterGeometryTwips(viewer).height(), height, 0.01);
    EXPECT_EQ(viewer.Lines(), Cards(2, 1, 10));
}

TEST_F(HeaderViewerTest, HeaderLongerThanTwoHundredCardsPagesToItsEnd) {
    LoadCards(ws, 4, 250);
    ws.HdrHeight = 9900;  // 48 lines, truncated and to the nearest
    frmDisplayHdr& viewer = Open(4);
    QScrollBar* bar = viewer.VScroll1();
    EXPECT_EQ(bar->maximum(), 226);
    bar->setValue(bar->maximum());
    EXPECT_EQ(viewer.Lines(), Cards(4, 204, 250));
}

TEST_F(HeaderViewerTest, HdrInAnotherRowRewritesFromCardOneAndKeepsTheRange) {
    frmDisplayHdr& viewer = Open(1);
    viewer.VScroll1()->setValue(30);

    host.HdrPressed(3);
    EXPECT_EQ(host.Window(), &viewer);
    EXPECT_EQ(ws.CurSlot, 3);
    EXPECT_EQ(viewer.Lines(), Cards(3, 1, 25));
    EXPECT_EQ(viewer.VScroll1()->minimum(), 11);
    EXPECT_EQ(viewer.VScroll1()->maximum(), 49);
    EXPECT_EQ(viewer.VScroll1()->value(), 30);

    // The next resize takes the range from slot 3's 25 cards.
    SetOuterSizeTwips(viewer, 6500, 4840);
    EXPECT_EQ(viewer.VScroll1()->maximum(), 14);
    EXPECT_EQ(viewer.VScroll1()->value(), 14);
    EXPECT_EQ(viewer.Lines(), Cards(3, 5, 25));
}

TEST_F(HeaderViewerTest, HdrOnAnEmptyRowOnlyChoosesTheSlot) {
    host.HdrPressed(5);
    EXPECT_EQ(ws.CurSlot, 5);
    EXPECT_EQ(host.Window(), nullptr);

    // With the viewer open, the empty row's press leaves its text alone.
    frmDisplayHdr& viewer = Open(1);
    host.HdrPressed(5);
    EXPECT_EQ(ws.CurSlot, 5);
    EXPECT_EQ(viewer.Lines(), Cards(1, 1, 60));
    // The next scroll pages through slot 5's cards: none.
    viewer.VScroll1()->setValue(20);
    EXPECT_TRUE(viewer.Lines().empty());
}

TEST_F(HeaderViewerTest, ClosingStoresPlaceAndSizeAndTheNextPressOpensAfresh) {
    frmDisplayHdr& viewer = Open(1);
    viewer.move(120, 90);
    SetOuterSizeTwips(viewer, 7000, 6000);
    const QRectF outer = OuterGeometryTwips(viewer);
    CloseViewer();

    EXPECT_EQ(ws.HdrLeft, std::lround(outer.left()));
    EXPECT_DOUBLE_EQ(ws.HdrTop, outer.top());
    EXPECT_EQ(ws.HdrWidth, std::lround(outer.width()));
    EXPECT_EQ(ws.HdrHeight, std::lround(outer.height()));
    EXPECT_NEAR(ws.HdrLeft, PixelsToTwips(120), 0.5);

    frmDisplayHdr& again = Open(1);
    const QRectF reopened = OuterGeometryTwips(again);
    EXPECT_NEAR(reopened.left(), outer.left(), kPixel);
    EXPECT_NEAR(reopened.top(), outer.top(), kPixel);
    EXPECT_NEAR(reopened.width(), outer.width(), kPixel);
    EXPECT_NEAR(reopened.height(), outer.height(), kPixel);
    EXPECT_EQ(again.VScroll1()->value(), again.VScroll1()->minimum());
    EXPECT_EQ(again.Lines(), Cards(1, 1, 60));
}

// At program end the viewer vanishes without its closing handler: its size
// is the one of its last resize, its place the one from before it opened.
TEST_F(HeaderViewerTest, DeletingTheHostKeepsTheLastResizeButNotTheMove) {
    auto owner = std::make_unique<HeaderViewerHost>(ws);
    owner->HdrPressed(1);
    QPointer<frmDisplayHdr> viewer = owner->Window();
    viewer->move(300, 300);
    SetOuterSizeTwips(*viewer, 7000, 6000);
    owner.reset();
    EXPECT_TRUE(viewer.isNull());
    EXPECT_EQ(ws.HdrLeft, 750);
    EXPECT_DOUBLE_EQ(ws.HdrTop, 1500);
    EXPECT_NEAR(ws.HdrWidth, 7000, kPixel);
    EXPECT_NEAR(ws.HdrHeight, 6000, kPixel);
}

// After a Load press in a row never loaded, the next resize pages through
// that row's empty header: the window shrinks to its frame and shows nothing.
TEST_F(HeaderViewerTest, ResizeOnAnEmptySlotShowsNoCards) {
    frmDisplayHdr& viewer = Open(1);
    ws.CurSlot = 7;
    SetOuterSizeTwips(viewer, 6000, 4000);
    EXPECT_TRUE(viewer.Lines().empty());
    EXPECT_FALSE(viewer.VScroll1()->isVisible());
    EXPECT_LT(OuterGeometryTwips(viewer).height(), 4000);
}

bool ShowsOnSomeScreen(const QWidget& window) {
    for (const QScreen* screen : QGuiApplication::screens())
        if (screen->availableGeometry().intersects(window.frameGeometry())) return true;
    return false;
}

TEST_F(HeaderViewerTest, StoredPlaceOffEveryScreenOpensWhereItCanBeSeen) {
    const struct { int left; double top; } places[] = {{30000, 30000}, {-20000, 800}, {600, -9000.5}};
    for (const auto& place : places) {
        ws.HdrLeft = place.left;
        ws.HdrTop = place.top;
        frmDisplayHdr& viewer = Open(1);
        EXPECT_TRUE(ShowsOnSomeScreen(viewer)) << place.left << ", " << place.top;
        CloseViewer();
    }
}

}  // namespace
}  // namespace wendrel
