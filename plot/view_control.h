// The plot's view control: zoom in and out about the centre of the view, back
// to the full range, and pan with the scroll bar. Every change of the view
// ends with a call of the redraw it was given.
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
// Unit. Zooming never makes the view narrower than a tenth of the full range,
// so Unit ends at most PlotSpan/300: an arrow click is at least 30 positions
// and a re-centring moves the view by at most half a Unit. Steps are never
// below 1. When SyncHScroll changes the scale, the bar's old positions are
// first re-expressed in the new one without any event, so the same
// wavelengths stay selected.
//
// Load and unload. A load or an unload resets the view to the full range
// without touching the scroll bar; FollowView, which the plot window's host
// runs before every redraw, brings the scroll bar back in line with the view
// without moving the view. So a pan after a load pans within the new full
// range instead of centring the view on positions of the old one.
#pragma once

#include <functional>

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

class ViewControl {
public:
    ViewControl(Workspace& ws, std::function<void()> redraw);
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
    // "Full Range".
    void FullRange();
    // The thumb is being dragged (ThumbDragged); the position changed
    // (PositionChanged). Both pan the view to
    // the scroll position, keeping its span, and redraw; nothing happens while
    // the redraw is showing the window (Drawing).
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
    void Rescale(const ScrollScale& scale);

    Workspace& ws_;
    std::function<void()> redraw_;
    ScrollBar hscroll_;
    ScrollScale scale_;
    bool syncing_ = false;
    bool following_ = false;
};

}  // namespace wendrel
