// The plot window in the program: its opening, Exit and close box, the Lines
// menu's marks, zoom and pan with the read-out under the mouse.
#include <QMouseEvent>

#include "plot/cursor_readout.h"
#include "plot/painter_surface.h"
#include "plot/plot_layout.h"
#include "plot/plot_window_size.h"
#include "plot/renderer.h"
#include "tests/windows/program_fixture.h"
#include "windows/outer_frame.h"
#include "windows/twips.h"

namespace wendrel::testing {

using PlotWindowTest = ProgramTest;

static int MarkPixels(const frmPlot_Spectra& plot) {
    const QImage rgb = plot.Image().convertToFormat(QImage::Format_RGB32);
    const auto* pixels = reinterpret_cast<const QRgb*>(rgb.constBits());
    return int(std::count(pixels, pixels + rgb.width() * rgb.height(), ColorOf(kLineMarkColor).rgb()));
}

// The marks chosen stay chosen in a reopened window.
TEST_F(PlotWindowTest, OpensAtItsStoredPlaceMarksLinesAndExitOrTheCloseBoxPutItAway) {
    frmPlot_Spectra& plot = StartWithTwoSpectra();
    // The stored height is below the least the window takes: it opens at that
    // least and the stored height stays.
    const QRectF outer = OuterGeometryTwips(plot);
    for (auto [shown, kept] : {std::pair{outer.left(), ws().PlotWinLeft}, {outer.top(), ws().PlotWinTop},
                               {outer.width(), ws().PlotWinWidth}, {outer.height(), kPlotWinMinHeight}})
        EXPECT_NEAR(shown, kept, TwipsPerPixel());
    EXPECT_EQ(ws().PlotWinHeight, 1000);
    plot.resize(TwipsToPixels(40000), TwipsToPixels(36000));  // beyond 16 bits, the box still follows the frame
    EXPECT_EQ(QSize(plot.Layout().x1 + 415, plot.Layout().y1 + 2050), OuterGeometryTwips(plot).size().toSize());
    EXPECT_EQ(plot.Image().size(), plot.Canvas()->size());  // redrawn at the new size

    QAction* balmer = plot.LinesMenu()->findChild<QAction*>("mLine_balmer");
    EXPECT_EQ(MarkPixels(plot), 0);
    for (bool checked : {true, false, true}) {
        balmer->trigger();
        EXPECT_EQ(ws().LineMarkSets.count("balmer"), checked);
        EXPECT_EQ(MarkPixels(plot) > 0, checked);
    }
    Choose(plot, "File", "Exit");
    EXPECT_EQ(Shown<frmPlot_Spectra>(), nullptr);
    Click(mainWindow().plotButton());
    EXPECT_EQ(Shown<frmPlot_Spectra>(), &plot);
    EXPECT_TRUE(plot.LinesMenu()->findChild<QAction*>("mLine_balmer")->isChecked());
    EXPECT_GT(MarkPixels(plot), 0);

    // The close box stores the place, held to 16 bits; off every screen, it reopens on one.
    plot.move(TwipsToPixels(40000), -TwipsToPixels(40000));
    plot.close();
    ProcessEvents();
    EXPECT_EQ(Shown<frmPlot_Spectra>(), nullptr);
    EXPECT_EQ(std::pair(ws().PlotWinLeft, ws().PlotWinTop), std::pair(32767, -32768));
    Click(mainWindow().plotButton());
    EXPECT_TRUE(OnAScreen(MustShow<frmPlot_Spectra>("the plot")));
}

TEST_F(PlotWindowTest, ZoomPanAndTheReadOutUnderTheMouse) {
    frmPlot_Spectra& plot = StartWithTwoSpectra();
    const double full = ws().PlotSpan;
    Click(plot.Command1());
    const double zoomed = ws().PlotSpan;
    EXPECT_LT(zoomed, full);
    const double left = ws().PlotLeft;
    plot.Scroll()->triggerAction(QAbstractSlider::SliderPageStepAdd);
    EXPECT_GT(ws().PlotLeft, left);

    const auto moveMouse = [&](QPoint pixel) {
        QMouseEvent move(QEvent::MouseMove, QPointF(pixel), plot.Canvas()->mapToGlobal(QPointF(pixel)),
                         Qt::NoButton, Qt::NoButton, Qt::NoModifier);
        QApplication::sendEvent(plot.Canvas(), &move);
        const float twips = float(TwipsPerPixel());
        return ReadCursor(ws(), plot.Layout(), pixel.x() * twips, pixel.y() * twips);  // what the logic reads
    };
    const PlotLayout& box = plot.Layout();
    const CursorReadout read =
        moveMouse(QPoint(TwipsToPixels((box.x0 + box.x1) / 3.0), TwipsToPixels((box.y0 + box.y1) / 2.0)));
    ASSERT_TRUE(read.Inside && read.Wavelength > ws().PlotLeft);
    EXPECT_EQ(plot.Canvas()->cursor().shape(), Qt::CrossCursor);
    EXPECT_EQ(plot.WavelengthReadout()->text().toStdString(), read.WavelengthCaption);
    EXPECT_EQ(plot.IntensityReadout()->text().toStdString(), read.IntensityCaption);
    moveMouse(QPoint(2, 2));  // outside the box: the read-outs stay
    EXPECT_EQ(plot.Canvas()->cursor().shape(), Qt::ArrowCursor);
    EXPECT_EQ(plot.WavelengthReadout()->text().toStdString(), read.WavelengthCaption);
    Click(plot.Command2());
    EXPECT_GT(ws().PlotSpan, zoomed);
    Click(plot.Command3());
    EXPECT_EQ(ws().PlotSpan, ws().LambdaMax - ws().LambdaMin);
}

}  // namespace wendrel::testing
