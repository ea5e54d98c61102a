#include "plot/view_control.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <optional>
#include <tuple>

#include "plot/number_format.h"
#include "store/rest_frame.h"
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
    const double span = ws.View.PlotSpan();
    return Fits16((ws.View.LambdaMin + span / 2 - s.Origin) / s.Unit) &&
           Fits16((ws.View.LambdaMax - span / 2 - s.Origin) / s.Unit) &&
           Fits16(((ws.View.PlotLeft + ws.View.PlotRight) / 2 - s.Origin) / s.Unit) && Fits16(span / s.Unit);
}

// The zoom-out snap: an edge less than a relative 1e-5 inside the full range
// goes onto it. Measured against the edge's own wavelength; a full range
// ending at 0 or below measures against its width instead.
bool NearEdge(double gap, double edge, double full) {
    return edge > 0 ? gap / edge < 0.00001 : gap < 0.00001 * full;
}

// The whole text, blanks around it aside, as one finite number.
std::optional<double> TypedNumber(std::string_view text) {
    const size_t first = text.find_first_not_of(" \t");
    if (first == std::string_view::npos) return std::nullopt;
    text = text.substr(first, text.find_last_not_of(" \t") + 1 - first);
    if (text.starts_with('+')) text.remove_prefix(1);
    double value = 0;
    const auto [stop, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || stop != text.data() + text.size() || !std::isfinite(value)) return std::nullopt;
    return value;
}

std::string Wavelength(double lambda) { return WithoutLeadingBlanks(PlainNumberText(lambda)); }

}  // namespace

int ScrollScale::PositionOf(double wavelength) const { return Nearest16((wavelength - Origin) / Unit); }

int ScrollScale::Steps(double distance) const { return Nearest16(distance / Unit); }

ScrollScale ScrollScaleFor(const Workspace& ws) {
    const ScrollScale whole;
    if (Holds(ws, whole) && RoundHalfEven(ws.View.PlotSpan() / 10) >= 1) return whole;

    const double full = ws.View.LambdaMax - ws.View.LambdaMin;
    const bool hasWidth = std::isfinite(ws.View.PlotSpan()) && ws.View.PlotSpan() > 0;
    double reference = 0;
    if (hasWidth)
        reference = ws.View.PlotSpan();
    else if (std::isfinite(full) && full > 0)
        reference = full;
    double unit = reference > 0 ? std::pow(10.0, std::floor(std::log10(reference / 1000))) : 0.001;
    for (int raises = 0; unit > 0 && std::isfinite(unit); unit *= 10, ++raises) {
        if (hasWidth && raises == 2) {  // no Unit up to a hundredth of the view holds the range: count from the view
            unit /= 10;
            return {std::round((ws.View.PlotLeft + ws.View.PlotRight) / 2 / unit) * unit, unit};
        }
        const ScrollScale scaled{std::floor(ws.View.LambdaMin / unit) * unit, unit};
        if (Holds(ws, scaled)) return scaled;
    }
    return whole;  // a view with no finite wavelengths: positions are clamped
}

double NarrowestSpan(const Workspace& ws, double left, double right) {
    double inView = INFINITY, anywhere = INFINITY;
    const int numSlots = std::clamp(ws.NumSlots, 0, kMaxSlots);
    for (int i = 1; i <= numSlots; ++i) {
        const Row& s = ws.slot(i);
        if (!s.Loaded()) continue;
        const double step = s->DLambda / DrawnFactor(s);
        if (!(step > 0) || !std::isfinite(step)) continue;
        anywhere = std::min(anywhere, step);
        if (ShiftedStart(s) < right && ShiftedEnd(s) > left) inView = std::min(inView, step);
    }
    const double finest = std::isfinite(inView) ? inView : anywhere;
    return std::isfinite(finest) ? std::min(5 * finest, ws.View.LambdaMax - ws.View.LambdaMin) : 0;
}

std::pair<double, double> ClampedView(const Workspace& ws, double left, double right, double fraction) {
    const double full = ws.View.LambdaMax - ws.View.LambdaMin;
    if (!(full > 0)) return {left, right};
    const double anchor = left + fraction * (right - left);
    if (left < ws.View.LambdaMin || NearEdge(left - ws.View.LambdaMin, ws.View.LambdaMin, full)) left = ws.View.LambdaMin;
    if (right > ws.View.LambdaMax || NearEdge(ws.View.LambdaMax - right, ws.View.LambdaMax, full)) right = ws.View.LambdaMax;
    const double narrowest = NarrowestSpan(ws, left, right);
    if (!(right - left >= narrowest)) {
        left = std::clamp(anchor - fraction * narrowest, ws.View.LambdaMin, ws.View.LambdaMax - narrowest);
        right = std::min(left + narrowest, ws.View.LambdaMax);
    }
    return {left, right};
}

void ClearViewHistory(Workspace& ws) { ws.View.ViewHistory.clear(); }

bool SetIntensityRange(Workspace& ws, double a, double b) {
    if (!std::isfinite(a) || !std::isfinite(b) || a == b) return false;
    std::tie(ws.View.Intensity, ws.View.IntensityLow, ws.View.IntensityHigh) =
        std::tuple(PlotView::IntensityRange::Fixed, std::min(a, b), std::max(a, b));
    return true;
}

std::string SetIntensityRange(Workspace& ws, std::string_view lowText, std::string_view highText) {
    const std::optional<double> low = TypedNumber(lowText), high = TypedNumber(highText);
    if (!low) return "The lower intensity \"" + std::string(lowText) + "\" is not a number.";
    if (!high) return "The upper intensity \"" + std::string(highText) + "\" is not a number.";
    if (!(*low < *high)) return "The lower intensity must be below the upper one.";
    SetIntensityRange(ws, *low, *high);
    return {};
}

ViewControl::ViewControl(Workspace& ws, std::function<void()> redraw, std::function<bool()> drawing)
    : ws_(ws), redraw_(std::move(redraw)), drawing_(std::move(drawing)) {
    hscroll_.onChange = [this] { PositionChanged(); };
    hscroll_.onScroll = [this] { ThumbDragged(); };
}

void ViewControl::ZoomIn() {
    const double left = (3 * ws_.View.PlotLeft + ws_.View.PlotRight) / 4;
    const double right = (3 * ws_.View.PlotRight + ws_.View.PlotLeft) / 4;
    const double full = ws_.View.LambdaMax - ws_.View.LambdaMin;
    if (!(full > 0) || (right - left) / full < 0.1) return;
    Remember(left, right);
    ws_.View.PlotLeft = left;
    ws_.View.PlotRight = right;
    SyncHScroll();
    redraw_();
}

void ViewControl::ZoomOut() {
    double left = (3 * ws_.View.PlotLeft - ws_.View.PlotRight) / 2;
    double right = (3 * ws_.View.PlotRight - ws_.View.PlotLeft) / 2;
    const double full = ws_.View.LambdaMax - ws_.View.LambdaMin;
    if (left < ws_.View.LambdaMin) left = ws_.View.LambdaMin;
    if (NearEdge(left - ws_.View.LambdaMin, ws_.View.LambdaMin, full)) left = ws_.View.LambdaMin;
    if (right > ws_.View.LambdaMax) right = ws_.View.LambdaMax;
    if (NearEdge(ws_.View.LambdaMax - right, ws_.View.LambdaMax, full)) right = ws_.View.LambdaMax;
    Remember(left, right);
    ws_.View.PlotLeft = left;
    ws_.View.PlotRight = right;
    SyncHScroll();
    redraw_();
}

void ViewControl::FullRange() {
    Remember(ws_.View.LambdaMin, ws_.View.LambdaMax);
    ws_.View.PlotLeft = ws_.View.LambdaMin;
    ws_.View.PlotRight = ws_.View.LambdaMax;
    SyncHScroll();
    redraw_();
}

void ViewControl::ThumbDragged() { Pan(); }

void ViewControl::PositionChanged() { Pan(); }

void ViewControl::ZoomToSpan(double from, double to) {
    if (!(ws_.View.LambdaMax > ws_.View.LambdaMin) || !std::isfinite(from) || !std::isfinite(to) || from == to) return;
    const auto [left, right] = ClampedView(ws_, std::min(from, to), std::max(from, to), 0.5);
    Remember(left, right);
    Show(left, right);
}

void ViewControl::ZoomAbout(double wavelength, double factor) {
    const double span = ws_.View.PlotRight - ws_.View.PlotLeft;
    if (!(ws_.View.LambdaMax > ws_.View.LambdaMin) || !(span > 0) || !std::isfinite(wavelength) || !(factor > 0) ||
        !std::isfinite(factor))
        return;
    const double fraction = (wavelength - ws_.View.PlotLeft) / span;
    const double newSpan = span / factor;
    const double newLeft = wavelength - fraction * newSpan;
    const auto [left, right] = ClampedView(ws_, newLeft, newLeft + newSpan, fraction);
    Remember(left, right);
    Show(left, right);
}

void ViewControl::ZoomBy(double factor) { ZoomAbout((ws_.View.PlotLeft + ws_.View.PlotRight) / 2, factor); }

void ViewControl::PanByTenth(int direction) {
    const double span = ws_.View.PlotRight - ws_.View.PlotLeft;
    if (!(ws_.View.LambdaMax > ws_.View.LambdaMin) || !(span > 0) || direction == 0) return;
    const double shift = direction > 0 ? std::min(span / 10, std::max(0.0, ws_.View.LambdaMax - ws_.View.PlotRight))
                                       : std::max(-span / 10, std::min(0.0, ws_.View.LambdaMin - ws_.View.PlotLeft));
    Remember(ws_.View.PlotLeft + shift, ws_.View.PlotRight + shift);
    Show(ws_.View.PlotLeft + shift, ws_.View.PlotRight + shift);
}

std::string ViewControl::SetRange(std::string_view leftText, std::string_view rightText) {
    if (!ws_.DataReady || !(ws_.View.LambdaMax > ws_.View.LambdaMin)) return "No spectrum is loaded.";
    const std::optional<double> left = TypedNumber(leftText), right = TypedNumber(rightText);
    if (!left) return "The left wavelength \"" + std::string(leftText) + "\" is not a number.";
    if (!right) return "The right wavelength \"" + std::string(rightText) + "\" is not a number.";
    if (!(*left < *right)) return "The left wavelength must be below the right one.";
    if (*right <= ws_.View.LambdaMin || *left >= ws_.View.LambdaMax)
        return "The range lies outside the loaded spectra, which cover " + Wavelength(ws_.View.LambdaMin) + " to " +
               Wavelength(ws_.View.LambdaMax) + " Angstroms.";
    const auto [l, r] = ClampedView(ws_, *left, *right, 0.5);
    Remember(l, r);
    Show(l, r);
    return {};
}

void ViewControl::PreviousView() {
    if (ws_.View.ViewHistory.empty()) return;
    const auto [left, right] = ws_.View.ViewHistory.back();
    ws_.View.ViewHistory.pop_back();
    if (!(ws_.View.LambdaMax > ws_.View.LambdaMin)) return;
    const auto [l, r] = ClampedView(ws_, left, right, 0.5);
    Show(l, r);
}

bool ViewControl::Remember(double left, double right) {
    if (left == ws_.View.PlotLeft && right == ws_.View.PlotRight) return false;
    ws_.View.ViewHistory.emplace_back(ws_.View.PlotLeft, ws_.View.PlotRight);
    return true;
}

void ViewControl::Show(double left, double right) {
    if (left == ws_.View.PlotLeft && right == ws_.View.PlotRight) return;
    std::tie(ws_.View.PlotLeft, ws_.View.PlotRight) = std::tuple(left, right);
    FollowView();
    redraw_();
}

void ViewControl::Pan() {
    if (drawing_() || following_) return;
    const double centre = scale_.WavelengthAt(hscroll_.Value());
    const double span = ws_.View.PlotSpan();
    const double left = centre - span / 2, right = centre + span / 2;
    // A re-centring by a sync belongs to the change that synced; a drag of the thumb is remembered once.
    if (!hscroll_.Dragging()) dragRemembered_ = false;
    if (!syncing_ && !dragRemembered_) dragRemembered_ = Remember(left, right) && hscroll_.Dragging();
    ws_.View.PlotLeft = left;
    ws_.View.PlotRight = right;
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
    // the way must not change what the later positions mean. A drag keeps
    // it, so that a scale counting from the view does not move under the thumb.
    if (!hscroll_.Dragging()) Rescale(ScrollScaleFor(ws_));
    hscroll_.SetMin(scale_.PositionOf(ws_.View.LambdaMin + ws_.View.PlotSpan() / 2));
    hscroll_.SetMax(scale_.PositionOf(ws_.View.LambdaMax - ws_.View.PlotSpan() / 2));
    hscroll_.SetValue(scale_.PositionOf((ws_.View.PlotLeft + ws_.View.PlotRight) / 2));
    hscroll_.SetSmallChange(scale_.Steps(ws_.View.PlotSpan() / 10));
    hscroll_.SetLargeChange(scale_.Steps(ws_.View.PlotSpan()));
    syncing_ = wasSyncing;
}

void ViewControl::FollowView() {
    if (syncing_) return;
    following_ = true;
    SyncHScroll();
    following_ = false;
}

}  // namespace wendrel
