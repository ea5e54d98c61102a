// The small dialog "Save Picture As ..." shows after the file name: the
// picture's size in pixels, or in inches at a resolution, and the labels'
// font size in points.
#pragma once

#include <optional>

#include "plot/sized_picture.h"

class QWidget;

namespace wendrel {

// Asks for the picture's size, starting from `offered`; the request after
// OK, none after Cancel. Its fields are named "width", "height", "unit"
// (pixels or inches), "dpi" and "fontPoints".
std::optional<PictureRequest> AskPictureSize(QWidget* parent, const PictureRequest& offered);

}  // namespace wendrel
