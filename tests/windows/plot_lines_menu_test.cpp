// The plot window's Lines menu: its checkable sets, the marks they draw and
// the choice a reopened window keeps.
#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QMenu>
#include <QMenuBar>

#include "plot/line_marks.h"
#include "plot/painter_surface.h"
#include "plot/renderer.h"
#include "tests/windows/forwarding_ui.h"
#include "windows/plot_window.h"
#include "windows/plot_window_host.h"

namespace wendrel {
namespace {

// Pixels of the marks' colour in the window's picture.
int MarkPixels(const QImage& image) {
    const QRgb mark = ColorOf(kLineMarkColor).rgb();
    int n = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x) n += image.pixel(x, y) == mark;
    return n;
}

class PlotLinesMenuTest : public ::testing::Test {
protected:
    PlotLinesMenuTest() {
        ui.host = &host;
        ws.PlotWinWidth = 9000;
        ws.PlotWinHeight = 6000;
        Slot& s = ws.slot(1);
        s.Loaded = true;
        s.Naxis1 = 1000;
        s.LambdaStart = 6000;
        s.DLambda = 1;
        s.LambdaEnd = 7000;
        s.FluxPct.assign(1000, 100);
        s.PctMax = 100;
        ws.LambdaMin = ws.PlotLeft = 6000;
        ws.LambdaMax = ws.PlotRight = 7000;
        ws.PlotSpan = 1000;
        ws.DataReady = true;
    }
    ~PlotLinesMenuTest() override { QApplication::processEvents(); }

    frmPlot_Spectra& Opened() {
        host.RedrawPlot();
        EXPECT_NE(host.Window(), nullptr);
        return *host.Window();
    }
    static QAction* Item(frmPlot_Spectra& w, const char* key) {
        return w.LinesMenu()->findChild<QAction*>(QString("mLine_") + key);
    }

    Workspace ws;
    testing::ForwardingUi ui;
    PlotWindowHost host{ws, ui};
};

TEST_F(PlotLinesMenuTest, OneCheckableItemPerSetInItsOwnMenu) {
    frmPlot_Spectra& w = Opened();
    QMenu* lines = w.LinesMenu();
    ASSERT_NE(lines, nullptr);
    EXPECT_EQ(lines->title(), "Lines");
    EXPECT_TRUE(w.menuBar()->actions().contains(lines->menuAction()));
    QStringList captions;
    for (QAction* item : lines->actions()) {
        EXPECT_TRUE(item->isCheckable());
        EXPECT_FALSE(item->isChecked());
        captions << item->text();
    }
    EXPECT_EQ(captions, (QStringList{"Balmer", "Ca II H and K", "Na I D", "Mg I b", "He I", "[O III]",
                                     "[N II] and [S II]", "Telluric O2"}));
}

TEST_F(PlotLinesMenuTest, CheckingASetMarksItsLinesAndUncheckingTakesThemAway) {
    frmPlot_Spectra& w = Opened();
    EXPECT_EQ(MarkPixels(w.Image()), 0);
    const int before = ui.redraws;
    Item(w, "nii-sii")->trigger();
    EXPECT_EQ(ws.LineMarkSets, (std::set<std::string>{"nii-sii"}));
    EXPECT_EQ(ui.redraws, before + 1);
    const int marked = MarkPixels(w.Image());
    EXPECT_GT(marked, 0);
    Item(w, "o2")->trigger();
    EXPECT_GT(MarkPixels(w.Image()), marked);  // O2 B at 6867.2 is in view too
    Item(w, "nii-sii")->trigger();
    Item(w, "o2")->trigger();
    EXPECT_TRUE(ws.LineMarkSets.empty());
    EXPECT_EQ(MarkPixels(w.Image()), 0);
}

TEST_F(PlotLinesMenuTest, AReopenedWindowKeepsTheChoice) {
    frmPlot_Spectra& first = Opened();
    Item(first, "balmer")->trigger();
    first.close();
    QApplication::processEvents();
    ASSERT_EQ(host.Window(), nullptr);
    frmPlot_Spectra& second = Opened();
    EXPECT_TRUE(Item(second, "balmer")->isChecked());
    EXPECT_FALSE(Item(second, "cahk")->isChecked());
    EXPECT_GT(MarkPixels(second.Image()), 0);
}

}  // namespace
}  // namespace wendrel
