// The plot window in the program: its opening, Exit and close box, zoom and
// pan with the read-out under the mouse, and the Lines menu's marks.
#include <QMouseEvent>
#include <algorithm>

#include "plot/cursor_readout.h"
#include "plot/painter_surface.h"
#include "plot/plot_layout.h"
#include "plot/plot_window_size.h"
#include "plot/renderer.h"
#include "tests/windows/program_fixture.h"
#include "windows/outer_frame.h"
#include "windows/twips.h"

namespace wendrel::testing {
namespace {

int MarkPixels(const QImage& image) {
    const QImage rgb = image.convertToFormat(QImage::Format_RGB32);
    const auto* pixels = reinterpret_cast<const QRgb*>(rgb.constBits());
    return int(std::count(pixels, pixels + rgb.width() * rgb.height(), ColorOf(kLineMarkColor).rgb()));
}

class PlotWindowTest : public ProgramTest {
protected:
    // Moves the mouse to a pixel of the plot; returns what the logic reads there.
    CursorReadout MoveMouse(frmPlot_Spectra& plot, QPoint pixel) {
        QMouseEvent move(QEvent::MouseMove, QPointF(pixel), plot.Canvas()->mapToGlobal(QPointF(pixel)), Qt::NoButton,
                         Qt::NoButton, Qt::NoModifier);
        QApplication::sendEvent(plot.Canvas(), &move);
        const float twips = float(TwipsPerPixel());
        return ReadCursor(ws(), plot.Layout(), pixel.x() * twips, pixel.y() * twips);
    }
};

TEST_F(PlotWindowTest, OpensAtItsStoredPlaceAndExitOrTheCloseBoxPutItAway) {
    frmPlot_Spectra& plot = StartWithTwoSpectra();
    EXPECT_EQ(plot.windowTitle(), "Plot Spectra");
    // The stored height is below the least the window takes: it opens at that
    // least and the stored height stays.
    const QRectF outer = OuterGeometryTwips(plot);
    for (auto [shown, kept] : {std::pair{outer.left(), ws().PlotWinLeft}, {outer.top(), ws().PlotWinTop},
                               {outer.width(), ws().PlotWinWidth}, {outer.height(), double(kPlotWinMinHeight)}})
        EXPECT_NEAR(shown, kept, TwipsPerPixel());
    EXPECT_EQ(ws().PlotWinHeight, 1000);
    for (const char* item : {"Save Picture As ...", "Print Setup ...", "Print", "Exit"}) MenuItem(plot, "File", item);

    plot.resize(plot.width() + 60, plot.height());
    EXPECT_EQ(ws().PlotWinWidth, StoredTwips(OuterGeometryTwips(plot).width()));
    EXPECT_EQ(plot.Image().size(), plot.Canvas()->size());  // redrawn at the new size

    Choose(plot, "File", "Exit");
    EXPECT_EQ(Shown<frmPlot_Spectra>(), nullptr);
    Click(mainWindow().plotButton());
    EXPECT_EQ(Shown<frmPlot_Spectra>(), &plot);

    // The close box stores the place, held to 16 bits.
    plot.move(TwipsToPixels(40000), -TwipsToPixels(40000));
    plot.close();
    ProcessEvents();
    EXPECT_EQ(Shown<frmPlot_Spectra>(), nullptr);
    EXPECT_EQ(ws().PlotWinLeft, 32767);
    EXPECT_EQ(ws().PlotWinTop, -32768);
}

TEST_F(PlotWindowTest, ZoomPanAndTheReadOutUnderTheMouse) {
    frmPlot_Spectra& plot = StartWithTwoSpectra();
    const double full = ws().PlotSpan;
    Click(plot.Command1());
    const double zoomed = ws().PlotSpan;
    EXPECT_LT(zoomed, full);
    const ScrollBar& bar = plot.View().Scroll();
    EXPECT_EQ(QList<int>({plot.Scroll()->minimum(), plot.Scroll()->maximum(), plot.Scroll()->value()}),
              QList<int>({bar.Min(), bar.Max(), bar.Value()}));
    const double left = ws().PlotLeft;
    plot.Scroll()->triggerAction(QAbstractSlider::SliderPageStepAdd);
    EXPECT_GT(ws().PlotLeft, left);
    EXPECT_DOUBLE_EQ(ws().PlotRight - ws().PlotLeft, ws().PlotSpan);

    const PlotLayout& box = plot.Layout();
    const QPoint inside(TwipsToPixels((box.x0 + box.x1) / 3.0), TwipsToPixels((box.y0 + box.y1) / 2.0));
    const CursorReadout read = MoveMouse(plot, inside);
    ASSERT_TRUE(read.Inside && read.Wavelength > ws().PlotLeft);
    EXPECT_EQ(plot.Canvas()->cursor().shape(), Qt::CrossCursor);
    EXPECT_EQ(plot.WavelengthReadout()->text().toStdString(), read.WavelengthCaption);
    EXPECT_EQ(plot.IntensityReadout()->text().toStdString(), read.IntensityCaption);
    MoveMouse(plot, QPoint(2, 2));  // outside the box: the read-outs stay
    EXPECT_EQ(plot.Canvas()->cursor().shape(), Qt::ArrowCursor);
    EXPECT_EQ(plot.WavelengthReadout()->text().toStdString(), read.WavelengthCaption);

    Click(plot.Command2());
    EXPECT_GT(ws().PlotSpan, zoomed);
    Click(plot.Command3());
    EXPECT_EQ(std::pair(ws().PlotLeft, ws().PlotRight), std::pair(ws().LambdaMin, ws().LambdaMax));
}

TEST_F(PlotWindowTest, LinesMenuMarksItsSetsAndAReopenedWindowKeepsTheChoice) {
    frmPlot_Spectra& plot = StartWithTwoSpectra();
    auto balmer = [] { return Shown<frmPlot_Spectra>()->LinesMenu()->findChild<QAction*>("mLine_balmer"); };
    EXPECT_EQ(MarkPixels(plot.Image()), 0);
    for (bool checked : {true, false, true}) {
        balmer()->trigger();
        EXPECT_EQ(ws().LineMarkSets.count("balmer"), checked);
        EXPECT_EQ(MarkPixels(plot.Image()) > 0, checked);
    }
    plot.close();
    ProcessEvents();
    Click(mainWindow().plotButton());
    ASSERT_NE(Shown<frmPlot_Spectra>(), nullptr);
    EXPECT_TRUE(balmer()->isChecked());
    EXPECT_GT(MarkPixels(Shown<frmPlot_Spectra>()->Image()), 0);
}

}  // namespace
}  // namespace wendrel::testing
