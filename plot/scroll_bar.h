// The plot window's horizontal scroll bar as its logic sees it: five 16-bit
// properties and two events, with no widget behind it. The Qt window mirrors
// it in a QScrollBar and forwards the user's actions to it.
#pragma once

#include <functional>

namespace wendrel {

class ScrollBar {
public:
    int Min() const { return min_; }
    int Max() const { return max_; }
    int Value() const { return value_; }
    int SmallChange() const { return smallChange_; }
    int LargeChange() const { return largeChange_; }

    // The position always lies between Min and Max (either may be the larger).
    // Setting Min or Max can move it into the new range, and setting Value
    // moves it; every move raises the change event at once, whether the
    // program or the user caused it. A value set to where the position already
    // is raises nothing. Values beyond the 16-bit range are clamped to it.
    void SetMin(int v);
    void SetMax(int v);
    void SetValue(int v);
    // The steps of an arrow click and of a click in the trough; at least 1.
    void SetSmallChange(int v);
    void SetLargeChange(int v);

    // Sets all five at once without raising any event: the same positions
    // expressed in other units.
    void Reset(int min, int max, int value, int smallChange, int largeChange);

    // The user drags the thumb to v: the position follows and the scroll
    // event is raised, once per step of the drag.
    void Drag(int v);
    // The user lets go of the thumb: a drag that moved the position ends with
    // the change event.
    void Release();
    // Between the first Drag and the Release.
    bool Dragging() const { return dragging_; }

    std::function<void()> onChange;
    std::function<void()> onScroll;
    // Raised after any property was set, for a widget that mirrors the bar.
    std::function<void()> onPropertiesSet;

private:
    int Clamped(int v) const;
    void MoveTo(int v);
    void PropertiesSet();

    int min_ = 0;
    int max_ = 32767;
    int value_ = 0;
    int smallChange_ = 1;
    int largeChange_ = 1;
    bool dragging_ = false;
    int dragStart_ = 0;
};

}  // namespace wendrel
