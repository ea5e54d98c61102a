// Conversion between the program's twips (1/1440 inch) and device pixels, at
// the screen's logical resolution. Only the window classes use it: the logic
// works in twips throughout.
#pragma once

#include <QGuiApplication>
#include <QScreen>
#include <cmath>

namespace wendrel {

inline double TwipsPerPixel() {
    const QScreen* screen = QGuiApplication::primaryScreen();
    const double dpi = screen ? screen->logicalDotsPerInch() : 96.0;
    return 1440.0 / (dpi > 0 ? dpi : 96.0);
}

inline int TwipsToPixels(double twips) { return static_cast<int>(std::lround(twips / TwipsPerPixel())); }

inline double PixelsToTwips(int pixels) { return pixels * TwipsPerPixel(); }

}  // namespace wendrel
