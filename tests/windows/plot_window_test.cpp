#include "windows/plot_window.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QLabel>
#include <QMenuBar>
#include <QMouseEvent>
#include <QPushButton>
#include <QScrollBar>
#include <QTest>
#include <cmath>
#include <map>

#include "plot/cursor_readout.h"
#include "plot/plot_layout.h"
#include "tests/windows/forwarding_ui.h"
#include "windows/plot_window_host.h"
#include "windows/twips.h"

namespace wendrel {
namespace {

// A slot of n pixels from `start` in steps of `step`, a sawtooth between 50
// and 150 percent.
void LoadSlot(Workspace& ws, int k, double start, double step, int n) {
    Slot& s = ws.slot(k);
    s.Loaded = true;
    s.Naxis1 = n;
    s.DLambda = step;
    s.LambdaStart = start;
    s.LambdaEnd = start + n * step;
    s.FluxPct.assign(static_cast<size_t>(n), 0);
    for (int p = 0; p < n; ++p) s.FluxPct[static_cast<size_t>(p)] = 50 + (p % 20) * 5;
    s.PctMax = 145;
    ws.LambdaMin = std::min(ws.LambdaMin, s.LambdaStart);
    ws.LambdaMax = std::max(ws.LambdaMax, s.LambdaEnd);
    ws.PlotLeft = ws.LambdaMin;
    ws.PlotRight = ws.LambdaMax;
    ws.PlotSpan = ws.PlotRight - ws.PlotLeft;
    ws.DataReady = true;
}

QRectF OuterTwips(const QWidget& w) {
    const QRect r = w.frameGeometry();
    return {PixelsToTwips(r.left()), PixelsToTwips(r.top()), PixelsToTwips(r.width()), PixelsToTwips(r.height())};
}

bool HasColour(const QImage& image, QRgb colour) {
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if ((image.pixel(x, y) & 0xFFFFFF) == (colour & 0xFFFFFF)) return true;
    return false;
}

class PlotWindowTest : public ::testing::Test {
protected:
    PlotWindowTest() {
        ui.host = &host;
        host.SetOffsetCaptionHandler([this](int slot, const std::string& caption) { offsetCaptions[slot] = caption; });
        ws.PlotWinLeft = 1500;
        ws.PlotWinTop = 1200;
        ws.PlotWinWidth = 9000;
        ws.PlotWinHeight = 6000;
        LoadSlot(ws, 1, 4000, 1, 3000);
        LoadSlot(ws, 3, 4500, 0.5, 2000);
    }
    ~PlotWindowTest() override { QApplication::processEvents(); }

    frmPlot_Spectra& Opened() {
        host.RedrawPlot();
        EXPECT_NE(host.Window(), nullptr);
        return *host.Window();
    }
    void MoveMouse(frmPlot_Spectra& w, QPoint pixel) {
        QMouseEvent move(QEvent::MouseMove, QPointF(pixel), w.Canvas()->mapToGlobal(QPointF(pixel)), Qt::NoButton,
                         Qt::NoButton, Qt::NoModifier);
        QApplication::sendEvent(w.Canvas(), &move);
    }

    Workspace ws;
    testing::ForwardingUi ui;
    PlotWindowHost host{ws, ui};
    std::map<int, std::string> offsetCaptions;
};

TEST_F(PlotWindowTest, NothingOpensBeforeASpectrumIsLoaded) {
    ws.DataReady = false;
    host.RedrawPlot();
    EXPECT_EQ(host.Window(), nullptr);
    EXPECT_FALSE(ws.PlotShown);
}

TEST_F(PlotWindowTest, TheFirstRedrawOpensTheWindowAtItsStoredPlace) {
    EXPECT_EQ(host.Window(), nullptr);
    frmPlot_Spectra& w = Opened();
    EXPECT_TRUE(w.isVisible());
    EXPECT_EQ(w.windowTitle(), "Plot Spectra");
    EXPECT_TRUE(ws.PlotShown);
    const QRectF outer = OuterTwips(w);
    const double pixel = TwipsPerPixel();
    EXPECT_NEAR(outer.left(), 1500, pixel);
    EXPECT_NEAR(outer.top(), 1200, pixel);
    EXPECT_NEAR(outer.width(), 9000, pixel);
    EXPECT_NEAR(outer.height(), 6000, pixel);

    const QRect in(TwipsToPixels(4440), TwipsToPixels(6000 - 1420), TwipsToPixels(735), TwipsToPixels(375));
    EXPECT_EQ(w.Command1()->geometry(), in);
    EXPECT_EQ(w.Command1()->text(), "In");
    EXPECT_EQ(w.Command2()->text(), "Out");
    EXPECT_EQ(w.Command3()->text(), "Full Range");
    EXPECT_EQ(w.Scroll()->geometry().top(), TwipsToPixels(6000 - 1660));

    QStringList entries;
    for (QAction* a : w.menuBar()->actions().front()->menu()->actions())
        entries << (a->isSeparator() ? "-" : a->text());
    EXPECT_EQ(w.menuBar()->actions().front()->text(), "File");
    EXPECT_EQ(entries, (QStringList{"Save Picture As ...", "Print Setup ...", "Print", "-", "Exit"}));

    EXPECT_EQ(offsetCaptions, (std::map<int, std::string>{{1, "-75"}, {3, "-45"}}));
    EXPECT_EQ(w.PlotLabelWidget(PlotLabel::WavelengthTitle)->text(), "Wavelength /Angstroms");
}

TEST_F(PlotWindowTest, ABelowMinimumStoredSizeOpensAtTheMinimumAndStaysStored) {
    ws.PlotWinWidth = 10000;
    ws.PlotWinHeight = 1000;
    frmPlot_Spectra& w = Opened();
    EXPECT_NEAR(OuterTwips(w).height(), kPlotWinMinHeight, TwipsPerPixel());
    EXPECT_EQ(ws.PlotWinHeight, 1000);
    EXPECT_EQ(w.Layout().y1 - w.Layout().y0, kMinBoxHeight);
    w.resize(10, 10);
    EXPECT_GE(OuterTwips(w).height(), kPlotWinMinHeight - TwipsPerPixel());
    EXPECT_GE(OuterTwips(w).width(), kPlotWinMinWidth - TwipsPerPixel());
}

TEST_F(PlotWindowTest, AResizeStoresTheSizeAndRedrawsAtOnce) {
    frmPlot_Spectra& w = Opened();
    const int redraws = ui.redraws;
    w.resize(w.width() + 60, w.height() + 40);
    const QRectF outer = OuterTwips(w);
    EXPECT_EQ(ws.PlotWinWidth, StoredTwips(outer.width()));
    EXPECT_EQ(ws.PlotWinHeight, StoredTwips(outer.height()));
    EXPECT_EQ(ui.redraws, redraws + 1);
    EXPECT_EQ(w.Layout().x1, ws.PlotWinWidth - 415);
    EXPECT_EQ(w.Image().size(), w.Canvas()->size());
    EXPECT_EQ(w.Command1()->geometry().top(), TwipsToPixels(ws.PlotWinHeight - 1420));
}

TEST_F(PlotWindowTest, AResizeWithNothingLoadedChangesNothing) {
    frmPlot_Spectra& w = Opened();
    ws.DataReady = false;
    const int redraws = ui.redraws;
    const QRect command1 = w.Command1()->geometry();
    w.resize(w.width() + 60, w.height() + 40);
    EXPECT_EQ(ws.PlotWinWidth, 9000);
    EXPECT_EQ(ws.PlotWinHeight, 6000);
    EXPECT_EQ(ui.redraws, redraws);
    EXPECT_EQ(w.Command1()->geometry(), command1);
}

TEST_F(PlotWindowTest, ExitHidesAndTheNextRedrawShowsTheSameWindowInPlace) {
    frmPlot_Spectra& w = Opened();
    w.move(w.pos() + QPoint(30, 20));
    const QPoint place = w.pos();
    offsetCaptions.clear();
    w.findChild<QAction*>("mExit")->trigger();
    EXPECT_FALSE(w.isVisible());
    EXPECT_TRUE(ws.PlotShown);
    EXPECT_EQ(host.Window(), &w);
    host.RedrawPlot();
    EXPECT_TRUE(w.isVisible());
    EXPECT_EQ(w.pos(), place);
    EXPECT_TRUE(offsetCaptions.empty()) << "the window did not open again";
}

TEST_F(PlotWindowTest, TheCloseBoxRecordsThePlaceAndTheNextRedrawOpensAfresh) {
    frmPlot_Spectra& w = Opened();
    w.move(200, 150);
    w.resize(700, 500);
    const QRect frame = w.frameGeometry();
    const QRectF outer = OuterTwips(w);
    offsetCaptions.clear();
    w.close();
    EXPECT_FALSE(ws.PlotShown);
    EXPECT_EQ(host.Window(), nullptr);
    EXPECT_EQ(ws.PlotWinLeft, StoredTwips(outer.left()));
    EXPECT_EQ(ws.PlotWinTop, StoredTwips(outer.top()));
    EXPECT_EQ(ws.PlotWinWidth, StoredTwips(outer.width()));
    EXPECT_EQ(ws.PlotWinHeight, StoredTwips(outer.height()));
    QApplication::processEvents();

    frmPlot_Spectra& again = Opened();
    EXPECT_EQ(again.frameGeometry(), frame);
    EXPECT_EQ(offsetCaptions.size(), 2u);
    EXPECT_TRUE(ws.PlotShown);
}

TEST_F(PlotWindowTest, ARectangleBeyond16BitsIsClamped) {
    frmPlot_Spectra& w = Opened();
    w.move(TwipsToPixels(40000), -TwipsToPixels(40000));
    w.close();
    EXPECT_EQ(ws.PlotWinLeft, 32767);
    EXPECT_EQ(ws.PlotWinTop, -32768);
}

TEST_F(PlotWindowTest, MouseMovesShowTheReadoutInsideTheBox) {
    frmPlot_Spectra& w = Opened();
    const PlotLayout& box = w.Layout();
    const QPoint inside(TwipsToPixels((box.x0 + box.x1) / 3.0), TwipsToPixels((box.y0 + box.y1) / 2.0));
    MoveMouse(w, inside);
    const double pixel = TwipsPerPixel();
    const CursorReadout expected = ReadCursor(ws, box, float(inside.x() * pixel), float(inside.y() * pixel));
    ASSERT_TRUE(expected.Inside);
    EXPECT_EQ(w.Canvas()->cursor().shape(), Qt::CrossCursor);
    EXPECT_EQ(w.WavelengthReadout()->text().toStdString(), expected.WavelengthCaption);
    EXPECT_EQ(w.IntensityReadout()->text().toStdString(), expected.IntensityCaption);

    MoveMouse(w, QPoint(2, 2));
    EXPECT_EQ(w.Canvas()->cursor().shape(), Qt::ArrowCursor);
    EXPECT_EQ(w.WavelengthReadout()->text().toStdString(), expected.WavelengthCaption);
}

TEST_F(PlotWindowTest, ZoomButtonsAndTheScrollBarDriveTheView) {
    frmPlot_Spectra& w = Opened();
    QTest::mouseClick(w.Command1(), Qt::LeftButton);
    QTest::mouseClick(w.Command1(), Qt::LeftButton);
    EXPECT_DOUBLE_EQ(ws.PlotSpan, 750);
    const ScrollBar& bar = w.View().Scroll();
    QScrollBar* widget = w.Scroll();
    EXPECT_EQ(widget->minimum(), bar.Min());
    EXPECT_EQ(widget->maximum(), bar.Max());
    EXPECT_EQ(widget->value(), bar.Value());
    EXPECT_EQ(widget->singleStep(), 75);
    EXPECT_EQ(widget->pageStep(), 750);

    const double left = ws.PlotLeft;
    widget->triggerAction(QAbstractSlider::SliderSingleStepAdd);
    EXPECT_DOUBLE_EQ(ws.PlotLeft, left + 75);
    widget->triggerAction(QAbstractSlider::SliderPageStepSub);
    EXPECT_DOUBLE_EQ(ws.PlotLeft, left - 675);

    widget->setSliderDown(true);
    widget->setSliderPosition(widget->maximum());
    EXPECT_DOUBLE_EQ(ws.PlotRight, ws.LambdaMax);
    widget->setSliderDown(false);

    QTest::mouseClick(w.Command3(), Qt::LeftButton);
    EXPECT_DOUBLE_EQ(ws.PlotLeft, 4000);
    EXPECT_DOUBLE_EQ(ws.PlotRight, 7000);
    QTest::mouseClick(w.Command1(), Qt::LeftButton);
    QTest::mouseClick(w.Command2(), Qt::LeftButton);
    EXPECT_DOUBLE_EQ(ws.PlotSpan, 3000);
}

TEST_F(PlotWindowTest, TheScrollBarFollowsALoadWithoutMovingTheView) {
    frmPlot_Spectra& w = Opened();
    QTest::mouseClick(w.Command1(), Qt::LeftButton);
    LoadSlot(ws, 5, 6500, 1, 1000);  // widens the range to 7500 and shows all of it
    host.RedrawPlot();
    EXPECT_DOUBLE_EQ(ws.PlotLeft, 4000);
    EXPECT_DOUBLE_EQ(ws.PlotRight, 7500);
    EXPECT_EQ(w.Scroll()->minimum(), 5750);
    EXPECT_EQ(w.Scroll()->maximum(), 5750);
    EXPECT_EQ(w.Scroll()->value(), 5750);
}

TEST_F(PlotWindowTest, ThePictureIsKeptAndShownUntilCleared) {
    frmPlot_Spectra& w = Opened();
    const QRgb red = qRgb(255, 0, 0);
    EXPECT_TRUE(HasColour(w.Canvas()->grab().toImage(), red));
    host.ClearPlotWindow();
    EXPECT_FALSE(HasColour(w.Canvas()->grab().toImage(), red));
}

TEST_F(PlotWindowTest, HideLeavesTheWindowOpen) {
    frmPlot_Spectra& w = Opened();
    host.HidePlotWindow();
    EXPECT_FALSE(w.isVisible());
    EXPECT_EQ(host.Window(), &w);
    EXPECT_TRUE(ws.PlotShown);
}

}  // namespace
}  // namespace wendrel
