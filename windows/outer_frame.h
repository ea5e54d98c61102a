// Places and sizes of top-level windows as the workspace keeps them: in twips,
// for the outer frame (title bar and borders included). Qt sizes a window by
// its client area, so these helpers add or remove the frame.
#pragma once

#include <QMargins>
#include <QRectF>

class QWidget;

namespace wendrel {

// The frame around the window's client area, in pixels. Until the window
// system has framed the window, the frame last seen on any window stands in.
QMargins FrameMargins(const QWidget& window);

// Outer place and size in twips.
QRectF OuterGeometryTwips(const QWidget& window);

// Sizes the window so that its outer frame measures width x height twips.
// The height is rounded up to whole pixels when roundHeightUp is set, so that
// a height meant to hold some lines of text holds at least that much.
void SetOuterSizeTwips(QWidget& window, double width, double height, bool roundHeightUp = false);

// Puts the outer frame's top-left corner at (left, top) twips.
void MoveOuterTwips(QWidget& window, double left, double top);

// Moves a window that lies entirely off every screen onto the nearest one,
// so that a place stored while another screen layout was in use still shows
// the window.
void KeepOnScreen(QWidget& window);

}  // namespace wendrel
