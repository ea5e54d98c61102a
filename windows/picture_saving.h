// File > "Save Picture As ..." of the plot window: the window's picture, the
// one printing sends, written as a PNG file of its pixels, or as an SVG
// drawing or a PDF page whose curves are paths and whose texts are text.
#pragma once

#include <QString>
#include <functional>

#include "app/ui_hooks.h"
#include "store/workspace.h"

class QPainter;
class QWidget;

namespace wendrel {

class frmPlot_Spectra;

// Paints the window's picture on a painter in the window's pixels, for a
// drawing or a document: the plot drawn once more with floating lines, its
// labels as text, and the controls along its bottom as they render.
void PaintWindowPicture(QPainter& painter, const Workspace& ws, const frmPlot_Spectra& window);

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
    // first loaded file, in its folder), and saves the picture there.
    void mSavePicture_Click(frmPlot_Spectra& window);
    // Writes the picture in the format the file's ending names (.png, .svg,
    // .pdf). A failure shows a message naming the file and the reason and
    // changes nothing else. Returns whether the file was written.
    bool SavePicture(frmPlot_Spectra& window, const QString& path);

private:
    QString Suggested() const;

    Workspace& ws_;
    UiHooks& ui_;
    AskFileName ask_;
    QString lastSaved_;
};

}  // namespace wendrel
