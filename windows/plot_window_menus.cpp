// The plot window's menus: File, View (zoom, ranges, intensity, scale,
// legend) and Lines.
#include <QAction>
#include <QActionGroup>
#include <QMenuBar>
#include <QSignalBlocker>

#include "app/velocity_axis_rows.h"
#include "plot/line_marks.h"
#include "plot/number_format.h"
#include "plot/readout_digits.h"
#include "plot/x_axis_mapping.h"
#include "windows/comparison_dialogs.h"
#include "windows/plot_window.h"
#include "windows/range_dialog.h"
#include "windows/velocity_axis_dialog.h"

namespace wendrel {

void frmPlot_Spectra::BuildMenu() {
    QMenu* mFile = menuBar()->addMenu("File");
    mFile->setObjectName("mFile");
    mSavePicture_ = mFile->addAction("Save Picture As ...");
    mSavePicture_->setObjectName("mSavePicture");
    mExportSpectra_ = mFile->addAction("Export Spectra ...");
    mExportSpectra_->setObjectName("mExportSpectra");
    mPrintsetup_ = mFile->addAction("Print Setup ...");
    mPrintsetup_->setObjectName("mPrintsetup");
    mPrint_ = mFile->addAction("Print");
    mPrint_->setObjectName("mPrint");
    mFile->addSeparator()->setObjectName("mydash");
    QAction* mExit = mFile->addAction("Exit");
    mExit->setObjectName("mExit");
    connect(mExit, &QAction::triggered, this, &frmPlot_Spectra::mExit_Click);

    BuildViewMenu();
    BuildLinesMenu();
    AddComparisonMenus(this, mView_, ws_, ui_);
}

void frmPlot_Spectra::BuildViewMenu() {
    mView_ = menuBar()->addMenu("View");
    mView_->setObjectName("mView");
    const auto add = [this](QMenu* menu, const char* name, const QString& caption, const QKeySequence& keys,
                            const std::function<void()>& command) {
        QAction* item = menu->addAction(caption);
        item->setObjectName(name);
        item->setShortcut(keys);
        connect(item, &QAction::triggered, this, command);
        return item;
    };
    add(mView_, "mZoomIn", "Zoom In", Qt::Key_Plus, [this] { view_.ZoomBy(kKeyZoomFactor); });
    add(mView_, "mZoomOut", "Zoom Out", Qt::Key_Minus, [this] { view_.ZoomBy(1 / kKeyZoomFactor); });
    add(mView_, "mPanLeft", "Pan Left", Qt::Key_Left, [this] { view_.PanByTenth(-1); });
    add(mView_, "mPanRight", "Pan Right", Qt::Key_Right, [this] { view_.PanByTenth(1); });
    add(mView_, "mFullRange", "Full Range", Qt::Key_Home, [this] { view_.FullRange(); });
    add(mView_, "mSetRange", "Set Range ...", {}, [this] { AskWavelengthRange(); });
    mPreviousView_ = add(mView_, "mPreviousView", "Previous View", {}, [this] { view_.PreviousView(); });
    mView_->addSeparator();

    QMenu* intensity = mView_->addMenu("Intensity");
    intensity->setObjectName("mIntensity");
    auto* range = new QActionGroup(intensity);
    const auto mode = [this](PlotView::IntensityRange chosen) {
        return [this, chosen] {
            ws_.View.Intensity = chosen;
            ViewChanged();
        };
    };
    mAutomatic_ = add(intensity, "mAutomatic", "Automatic", {}, mode(PlotView::IntensityRange::Automatic));
    mFitToView_ = add(intensity, "mFitToView", "Fit to View", {}, mode(PlotView::IntensityRange::FitToView));
    mIntensityRange_ = add(intensity, "mIntensityRange", "Set Range ...", {}, [this] { AskIntensityRange(); });
    QMenu* scale = mView_->addMenu("Scale");
    scale->setObjectName("mScale");
    auto* scales = new QActionGroup(scale);
    mPercent_ = add(scale, "mPercent", "Percent of Continuum", {}, [this] { ws_.View.ScaleFlux = false, ViewChanged(); });
    mFlux_ = add(scale, "mFlux", "Flux", {}, [this] { ws_.View.ScaleFlux = true, ViewChanged(); });
    BuildLookMenu();
    mUncertainties_ = add(mView_, "mUncertainties", "Uncertainties", {},
                          [this] { ws_.View.ShowUncertainties = !ws_.View.ShowUncertainties, ViewChanged(); });
    mUncertainties_->setCheckable(true);
    QMenu* units = mView_->addMenu("Wavelength Unit");
    units->setObjectName("mWavelengthUnit");
    auto* unitGroup = new QActionGroup(units);
    const struct { WavelengthUnit unit; const char* name; const char* caption; } unitItems[] = {
        {WavelengthUnit::Angstrom, "mUnitAngstrom", "\u00c5"},
        {WavelengthUnit::Nanometre, "mUnitNanometre", "nm"},
        {WavelengthUnit::Micrometre, "mUnitMicrometre", "\u00b5m"}};
    for (const auto& entry : unitItems) {
        const WavelengthUnit unit = entry.unit;
        QAction* item = add(units, entry.name, QString::fromUtf8(entry.caption), {},
                            [this, unit] { ws_.View.XUnit = unit, ViewChanged(); });
        item->setCheckable(true);
        unitGroup->addAction(item);
        mUnits_.emplace_back(item, unit);
    }
    mVelocityAxis_ = add(mView_, "mVelocityAxis", "Velocity Axis ...", {}, [this] { AskVelocityAxis(); });
    mVelocityAxis_->setCheckable(true);
        for (QAction* item : {mAutomatic_, mFitToView_, mIntensityRange_, mPercent_, mFlux_}) item->setCheckable(true);
    for (QAction* item : {mAutomatic_, mFitToView_, mIntensityRange_}) range->addAction(item);
    for (QAction* item : {mPercent_, mFlux_}) scales->addAction(item);
    SyncViewMenu();
}

void frmPlot_Spectra::SyncViewMenu() {
    mPreviousView_->setEnabled(view_.HasPreviousView());
    mAutomatic_->setChecked(ws_.View.Intensity == PlotView::IntensityRange::Automatic);
    mFitToView_->setChecked(ws_.View.Intensity == PlotView::IntensityRange::FitToView);
    mIntensityRange_->setChecked(ws_.View.Intensity == PlotView::IntensityRange::Fixed);
    mPercent_->setChecked(!ws_.View.ScaleFlux);
    mFlux_->setChecked(ws_.View.ScaleFlux);
    for (const auto& [item, checked] : lookChecks_) item->setChecked(checked());
    mUncertainties_->setChecked(ws_.View.ShowUncertainties);
    for (const auto& [item, unit] : mUnits_) item->setChecked(ws_.View.XUnit == unit);
    mVelocityAxis_->setChecked(ws_.View.VelocityRestLambda > 0);
}

void frmPlot_Spectra::SyncMenus() {
    SyncViewMenu();
    for (QAction* item : mLines_->actions()) {
        const QSignalBlocker quiet(item);
        const QString name = item->objectName();
        if (name.startsWith("mLine_")) item->setChecked(ws_.View.LineMarkSets.contains(name.mid(6).toStdString()));
        if (name == "mLinesAir" || name == "mLinesVacuum")
            item->setChecked(ws_.View.LineMarksInVacuum == (name == "mLinesVacuum"));
    }
}

void frmPlot_Spectra::ViewChanged() {
    SyncViewMenu();
    ui_.RedrawPlot();
}

void frmPlot_Spectra::AskWavelengthRange() {
    const auto [left, right] = RangeDialogTexts(ws_.View.PlotLeft, ws_.View.PlotRight);
    const auto typed = AskRange(this, "Set Range", "Left wavelength", "Right wavelength", QString::fromStdString(left),
                                QString::fromStdString(right));
    if (!typed) return;
    const std::string message = view_.SetRange(typed->first.toStdString(), typed->second.toStdString());
    if (!message.empty()) ui_.ShowMessage(message);
}

void frmPlot_Spectra::AskIntensityRange() {
    const auto [lower, upper] = RangeDialogTexts(layout_.yMin, layout_.yMax);
    const auto typed = AskRange(this, "Intensity Range", "Lower intensity", "Upper intensity",
                                QString::fromStdString(lower), QString::fromStdString(upper));
    const std::string message =
        typed ? SetIntensityRange(ws_, typed->first.toStdString(), typed->second.toStdString()) : "";
    if (typed && message.empty()) return ViewChanged();
    SyncViewMenu();  // the item's check goes back
    if (!message.empty()) ui_.ShowMessage(message);
}

void frmPlot_Spectra::AskVelocityAxis() {
    std::string refusal;
    if (const auto answer = AskVelocityAxisRests(this, ws_, refusal)) {
        SetVelocityAxis(ws_, answer->Common, answer->PerRow);
        return ViewChanged();
    }
    SyncViewMenu();  // the item's check goes back
    if (!refusal.empty()) ui_.ShowMessage(refusal);
}

void frmPlot_Spectra::BuildLinesMenu() {
    mLines_ = menuBar()->addMenu("Lines");
    mLines_->setObjectName("mLines");
    for (const LineSet& set : LineSets()) {
        const std::string key(set.Key);
        QAction* item = mLines_->addAction(QString::fromUtf8(set.Caption.data(), static_cast<qsizetype>(set.Caption.size())));
        item->setObjectName(QString::fromStdString("mLine_" + key));
        item->setCheckable(true);
        // The choice lives in the workspace, so a reopened window shows it.
        item->setChecked(ws_.View.LineMarkSets.contains(key));
        connect(item, &QAction::toggled, this, [this, key](bool checked) { if (LineSetToggled(ws_, key, checked)) ui_.RedrawPlot(); });
    }
    mLines_->addSeparator();
    auto* medium = new QActionGroup(mLines_);
    for (const bool vacuum : {false, true}) {
        QAction* item = mLines_->addAction(vacuum ? "Vacuum Wavelengths" : "Air Wavelengths");
        item->setObjectName(vacuum ? "mLinesVacuum" : "mLinesAir");
        item->setCheckable(true);
        item->setChecked(ws_.View.LineMarksInVacuum == vacuum);
        medium->addAction(item);
        connect(item, &QAction::triggered, this, [this, vacuum] { if (LineMediumChosen(ws_, vacuum)) ui_.RedrawPlot(); });
    }
}

}  // namespace wendrel
