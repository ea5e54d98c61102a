// Writing the plot window's picture to a file: PNG as the window's pixels,
// SVG and PDF as whatever a painter paints on them. A file is replaced only once the whole
// picture has been written; a failure leaves any earlier file as it was.
#pragma once

#include <QImage>
#include <QSize>
#include <QString>
#include <functional>
#include <optional>
#include <string>

class QPainter;

namespace wendrel {

enum class PictureFormat { Png, Svg, Pdf };

// The format that a file name's ending (".png", ".svg", ".pdf", in any
// letter case) asks for; none for another ending or none at all.
std::optional<PictureFormat> PictureFormatOf(const QString& path);

// Each returns what went wrong, as a message naming the file and the
// reason; empty when the file was written.
std::string WritePng(const QImage& image, const QString& path);
// `paint` paints the picture with the painter's coordinates in units of the
// picture, which is `size` units large.
using PaintPicture = std::function<void(QPainter&)>;
// An SVG drawing, one unit per SVG pixel.
std::string WriteSvg(QSize size, const PaintPicture& paint, const QString& path);
// A one-page PDF the size of the picture, `unitsPerInch` units to the inch.
std::string WritePdf(QSize size, double unitsPerInch, const PaintPicture& paint, const QString& path);

// The message for a file that could not be written for `reason`.
std::string SaveFailureMessage(const QString& path, const QString& reason);

}  // namespace wendrel
