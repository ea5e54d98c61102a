// frmPlot_Spectra: the plot window. It shows the plot that the redraw paints
// into its off-screen image (so the picture survives being covered), the
// cursor read-outs and zoom controls along its bottom, a File menu, a View
// menu of zoom, pan, intensity axis, scale and legend, and a Lines menu of
// line marks. On the plot a drag zooms to the dragged wavelengths, with Shift
// sets the intensity axis to the dragged heights and with Ctrl measures a
// line; the wheel zooms about the wavelength under the cursor; a click on a
// legend entry picks its spectrum for the curve read-out until the next click.
//
// Places and sizes are twips in the workspace and the logic; they are turned
// into pixels here only. PlotWinLeft .. PlotWinHeight describe the outer
// frame, title bar and borders included.
#pragma once

#include <QImage>
#include <QMainWindow>
#include <array>
#include <functional>
#include <memory>
#include <optional>
#include <utility>
#include <vector>
#include <string>

#include "plot/plot_drag.h"
#include "plot/redraw_layout.h"
#include "plot/view_control.h"
#include "app/ui_hooks.h"
#include "store/workspace.h"

class QAction;
class QLabel;
class QMenu;
class QPushButton;
class QRubberBand;
class QScrollBar;

namespace wendrel {

class MeasurePanel;
class PlotCanvas;

class frmPlot_Spectra : public QMainWindow {
    Q_OBJECT

public:
    // Receives, for each loaded slot, the caption of its offset label in the
    // main window, when the window opens.
    using OffsetCaptionHandler = std::function<void(int slot, const std::string& caption)>;

    // Builds the window's controls; Form_Load then places and fills them.
    // Redraws the window asks for (on resize, zoom and pan) go through ui.
    frmPlot_Spectra(Workspace& ws, UiHooks& ui, OffsetCaptionHandler offsetCaption = {});

    // The opening: syncs the scroll bar with the view, puts the window at its
    // stored place and size (never below its minimum size), lays out the
    // bottom controls and hands the offset captions to the main window.
    void Form_Load();
    // A change of size, when no redraw is under way and a spectrum is loaded:
    // stores the outer size, clears, redraws and lays out the controls again.
    void Form_Resize();
    // x and y in twips on the drawing surface: the pointer and read-outs.
    void Form_MouseMove(float x, float y);
    // The left button pressed, the mouse moved with it held and the button
    // let go, at a point in pixels of the drawing surface: drags and clicks.
    void MouseDown(QPointF pixel, Qt::KeyboardModifiers modifiers);
    void MouseDrag(QPointF pixel);
    void MouseUp(QPointF pixel);
    // The wheel turned by `notches` (positive away from the user: zoom in).
    void WheelTurned(QPointF pixel, double notches);
    // The close box: stores the outer place and size and forgets the measured line, whose panel closes with the window.
    void Form_Unload();
    // File > Exit: hides the window; the next redraw shows it again.
    void mExit_Click();

    // The off-screen image the redraw paints the plot into, one pixel per
    // TwipsPerPixel() twips.
    QImage& Image() { return image_; }
    const QImage& Image() const { return image_; }
    // What the last redraw laid out.
    const PlotLayout& Layout() const { return layout_; }
    // Shows the window and brings it forward.
    void ShowWindow();
    // Clears the picture, first fitting the image to the drawing area.
    void Cls();
    // Keeps a redraw's layout and places the plot labels with their captions.
    void ShowLayout(const PlotLayout& layout);
    // Outer width in twips.
    double OuterWidthTwips() const;
    // Shows the surface's image on screen after a redraw.
    void Repaint();

    ViewControl& View() { return view_; }
    // What the plot is laid out for: the outer size the window last stored
    // (raised to its smallest, as it opens), and its current outer width for
    // the axis title.
    PlotArea DrawnArea() const;
    // While a redraw shows and clears the window, its resizes and scroll bar
    // changes start no redraw of their own. A window is drawing from its
    // construction until the redraw that opened it has shown it.
    void SetDrawing(bool drawing) { drawing_ = drawing; }
    // The View and Lines menus' checks as the workspace stands, after it was
    // changed from outside the window (an opened session).
    void SyncMenus();

    // File > "Save Picture As ...", "Print Setup ..." and "Print". Saving and
    // printing connect to their triggered() signals; until then they do nothing.
    QAction* SavePictureAction() const { return mSavePicture_; }
    // File > "Export Spectra ..."; the program connects to it.
    QAction* ExportSpectraAction() const { return mExportSpectra_; }
    // A right click on a legend entry opens a menu that the handler fills
    // for that entry's slot (Send to ...).
    using LegendMenuHandler = std::function<void(QMenu& menu, int slot)>;
    void SetLegendMenuHandler(LegendMenuHandler handler) { legendMenu_ = std::move(handler); }
    void LegendMenu(QPointF pixel, QPoint global);
    QAction* PrintSetupAction() const { return mPrintsetup_; }
    QAction* PrintAction() const { return mPrint_; }
    // The Lines menu: one checkable item per set of line marks, named
    // "mLine_" and the set's key.
    QMenu* LinesMenu() const { return mLines_; }
    QMenu* ViewMenu() const { return mView_; }
    // The measurement panel, or nullptr before the first measurement.
    MeasurePanel* MeasurementPanel() const { return measurePanel_; }

    // The widget the plot is drawn on, and the controls, for the binding and
    // its tests.
    QWidget* Canvas() const;
    QLabel* PlotLabelWidget(PlotLabel label) const;
    QLabel* WavelengthReadout() const { return label7_; }
    QLabel* IntensityReadout() const { return label10_; }
    QLabel* CurveReadout() const { return label12_; }
    QScrollBar* Scroll() const { return hscroll1_; }
    QPushButton* Command1() const { return command1_; }
    QPushButton* Command2() const { return command2_; }
    QPushButton* Command3() const { return command3_; }

signals:
    // Raised by the close box after Form_Unload; the window deletes itself
    // afterwards.
    void unloaded();

protected:
    void resizeEvent(QResizeEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void BuildMenu();
    void BuildViewMenu();
    void BuildLinesMenu();
    // The View menu's choices of the plot's look (store/plot_look.h): labels, legend, colours, width, stacking.
    void BuildLookMenu();
    // The View menu's checks and "Previous View" as the workspace and the view stand.
    void SyncViewMenu();
    void AskWavelengthRange();
    void AskIntensityRange();
    void AskVelocityAxis();
    // After a change of the intensity axis, scale or legend: the menu follows and the plot is redrawn.
    void ViewChanged();
    // A drag with Ctrl (Measure) or Shift and Ctrl (Fit) from (x0, y0) to x1, in twips.
    void Measure(DragKind kind, double x0, double y0, double x1);
    // The span measured or fitted again with the panel's settings.
    void MeasureAgain();
    void ShowMeasurement(const std::string& refusal, const std::string& text, const std::string& copied);
    void BuildBottomControls();
    void PlaceBottomControls();
    void MirrorScrollBar();
    // The frame around the client area, in pixels; until the window system
    // has framed this window, that of another framed window of the program.
    QMargins Frame() const;
    // Sizes the window so that, with this frame, its outer size is the
    // opening size, and sets its minimum size likewise.
    void FitOuterSize(const QMargins& frame);

    Workspace& ws_;
    UiHooks& ui_;
    OffsetCaptionHandler offsetCaption_;
    bool drawing_ = true;
    ViewControl view_;
    QImage image_;
    PlotLayout layout_;
    LegendMenuHandler legendMenu_;

    QSize openingSize_;  // outer size in pixels, until the first showing
    QMargins openingFrame_;
    PlotCanvas* canvas_ = nullptr;
    QAction* mSavePicture_ = nullptr;
    QAction* mExportSpectra_ = nullptr;
    QAction* mPrintsetup_ = nullptr;
    QAction* mPrint_ = nullptr;
    QMenu* mLines_ = nullptr;
    QMenu* mView_ = nullptr;
    QAction* mPreviousView_ = nullptr;
    QAction* mAutomatic_ = nullptr;
    QAction* mFitToView_ = nullptr;
    QAction* mIntensityRange_ = nullptr;
    QAction* mPercent_ = nullptr;
    QAction* mFlux_ = nullptr;
    QAction* mLegend_ = nullptr;  // the legend inside the box
    // A press on the legend: where (pixels), and the legend's corner then (twips); a move drags the legend.
    struct LegendDrag {
        QPointF start;
        double left, top;
    };
    std::optional<LegendDrag> legendDrag_;
    // The look's checkable items, each with whether it is to be checked.
    std::vector<std::pair<QAction*, std::function<bool()>>> lookChecks_;
    QAction* mUncertainties_ = nullptr;
    QAction* mVelocityAxis_ = nullptr;
    std::vector<std::pair<QAction*, WavelengthUnit>> mUnits_;  // View > Wavelength Unit
    QLabel* label12_ = nullptr;  // the curve read-out
    std::weak_ptr<const Spectrum> curveShown_;  // the spectrum the curve read-out names
    QRubberBand* band_ = nullptr;
    MeasurePanel* measurePanel_ = nullptr;
    // The drag under way: its kind and where it started, in pixels.
    struct Drag {
        DragKind kind;
        QPointF start;
    };
    std::optional<Drag> drag_;
    QLabel* label7_ = nullptr;
    QLabel* label10_ = nullptr;
    QScrollBar* hscroll1_ = nullptr;
    QPushButton* command1_ = nullptr;
    QPushButton* command2_ = nullptr;
    QPushButton* command3_ = nullptr;
    std::array<QWidget*, 9> bottom_{};          // in the order of kBottomControls
    std::array<QLabel*, kPlotLabels.size()> plotLabels_{};  // indexed by PlotLabel
};

}  // namespace wendrel
