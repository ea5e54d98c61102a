#include "plot/scroll_bar.h"

#include <algorithm>

namespace wendrel {

namespace {

int To16(int v) { return std::clamp(v, -32768, 32767); }

}  // namespace

int ScrollBar::Clamped(int v) const {
    return std::clamp(v, std::min(min_, max_), std::max(min_, max_));
}

void ScrollBar::MoveTo(int v) {
    v = Clamped(v);
    if (v == value_) return;
    value_ = v;
    PropertiesSet();
    if (onChange) onChange();
}

void ScrollBar::PropertiesSet() {
    if (onPropertiesSet) onPropertiesSet();
}

void ScrollBar::SetMin(int v) {
    min_ = To16(v);
    PropertiesSet();
    MoveTo(value_);
}

void ScrollBar::SetMax(int v) {
    max_ = To16(v);
    PropertiesSet();
    MoveTo(value_);
}

void ScrollBar::SetValue(int v) { MoveTo(To16(v)); }

void ScrollBar::SetSmallChange(int v) {
    smallChange_ = std::max(1, To16(v));
    PropertiesSet();
}

void ScrollBar::SetLargeChange(int v) {
    largeChange_ = std::max(1, To16(v));
    PropertiesSet();
}

void ScrollBar::Reset(int min, int max, int value, int smallChange, int largeChange) {
    min_ = To16(min);
    max_ = To16(max);
    value_ = Clamped(To16(value));
    smallChange_ = std::max(1, To16(smallChange));
    largeChange_ = std::max(1, To16(largeChange));
    PropertiesSet();
}

void ScrollBar::Drag(int v) {
    if (!dragging_) {
        dragging_ = true;
        dragStart_ = value_;
    }
    value_ = Clamped(To16(v));
    PropertiesSet();
    if (onScroll) onScroll();
}

void ScrollBar::Release() {
    if (!dragging_) return;
    dragging_ = false;
    if (value_ != dragStart_ && onChange) onChange();
}

}  // namespace wendrel
