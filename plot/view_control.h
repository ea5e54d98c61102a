// The plot's view control: the buttons' zoom in and out about the centre of
// the view and back to the full range, the scroll bar's pan, and the zoom,
// pan and typed range of the mouse, the keys and the View menu. Every change
// of the view ends with a call of the redraw it was given. Also the intensity
// axis fixed by a drag with Shift or the View menu's typed range.
//
// Scroll positions. The scroll bar's position is the wavelength at the centre
// of the view; its range is the set of centres for which a view of the
// current span stays inside the full range; an arrow click moves a tenth of
// the view and a trough click a whole view. Positions are 16-bit integers:
//
//   position p stands for the wavelength  Origin + p * Unit.
//
// Whole Angstroms (Origin 0, Unit 1) are used whenever they can hold the
// view: the centres nearest(LambdaMin + PlotSpan/2), nearest(LambdaMax -
// PlotSpan/2) and nearest((PlotLeft + PlotRight)/2) and the trough step
// nearest(PlotSpan) lie within -32768..32767 and the arrow step
// nearest(PlotSpan/10) is at least 1 (that is, the span is over 5 A).
// Otherwise (wavelengths beyond 32767 A, spans of 5 A or less) the positions
// are scaled: Unit starts as the largest power of ten not above PlotSpan/1000
// (for a view of no width, the full range's width / 1000, or 0.001 when that
// has no width either) and is raised by factors of ten until every position
// fits in 16 bits; Origin is LambdaMin rounded down to a whole multiple of
// Unit. On a view with a width Unit is raised once at most, so it stays at or
// below PlotSpan/100: an arrow click is at least 10 positions and a
// re-centring moves the view by at most half a Unit. Where such a Unit cannot
// hold the whole range (a view under a 33rd to a 330th of it, by where its
// span lies in its decade), the positions count from the view instead:
// Unit is the largest power of ten not above PlotSpan/100, Origin the view's
// centre to the nearest multiple of Unit, the bar reaches 32767 positions
// (32 to 327 views) either side of it, positions beyond being clamped, and
// the scale follows the view at every sync except while the thumb is
// dragged. Steps are never below 1. When SyncHScroll changes the scale, the
// bar's old positions are first re-expressed in the new one without any
// event, so the same wavelengths stay selected.
//
// Load and unload. A load or an unload resets the view to the full range
// without touching the scroll bar; FollowView, which the plot window's host
// runs before every redraw, brings the scroll bar back in line with the view
// without moving the view. So a pan after a load pans within the new full
// range instead of centring the view on positions of the old one.
#pragma once

#include <functional>
#include <string>
#include <string_view>
#include <utility>

#include "plot/scroll_bar.h"
#include "store/workspace.h"

namespace wendrel {

// What a scroll position stands for: the wavelength Origin + p * Unit.
struct ScrollScale {
    double Origin = 0;
    double Unit = 1;

    double WavelengthAt(int position) const { return Origin + position * Unit; }
    // The nearest position to a wavelength, clamped to 16 bits.
    int PositionOf(double wavelength) const;
    // A distance in whole positions (16-bit, clamped).
    int Steps(double distance) const;

    bool operator==(const ScrollScale&) const = default;
};

// The scale (see above) for the workspace's view (PlotLeft, PlotRight,
// PlotSpan) inside its full range (LambdaMin, LambdaMax).
ScrollScale ScrollScaleFor(const Workspace& ws);

// Zoom factors per notch of the mouse wheel and per press of the + and - keys.
inline constexpr double kWheelZoomFactor = 1.25;
inline constexpr double kKeyZoomFactor = 2;

// The narrowest view the mouse, keys and typed ranges may show over
// left .. right: 5 pixel widths (DLambda as drawn) of the finest loaded slot
// overlapping it (of every loaded slot when none does), never more than the
// full range; 0 when no slot has a step.
double NarrowestSpan(const Workspace& ws, double left, double right);

// The view left .. right as the mouse, keys and typed ranges may show it:
// each edge held inside the full range as "Out" holds it, then, when
// narrower than NarrowestSpan, widened to it about the wavelength at
// `fraction` (0 .. 1) of the asked-for view and moved back inside the full
// range where that pushed it out.
std::pair<double, double> ClampedView(const Workspace& ws, double left, double right, double fraction);

// Forgets the views "Previous View" would go back to; a load and an unload call it.
void ClearViewHistory(Workspace& ws);

// The intensity axis fixed at a and b, either order (a drag with Shift);
// returns false and changes nothing for a range of no height or not finite.
bool SetIntensityRange(Workspace& ws, double a, double b);
// "Intensity > Set Range ...": the axis fixed at the typed limits. Returns
// why the texts were refused, in a sentence for a message box, or an empty
// text when the range was set.
std::string SetIntensityRange(Workspace& ws, std::string_view lowText, std::string_view highText);

class ViewControl {
public:
    // `drawing` tells whether a redraw is showing the window, during which
    // scroll bar changes are no pans.
    ViewControl(Workspace& ws, std::function<void()> redraw, std::function<bool()> drawing = [] { return false; });
    ViewControl(const ViewControl&) = delete;
    ViewControl& operator=(const ViewControl&) = delete;

    ScrollBar& Scroll() { return hscroll_; }
    const ScrollBar& Scroll() const { return hscroll_; }
    const ScrollScale& Scale() const { return scale_; }

    // "In": halves the span about the centre, unless the new span would be
    // under a tenth of the full range (or there is no range to zoom in).
    void ZoomIn();
    // "Out": doubles the span about the centre, each edge held inside the
    // full range.
    void ZoomOut();
    // "Full Range", and the Home key.
    void FullRange();

    // A drag across the plot from one wavelength to the other, in either
    // order: the view becomes that span (ClampedView about its centre). A
    // drag of no width, or over no full range, does nothing.
    void ZoomToSpan(double from, double to);
    // Divides the span by `factor` (above 1 zooms in) keeping `wavelength`
    // at the same fraction of the view: the mouse wheel, kWheelZoomFactor
    // per notch about the wavelength under the cursor.
    void ZoomAbout(double wavelength, double factor);
    // ZoomAbout the view's centre: the + key (kKeyZoomFactor) and the - key
    // (1 / kKeyZoomFactor).
    void ZoomBy(double factor);
    // The Left (-1) and Right (+1) keys: moves the view by a tenth of its
    // span, no further than to the edge of the full range it faces.
    void PanByTenth(int direction);
    // "Set Range ...": the view becomes the typed wavelengths (ClampedView
    // about their centre). Returns why the texts were refused, in a sentence
    // for a message box, or an empty text when the view was set.
    std::string SetRange(std::string_view leftText, std::string_view rightText);
    // "Previous View": back to the view before the last change, held inside
    // the current full range. Every change of the view by the functions
    // above, the buttons and the scroll bar is remembered (a drag of the
    // thumb once, from where it started); going back is not.
    void PreviousView();
    bool HasPreviousView() const { return !ws_.View.ViewHistory.empty(); }
    // The thumb is being dragged (ThumbDragged); the position changed
    // (PositionChanged). Both pan the view to
    // the scroll position, keeping its span, and redraw; nothing happens while
    // the redraw is showing the window (`drawing`).
    void ThumbDragged();
    void PositionChanged();

    // Sets Min, Max, Value, SmallChange and LargeChange, in that order, from
    // the view. A move of the position on the way re-centres the view on it.
    void SyncHScroll();
    // SyncHScroll without re-centring: the scroll bar follows the view as it
    // stands. Does nothing while SyncHScroll is under way.
    void FollowView();

private:
    void Pan();
    // Remembers the view as it stands when it is about to become another
    // (left .. right); returns whether it did.
    bool Remember(double left, double right);
    // Shows left .. right as it is, the scroll bar following, and redraws;
    // nothing happens when that is the view already.
    void Show(double left, double right);
    void Rescale(const ScrollScale& scale);

    Workspace& ws_;
    std::function<void()> redraw_;
    std::function<bool()> drawing_;
    ScrollBar hscroll_;
    ScrollScale scale_;
    bool syncing_ = false;
    bool following_ = false;
    bool dragRemembered_ = false;  // the view before the thumb's drag went into the history
};

}  // namespace wendrel
