// Pictures of the plot at a size and font size the user asks for, whatever the
// screen: the size in pixels, or in inches at a number of dots per inch, and
// the labels' size in points at that resolution.
#pragma once

#include <QPainter>
#include <QSize>
#include <string>

#include "plot/painter_surface.h"
#include "store/workspace.h"

namespace wendrel {

inline constexpr int kMinPicturePixels = 100;
inline constexpr int kMaxPicturePixels = 20000;
inline constexpr double kMinPictureDpi = 36, kMaxPictureDpi = 2400;
inline constexpr double kMinFontPoints = 4, kMaxFontPoints = 72;
inline constexpr double kDefaultFontPoints = 8;

struct PictureRequest {
    int width = 0, height = 0;  // pixels
    double dpi = 96;
    double fontPoints = kDefaultFontPoints;
};

// Pixels of a length in inches at `dpi`, to the nearest pixel; and back.
int PixelsOfInches(double inches, double dpi);
double InchesOfPixels(int pixels, double dpi);

// What is wrong with a request, as a sentence naming the limit; empty when
// it can be drawn.
std::string PictureRequestProblem(const PictureRequest& request);

// The twips one pixel of the picture stands for: the labels' font (160 twips
// in the window) comes out `fontPoints` points high at `dpi`.
double PictureTwipsPerPixel(const PictureRequest& request);

// Paints the plot `request.width` x `request.height` units large on the
// painter (its units are the picture's pixels): the window's white ground,
// the redraw laid out so that the picture ends just below its lowest label,
// and the labels in LabelFont of the request's size.
void PaintSizedPicture(QPainter& painter, const Workspace& ws, const PictureRequest& request,
                       PainterSurface::Target target);

// The picture as an image of exactly the request's pixels (device pixel
// ratio 1), whatever the screen's scale factor.
QImage SizedPictureImage(const Workspace& ws, const PictureRequest& request);

}  // namespace wendrel
