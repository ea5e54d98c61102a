#include "plot/view_control.h"

#include <utility>

#include <cmath>

#include "store/rounding.h"

namespace wendrel {

namespace {

bool Fits16(double x) {
    if (!std::isfinite(x)) return false;
    const int64_t r = RoundHalfEven(x);
    return r >= -32768 && r <= 32767;
}

// Every position and the trough step of the scroll bar fit in 16 bits.
bool Holds(const Workspace& ws, const ScrollScale& s) {
    const double span = ws.PlotSpan;
    return Fits16((ws.LambdaMin + span / 2 - s.Origin) / s.Unit) &&
           Fits16((ws.LambdaMax - span / 2 - s.Origin) / s.Unit) &&
           Fits16(((ws.PlotLeft + ws.PlotRight) / 2 - s.Origin) / s.Unit) && Fits16(span / s.Unit);
}

// The zoom-out snap: an edge less than a relative 1e-5 inside the full range
// goes onto it. Measured against the edge's own wavelength; a full range
// ending at 0 or below measures against its width instead.
bool NearEdge(double gap, double edge, double full) {
    return edge > 0 ? gap / edge < 0.00001 : gap < 0.00001 * full;
}

}  // namespace

int ScrollScale::PositionOf(double wavelength) const { return Nearest16((wavelength - Origin) / Unit); }

int ScrollScale::Steps(double distance) const { return Nearest16(distance / Unit); }

ScrollScale ScrollScaleFor(const Workspace& ws) {
    const ScrollScale whole;
    if (Holds(ws, whole) && RoundHalfEven(ws.PlotSpan / 10) >= 1) return whole;

    const double full = ws.LambdaMax - ws.LambdaMin;
    double reference = 0;
    if (std::isfinite(ws.PlotSpan) && ws.PlotSpan > 0)
        reference = ws.PlotSpan;
    else if (std::isfinite(full) && full > 0)
        reference = full;
    double unit = reference > 0 ? std::pow(10.0, std::floor(std::log10(reference / 1000))) : 0.001;
    for (; unit > 0 && std::isfinite(unit); unit *= 10) {
        const ScrollScale scaled{std::floor(ws.LambdaMin / unit) * unit, unit};
        if (Holds(ws, scaled)) return scaled;
    }
    return whole;  // a view with no finite wavelengths: positions are clamped
}

ViewControl::ViewControl(Workspace& ws, std::function<void()> redraw) : ws_(ws), redraw_(std::move(redraw)) {
    hscroll_.onChange = [this] { PositionChanged(); };
    hscroll_.onScroll = [this] { ThumbDragged(); };
}

void ViewControl::ZoomIn() {
    const double left = (3 * ws_.PlotLeft + ws_.PlotRight) / 4;
    const double right = (3 * ws_.PlotRight + ws_.PlotLeft) / 4;
    const double full = ws_.LambdaMax - ws_.LambdaMin;
    if (!(full > 0) || (right - left) / full < 0.1) return;
    ws_.PlotLeft = left;
    ws_.PlotRight = right;
    ws_.PlotSpan = right - left;
    SyncHScroll();
    redraw_();
}

void ViewControl::ZoomOut() {
    double left = (3 * ws_.PlotLeft - ws_.PlotRight) / 2;
    double right = (3 * ws_.PlotRight - ws_.PlotLeft) / 2;
    const double full = ws_.LambdaMax - ws_.LambdaMin;
    if (left < ws_.LambdaMin) left = ws_.LambdaMin;
    if (NearEdge(left - ws_.LambdaMin, ws_.LambdaMin, full)) left = ws_.LambdaMin;
    if (right > ws_.LambdaMax) right = ws_.LambdaMax;
    if (NearEdge(ws_.LambdaMax - right, ws_.LambdaMax, full)) right = ws_.LambdaMax;
    ws_.PlotLeft = left;
    ws_.PlotRight = right;
    ws_.PlotSpan = right - left;
    SyncHScroll();
    redraw_();
}

void ViewControl::FullRange() {
    ws_.PlotLeft = ws_.LambdaMin;
    ws_.PlotRight = ws_.LambdaMax;
    ws_.PlotSpan = ws_.PlotRight - ws_.PlotLeft;
    SyncHScroll();
    redraw_();
}

void ViewControl::ThumbDragged() { Pan(); }

void ViewControl::PositionChanged() { Pan(); }

void ViewControl::Pan() {
    if (ws_.Drawing || following_) return;
    const double centre = scale_.WavelengthAt(hscroll_.Value());
    ws_.PlotLeft = centre - ws_.PlotSpan / 2;
    ws_.PlotRight = centre + ws_.PlotSpan / 2;
    redraw_();
}

void ViewControl::Rescale(const ScrollScale& scale) {
    if (scale == scale_) return;
    const ScrollScale old = scale_;
    const auto moved = [&](int p) { return scale.PositionOf(old.WavelengthAt(p)); };
    const auto resized = [&](int steps) { return scale.Steps(steps * old.Unit); };
    scale_ = scale;
    hscroll_.Reset(moved(hscroll_.Min()), moved(hscroll_.Max()), moved(hscroll_.Value()),
                   resized(hscroll_.SmallChange()), resized(hscroll_.LargeChange()));
}

void ViewControl::SyncHScroll() {
    const bool wasSyncing = syncing_;
    syncing_ = true;
    // The scale is fixed before the first property is set: a re-centring on
    // the way must not change what the later positions mean.
    Rescale(ScrollScaleFor(ws_));
    hscroll_.SetMin(scale_.PositionOf(ws_.LambdaMin + ws_.PlotSpan / 2));
    hscroll_.SetMax(scale_.PositionOf(ws_.LambdaMax - ws_.PlotSpan / 2));
    hscroll_.SetValue(scale_.PositionOf((ws_.PlotLeft + ws_.PlotRight) / 2));
    hscroll_.SetSmallChange(scale_.Steps(ws_.PlotSpan / 10));
    hscroll_.SetLargeChange(scale_.Steps(ws_.PlotSpan));
    syncing_ = wasSyncing;
}

void ViewControl::FollowView() {
    if (syncing_) return;
    following_ = true;
    SyncHScroll();
    following_ = false;
}

}  // namespace wendrel
