// The plot window in the program: its opening, Exit and close box, the Lines
// menu's marks, zoom and pan with the read-out under the mouse, drags, the
// wheel, the keys and the View menu.
#include <QClipboard>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QSpinBox>
#include <random>

#include "plot/cursor_readout.h"
#include "plot/painter_surface.h"
#include "plot/plot_layout.h"
#include "plot/plot_window_size.h"
#include "plot/renderer.h"
#include "plot/uncertainty_band.h"
#include "tests/windows/program_fixture.h"
#include "windows/measure_panel.h"
#include "windows/outer_frame.h"
#include "windows/twips.h"

namespace wendrel::testing {

class PlotWindowTest : public ProgramTest {
protected:
    // The point of the drawing surface, in pixels, at fractions of the plot box's width and height.
    static QPointF At(const frmPlot_Spectra& plot, double across, double down) {
        const PlotLayout& b = plot.Layout();
        return QPointF(b.x0 + across * (b.x1 - b.x0), b.y0 + down * (b.y1 - b.y0)) / TwipsPerPixel();
    }
    static void Mouse(frmPlot_Spectra& plot, QEvent::Type type, QPointF at, Qt::KeyboardModifiers keys = {}) {
        QMouseEvent event(type, at, plot.Canvas()->mapToGlobal(at), type == QEvent::MouseMove ? Qt::NoButton : Qt::LeftButton,
                          type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::LeftButton, keys);
        QApplication::sendEvent(plot.Canvas(), &event);
    }
    static void Drag(frmPlot_Spectra& plot, QPointF from, QPointF to, Qt::KeyboardModifiers keys = {}) {
        Mouse(plot, QEvent::MouseButtonPress, from, keys);
        Mouse(plot, QEvent::MouseMove, to, keys);
        Mouse(plot, QEvent::MouseButtonRelease, to, keys);
        ProcessEvents();
    }
    static void Wheel(frmPlot_Spectra& plot, QPointF at, int angle) {
        QWheelEvent event(at, plot.Canvas()->mapToGlobal(at), {}, {0, angle}, Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
        QApplication::sendEvent(plot.Canvas(), &event);
        ProcessEvents();
    }
    std::pair<double, double> View() { return {ws().View.PlotLeft, ws().View.PlotRight}; }
};

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
    for (auto [shown, kept] : {std::pair{outer.left(), ws().Config.PlotWinLeft}, {outer.top(), ws().Config.PlotWinTop},
                               {outer.width(), ws().Config.PlotWinWidth}, {outer.height(), kPlotWinMinHeight}})
        EXPECT_NEAR(shown, kept, TwipsPerPixel());
    EXPECT_EQ(ws().Config.PlotWinHeight, 1000);
    plot.resize(TwipsToPixels(40000), TwipsToPixels(36000));  // beyond 16 bits, the box still follows the frame
    EXPECT_EQ(QSize(plot.Layout().x1 + 415, plot.Layout().y1 + 2050), OuterGeometryTwips(plot).size().toSize());
    EXPECT_EQ(plot.Image().size(), plot.Canvas()->size());  // redrawn at the new size

    QAction* balmer = plot.LinesMenu()->findChild<QAction*>("mLine_balmer");
    EXPECT_EQ(MarkPixels(plot), 0);
    for (bool checked : {true, false, true}) {
        balmer->trigger();
        EXPECT_EQ(ws().View.LineMarkSets.count("balmer"), checked);
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
    EXPECT_EQ(std::pair(ws().Config.PlotWinLeft, ws().Config.PlotWinTop), std::pair(32767, -32768));
    Click(mainWindow().plotButton());
    EXPECT_TRUE(OnAScreen(MustShow<frmPlot_Spectra>("the plot")));
}

TEST_F(PlotWindowTest, ZoomPanAndTheReadOutUnderTheMouse) {
    frmPlot_Spectra& plot = StartWithTwoSpectra();
    const double full = ws().View.PlotSpan();
    Click(plot.Command1());
    const double zoomed = ws().View.PlotSpan();
    EXPECT_LT(zoomed, full);
    const double left = ws().View.PlotLeft;
    plot.Scroll()->triggerAction(QAbstractSlider::SliderPageStepAdd);
    EXPECT_GT(ws().View.PlotLeft, left);

    const auto moveMouse = [&](QPoint pixel) {
        QMouseEvent move(QEvent::MouseMove, QPointF(pixel), plot.Canvas()->mapToGlobal(QPointF(pixel)),
                         Qt::NoButton, Qt::NoButton, Qt::NoModifier);
        QApplication::sendEvent(plot.Canvas(), &move);
        const float twips = float(TwipsPerPixel());
        return ReadCursor(ws(), plot.Layout(), pixel.x() * twips, pixel.y() * twips, twips);  // what the logic reads
    };
    const PlotLayout& box = plot.Layout();
    const CursorReadout read =
        moveMouse(QPoint(TwipsToPixels((box.x0 + box.x1) / 3.0), TwipsToPixels((box.y0 + box.y1) / 2.0)));
    ASSERT_TRUE(read.Inside && read.Wavelength > ws().View.PlotLeft);
    EXPECT_EQ(plot.Canvas()->cursor().shape(), Qt::CrossCursor);
    EXPECT_EQ(plot.WavelengthReadout()->text().toStdString(), read.WavelengthCaption);
    EXPECT_EQ(plot.IntensityReadout()->text().toStdString(), read.IntensityCaption);
    EXPECT_EQ(plot.CurveReadout()->text().toStdString(), read.CurveCaption);
    EXPECT_NE(read.CurveCaption.find(".fits  "), std::string::npos);  // the nearest curve: its file name
    moveMouse(QPoint(2, 2));  // outside the box: the read-outs stay
    EXPECT_EQ(plot.Canvas()->cursor().shape(), Qt::ArrowCursor);
    EXPECT_EQ(plot.WavelengthReadout()->text().toStdString(), read.WavelengthCaption);
    EXPECT_EQ(plot.CurveReadout()->text().toStdString(), read.CurveCaption);
    Click(row(read.CurveSlot).Command2);  // its spectrum unloaded: no longer named
    EXPECT_EQ(plot.CurveReadout()->text(), "");
    Click(plot.Command2());
    EXPECT_GT(ws().View.PlotSpan(), zoomed);
    Click(plot.Command3());
    EXPECT_EQ(ws().View.PlotSpan(), ws().View.LambdaMax - ws().View.LambdaMin);
}

TEST_F(PlotWindowTest, DragsZoomFixTheIntensityAxisMeasureOrFitAndTinyOnesAreClicks) {
    frmPlot_Spectra& plot = StartWithTwoSpectra();
    const auto [left, right] = View();
    const double span = right - left;
    Drag(plot, At(plot, 0.3, 0.5), At(plot, 0.3, 0.9) + QPointF(3, 0));
    EXPECT_EQ(View(), std::pair(left, right));
    Drag(plot, At(plot, 0.6, 0.5), At(plot, 0.2, 0.9));
    EXPECT_NEAR(ws().View.PlotLeft, left + 0.2 * span, 1e-9 * span);
    EXPECT_NEAR(ws().View.PlotRight, left + 0.6 * span, 1e-9 * span);

    const double yMin = plot.Layout().yMin, ySpan = plot.Layout().yMax - yMin;
    Drag(plot, At(plot, 0.5, 0.75), At(plot, 0.5, 0.25), Qt::ShiftModifier);
    EXPECT_EQ(ws().View.Intensity, PlotView::IntensityRange::Fixed);
    EXPECT_NEAR(ws().View.IntensityLow, yMin + 0.25 * ySpan, 1e-9 * ySpan);
    EXPECT_NEAR(ws().View.IntensityHigh, yMin + 0.75 * ySpan, 1e-9 * ySpan);
    EXPECT_TRUE(plot.ViewMenu()->findChild<QAction*>("mIntensityRange")->isChecked());

    Drag(plot, At(plot, 0.1, 0.5), At(plot, 0.3, 0.5), Qt::ControlModifier);
    MeasurePanel* panel = plot.MeasurementPanel();
    ASSERT_TRUE(panel && panel->isVisible() && ws().View.Measured.Slot > 0);
    EXPECT_TRUE(panel->Text().startsWith(QString::fromStdString(ws().slot(ws().View.Measured.Slot)->FileName + "\nSpan ")));
    Click(panel->CopyButton());
    EXPECT_TRUE(QGuiApplication::clipboard()->text().startsWith("quantity\tvalue\terror\tunit\n"));
    // With Shift as well a fit, drawn over the curve; the panel's number of components fits it again.
    Drag(plot, At(plot, 0.1, 0.5), At(plot, 0.2, 0.5), Qt::ControlModifier | Qt::ShiftModifier);
    ASSERT_EQ(ws().View.Measured.FitCurves.size(), 2u) << (messages_.empty() ? "" : messages_[0]);
    panel->ComponentsBox()->setValue(2);
    EXPECT_EQ(ws().View.Measured.FitCurves.size(), 3u);
    EXPECT_TRUE(panel->Text().contains("Fit        2 Gaussian components"));
    Click(panel->CopyButton());
    EXPECT_TRUE(QGuiApplication::clipboard()->text().startsWith("component\tcentre (Å)\tcentre_err (Å)\tpeak"));
    panel->reject();  // closing the panel takes the span off the plot
    EXPECT_EQ(ws().View.Measured.Slot, 0);
    EXPECT_EQ(plot.View().SetRange("4500", "4501"), "");  // the narrowest view: 5 pixels
    Drag(plot, At(plot, 0.1, 0.5), At(plot, 0.3, 0.5), Qt::ControlModifier);
    ASSERT_EQ(messages_.size(), 1u);
    EXPECT_NE(messages_[0].find("fewer than 3 pixels"), std::string::npos);
}

// A text spectrum of wavelength, flux and sigma with two blended absorption lines near 5090 and 5098 A.
TEST_F(PlotWindowTest, UncertaintiesBandThenAMeasurementAndATwoComponentFitTakeTheFilesErrors) {
    std::string text = "# wavelength flux sigma\n";
    std::mt19937 random(1);
    std::normal_distribution<double> noise(0, 5);
    for (int p = 0; p < 400; ++p) {
        const double l = 5000 + 0.5 * p;
        const double f = 1000 - 300 * std::exp(-std::pow((l - 5090) / 2, 2) / 2) -
                         200 * std::exp(-std::pow((l - 5098) / 2, 2) / 2) + noise(random);
        text += std::to_string(l) + " " + std::to_string(f) + " 5\n";
    }
    WriteFileBytes(data_ / "errors.txt", text);
    Start().LoadAtStart({DataFile("errors.txt")});
    ProcessEvents();
    frmPlot_Spectra& plot = MustShow<frmPlot_Spectra>("the plot");
    const auto tinted = [&] {
        const QImage rgb = plot.Image().convertToFormat(QImage::Format_RGB32);
        const auto* pixels = reinterpret_cast<const QRgb*>(rgb.constBits());
        return std::count(pixels, pixels + rgb.width() * rgb.height(), ColorOf(BandTint(ws().slot(1).SlotColor)).rgb());
    };
    EXPECT_EQ(tinted(), 0);
    Choose(plot, "View", "Uncertainties");
    EXPECT_TRUE(ws().View.ShowUncertainties && plot.ViewMenu()->findChild<QAction*>("mUncertainties")->isChecked());
    EXPECT_GT(tinted(), 100);

    const auto at = [&](double lambda) { return At(plot, (lambda - ws().View.PlotLeft) / ws().View.PlotSpan(), 0.5); };
    Drag(plot, at(5080), at(5108), Qt::ControlModifier);
    MeasurePanel* panel = plot.MeasurementPanel();
    ASSERT_TRUE(panel && panel->isVisible());
    EXPECT_TRUE(panel->Text().contains("Errors     from the file's pixel errors")) << panel->Text().toStdString();
    Drag(plot, at(5080), at(5108), Qt::ControlModifier | Qt::ShiftModifier);
    panel->ComponentsBox()->setValue(2);
    ASSERT_EQ(ws().View.Measured.FitCurves.size(), 3u) << (messages_.empty() ? "" : messages_[0]);
    EXPECT_TRUE(panel->Text().contains("Fit        2 Gaussian components")) << panel->Text().toStdString();
    EXPECT_TRUE(panel->Text().contains("Errors     from the file's pixel errors"));
    EXPECT_GT(tinted(), 100);  // the band stays under the fitted profile
}

TEST_F(PlotWindowTest, TheWheelZoomsAboutTheWavelengthUnderTheCursor) {
    frmPlot_Spectra& plot = StartWithTwoSpectra();
    const auto [left, right] = View();
    const double span = right - left, under = left + 0.25 * span;
    Wheel(plot, At(plot, 0.25, 0.5), 120);
    EXPECT_NEAR(ws().View.PlotSpan(), span / kWheelZoomFactor, 1e-9 * span);
    EXPECT_NEAR(ws().View.PlotLeft + 0.25 * ws().View.PlotSpan(), under, 1e-9 * span);
    Wheel(plot, QPointF(2, 2), 120);  // outside the box
    EXPECT_NEAR(ws().View.PlotSpan(), span / kWheelZoomFactor, 1e-9 * span);
    Wheel(plot, At(plot, 0.25, 0.5), -240);
    EXPECT_EQ(View(), std::pair(left, right));
}

TEST_F(PlotWindowTest, KeysAndTheViewMenu) {
    frmPlot_Spectra& plot = StartWithTwoSpectra();
    plot.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&plot));
    const auto [left, right] = View();
    const double span = right - left;
    QTest::keyClick(&plot, Qt::Key_Plus);
    EXPECT_EQ(View(), std::pair(left + span / 4, right - span / 4));
    QTest::keyClick(&plot, Qt::Key_Right);
    EXPECT_NEAR(ws().View.PlotLeft, left + 0.3 * span, 1e-9 * span);
    QTest::keyClick(&plot, Qt::Key_Minus);  // about the centre, held inside the full range
    EXPECT_NEAR(ws().View.PlotLeft, left + 0.05 * span, 1e-9 * span);
    EXPECT_EQ(ws().View.PlotRight, right);
    QTest::keyClick(&plot, Qt::Key_Home);
    EXPECT_EQ(ws().View.PlotSpan(), span);
    Choose(plot, "View", "Previous View");
    EXPECT_NEAR(ws().View.PlotLeft, left + 0.05 * span, 1e-9 * span);

    const auto answer = [](const char* low, const char* high) {
        AnswerNextDialog([=](QWidget& dialog) {
            dialog.findChild<QLineEdit*>("low")->setText(low);
            dialog.findChild<QLineEdit*>("high")->setText(high);
            static_cast<QDialog&>(dialog).accept();
        });
    };
    answer("4100", "4200");
    Choose(plot, "View", "Set Range ...");
    EXPECT_EQ(View(), std::pair(4100.0, 4200.0));
    answer("4300", "4200");
    Choose(plot, "View", "Set Range ...");
    EXPECT_EQ(messages_, std::vector<std::string>{"The left wavelength must be below the right one."});
    answer("-5", "80");
    plot.ViewMenu()->findChild<QAction*>("mIntensityRange")->trigger();
    ProcessEvents();
    EXPECT_EQ(std::tuple(ws().View.Intensity, ws().View.IntensityLow, ws().View.IntensityHigh), std::tuple(PlotView::IntensityRange::Fixed, -5.0, 80.0));
    for (const char* item : {"mFitToView", "mFlux", "mLegend"}) plot.ViewMenu()->findChild<QAction*>(item)->trigger();
    EXPECT_EQ(std::tuple(ws().View.Intensity, ws().View.ScaleFlux, ws().View.ShowLegend), std::tuple(PlotView::IntensityRange::FitToView, true, true));
    EXPECT_TRUE(plot.ViewMenu()->findChild<QAction*>("mLegend")->isChecked());
}

}  // namespace wendrel::testing
