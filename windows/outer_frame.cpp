#include "windows/outer_frame.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>
#include <cmath>
#include <vector>

#include "app/placement.h"
#include "windows/twips.h"

namespace wendrel {
namespace {

QMargins& LastFrameSeen() {
    static QMargins margins;
    return margins;
}

QRect OuterPixels(const QWidget& window) {
    return window.geometry().marginsAdded(FrameMargins(window));
}

}  // namespace

QMargins FrameMargins(const QWidget& window) {
    const QRect frame = window.frameGeometry();
    const QRect client = window.geometry();
    const QMargins margins(client.left() - frame.left(), client.top() - frame.top(),
                           frame.right() - client.right(), frame.bottom() - client.bottom());
    if (margins.isNull()) return LastFrameSeen();
    LastFrameSeen() = margins;
    return margins;
}

QRectF OuterGeometryTwips(const QWidget& window) {
    const QRect outer = OuterPixels(window);
    return {PixelsToTwips(outer.left()), PixelsToTwips(outer.top()), PixelsToTwips(outer.width()),
            PixelsToTwips(outer.height())};
}

void SetOuterSizeTwips(QWidget& window, double width, double height, bool roundHeightUp) {
    const QMargins frame = FrameMargins(window);
    const int heightPixels = roundHeightUp ? static_cast<int>(std::ceil(height / TwipsPerPixel() - 1e-9))
                                           : TwipsToPixels(height);
    window.resize(TwipsToPixels(width) - frame.left() - frame.right(),
                  heightPixels - frame.top() - frame.bottom());
}

void MoveOuterTwips(QWidget& window, double left, double top) {
    // A window's position is that of its frame.
    window.move(TwipsToPixels(left), TwipsToPixels(top));
}

void KeepOnScreen(QWidget& window) {
    std::vector<ScreenRect> screens;
    for (const QScreen* screen : QGuiApplication::screens()) {
        const QRect r = screen->availableGeometry();
        screens.push_back({double(r.left()), double(r.top()), double(r.width()), double(r.height())});
    }
    const QRect outer = OuterPixels(window);
    const ScreenPoint place = PlaceOnScreen(
        {double(outer.left()), double(outer.top()), double(outer.width()), double(outer.height())}, screens);
    if (place.left != outer.left() || place.top != outer.top())
        window.move(static_cast<int>(place.left), static_cast<int>(place.top));
}

}  // namespace wendrel
