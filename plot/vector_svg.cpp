// The vector picture as an SVG document.
#include <QFontInfo>
#include <cmath>

#include "plot/vector_picture.h"

namespace wendrel {

namespace {

// Coordinates to a hundredth of a unit, without trailing zeros.
std::string Number(double value) {
    std::string text = QString::number(std::round(value * 100) / 100 + 0.0, 'f', 2).toStdString();
    while (text.back() == '0') text.pop_back();
    if (text.back() == '.') text.pop_back();
    return text;
}

std::string Colour(const QColor& color) { return color.name(QColor::HexRgb).toStdString(); }

std::string Escaped(const QString& text) { return text.toHtmlEscaped().toStdString(); }

std::string PathData(const std::vector<std::vector<QPointF>>& polylines) {
    std::string d;
    for (const auto& polyline : polylines) {
        for (size_t i = 0; i < polyline.size(); ++i) {
            if (!d.empty()) d += ' ';
            d += (i == 0 ? "M" : "L") + Number(polyline[i].x()) + ' ' + Number(polyline[i].y());
        }
    }
    return d;
}

std::string FontAttributes(const QFont& font) {
    std::string attributes = " font-family=\"" + Escaped(QFontInfo(font).family()) + "\" font-size=\"" +
                             Number(font.pixelSize() > 0 ? font.pixelSize() : QFontInfo(font).pixelSize()) + "\"";
    if (font.bold()) attributes += " font-weight=\"bold\"";
    return attributes;
}

}  // namespace

std::string SvgDocument(const VectorPicture& picture) {
    const std::string width = Number(picture.size.width()), height = Number(picture.size.height());
    std::string svg = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n";
    svg += "<svg xmlns=\"http://www.w3.org/2000/svg\" version=\"1.1\" width=\"" + width + "\" height=\"" + height +
           "\" viewBox=\"0 0 " + width + ' ' + height + "\">\n";
    svg += "<rect x=\"0\" y=\"0\" width=\"" + width + "\" height=\"" + height + "\" fill=\"" +
           Colour(picture.background) + "\"/>\n";
    for (const VectorPicture::Stroke& stroke : picture.strokes) {
        svg += "<path fill=\"none\" stroke=\"" + Colour(stroke.color) + "\" stroke-width=\"1\"";
        svg += stroke.dashed ? " stroke-linecap=\"butt\" stroke-dasharray=\"" + Number(VectorPicture::kDash) + ' ' +
                                   Number(VectorPicture::kGap) + "\""
                             : std::string(" stroke-linecap=\"square\" stroke-linejoin=\"miter\"");
        svg += " d=\"" + PathData(stroke.polylines) + "\"/>\n";
    }
    for (const VectorPicture::Box& box : picture.boxes) {
        svg += "<rect x=\"" + Number(box.rect.x()) + "\" y=\"" + Number(box.rect.y()) + "\" width=\"" +
               Number(box.rect.width()) + "\" height=\"" + Number(box.rect.height()) + "\" fill=\"" +
               Colour(box.fill) + "\"/>\n";
        if (!box.edge.isValid()) continue;
        const QRectF edge = box.rect.adjusted(0.5, 0.5, -0.5, -0.5);
        svg += "<rect x=\"" + Number(edge.x()) + "\" y=\"" + Number(edge.y()) + "\" width=\"" +
               Number(edge.width()) + "\" height=\"" + Number(edge.height()) + "\" fill=\"none\" stroke=\"" +
               Colour(box.edge) + "\" stroke-width=\"1\"/>\n";
    }
    for (const VectorPicture::Text& text : picture.texts) {
        svg += "<text xml:space=\"preserve\" x=\"" + Number(text.origin.x()) + "\" y=\"" + Number(text.origin.y()) +
               "\"" + FontAttributes(text.font) + " fill=\"" + Colour(text.color) + "\"";
        if (text.centred) svg += " text-anchor=\"middle\"";
        svg += ">" + Escaped(text.text) + "</text>\n";
    }
    svg += "</svg>\n";
    return svg;
}

}  // namespace wendrel
