// What the program's logic asks of the windows. Loads and the row handlers
// call these; the Qt windows implement them, and tests implement them to
// collect messages and count redraws.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "fits/fits_reader.h"

namespace wendrel {

class UiHooks {
public:
    virtual ~UiHooks() = default;

    // A modal message box with an OK button; returns once it is dismissed.
    virtual void ShowMessage(const std::string& text) = 0;

    // Makes the row controls of a freshly loaded slot visible and sets their
    // captions from the workspace.
    virtual void ShowLoadedRow(int slot) = 0;
    // Sets a loaded row's captions anew after its spectrum or velocity
    // changed without a load (a smoothing, a ratio, a found velocity).
    virtual void ShowRowCaptions(int slot) { ShowLoadedRow(slot); }
    // Hides the row controls that only a loaded slot shows.
    virtual void HideLoadedRow(int slot) = 0;

    // The one redraw of the plot, from the workspace as it stands; it shows
    // the plot window, creating it when it is closed.
    virtual void RedrawPlot() = 0;
    // Clears the plot window's drawing surface, when the window exists.
    virtual void ClearPlotWindow() = 0;
    // Hides the plot window, when it exists.
    virtual void HidePlotWindow() = 0;
    // Whether the plot window is open, shown or hidden: a redraw opened it and
    // the user has not closed it since. Without a window, none is open.
    virtual bool PlotShown() const { return false; }

    // Asks which of the columns of the table in `fileName` hold the
    // wavelength and the flux, where the reader knows none of their names;
    // nothing when the user declines. Without a window, nothing is asked.
    virtual std::optional<ColumnChoice> ChooseTableColumns(const std::string& fileName,
                                                           const std::vector<TableColumn>& columns) {
        (void)fileName, (void)columns;
        return std::nullopt;
    }
};

}  // namespace wendrel
