// Pictures of the plot without a window, for wendrel-info --render: the same
// redraw as the plot window, into an image, an SVG drawing or a PDF page,
// with the labels painted on top.
#pragma once

#include <QImage>
#include <string>

#include "store/workspace.h"

namespace wendrel {

// Pictures are drawn at 96 dots per inch: 1440 / 96 = 15 twips per pixel.
inline constexpr double kRenderTwipsPerPixel = 15;
inline constexpr int kDefaultRenderWidth = 10000;  // twips, the window's outer size
inline constexpr int kDefaultRenderHeight = 7000;

struct RenderShape {
    int width = kDefaultRenderWidth, height = kDefaultRenderHeight;  // twips
    double fontPoints = 8;  // the labels' size
};

// The picture the plot window shows of the workspace (its loaded slots, their
// offsets and the view PlotLeft .. PlotRight) when its outer size is
// width x height twips: the area the redraw draws on, labels included, on a
// white ground, without the window's frame, menu and bottom controls. A size
// below the window's smallest is raised to it, as the window opens; the
// image is that size / 15, to the nearest pixel. Before any load (DataReady
// false) the redraw draws nothing and the picture is blank.
QImage RenderPlotPicture(const Workspace& ws, const RenderShape& shape);

// Writes the picture as PNG, SVG or PDF by the file's ending (the PNG is
// RenderPlotPicture), replacing the file only once the whole picture has
// been written. Returns an error text naming the file, empty on success.
std::string WriteRenderedPicture(const Workspace& ws, const RenderShape& shape, const std::string& path);

}  // namespace wendrel
