// Writing the plot window's picture to a file: PNG as the window's pixels,
// SVG and PDF as vector pictures. A file is replaced only once the whole
// picture has been written; a failure leaves any earlier file as it was.
#pragma once

#include <QImage>
#include <QString>
#include <optional>
#include <string>

#include "plot/vector_picture.h"

namespace wendrel {

enum class PictureFormat { Png, Svg, Pdf };

// The format that a file name's ending (".png", ".svg", ".pdf", in any
// letter case) asks for; none for another ending or none at all.
std::optional<PictureFormat> PictureFormatOf(const QString& path);

// Each returns what went wrong, as a message naming the file and the
// reason; empty when the file was written.
std::string WritePng(const QImage& image, const QString& path);
std::string WriteSvg(const VectorPicture& picture, const QString& path);
// A one-page PDF the size of the picture, `unitsPerInch` units to the inch.
std::string WritePdf(const VectorPicture& picture, double unitsPerInch, const QString& path);

// The message for a file that could not be written for `reason`.
std::string SaveFailureMessage(const QString& path, const QString& reason);

}  // namespace wendrel
