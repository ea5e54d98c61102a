// File > "Save Picture As ..." of the plot window: the plot itself (box,
// curves, axes, labels, marks, legend) without the window's read-outs,
// buttons and scroll bar, at the size and font size the user asks for
// (plot/sized_picture.h), written as a PNG file of exactly that many pixels,
// or as an SVG drawing or a PDF page whose curves are paths and whose texts
// are text.
#pragma once

#include <QString>
#include <functional>
#include <optional>

#include "app/ui_hooks.h"
#include "plot/sized_picture.h"
#include "store/workspace.h"

class QPainter;
class QWidget;

namespace wendrel {

class frmPlot_Spectra;

// The plot's picture in the window's pixels: as wide as the drawing surface,
// down to below the lowest label the last redraw placed.
QSize PlotPictureSize(const frmPlot_Spectra& window);
// What the size dialog offers first: the window's picture at the screen's
// resolution, the labels at 8 points.
PictureRequest OfferedPicture(const frmPlot_Spectra& window);

class PictureSaving {
public:
    // Asks for the file to write, offering `suggested`; empty when the user
    // cancels.
    using AskFileName = std::function<QString(QWidget* parent, const QString& suggested)>;

    // Failures go to ui.ShowMessage. Without `ask` a file dialog asks.
    PictureSaving(Workspace& ws, UiHooks& ui, AskFileName ask = {});

    void SetAskFileName(AskFileName ask) { ask_ = std::move(ask); }
    // Connects a new plot window's "Save Picture As ...".
    void Connect(frmPlot_Spectra& window);

    // Asks for a file, offering the last one saved (else a name after the
    // first loaded file, in its folder), then for the picture's size (the
    // last one asked, else OfferedPicture), and saves the picture there.
    void mSavePicture_Click(frmPlot_Spectra& window);
    // Writes the picture in the format the file's ending names (.png, .svg,
    // .pdf). A failure shows a message naming the file and the reason and
    // changes nothing else. Returns whether the file was written.
    bool SavePicture(const QString& path, const PictureRequest& request);

private:
    QString Suggested() const;

    Workspace& ws_;
    UiHooks& ui_;
    AskFileName ask_;
    QString lastSaved_;
    std::optional<PictureRequest> lastRequest_;
};

}  // namespace wendrel
