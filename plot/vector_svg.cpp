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

std::string Rect(const QRectF& rect) {
    return "<rect x=\"" + Number(rect.x()) + "\" y=\"" + Number(rect.y()) + "\" width=\"" + Number(rect.width()) +
           "\" height=\"" + Number(rect.height()) + "\"";
}

std::string BoxElements(const VectorPicture::Box& box) {
    std::string svg = Rect(box.rect) + " fill=\"" + Colour(box.fill) + "\"/>\n";
    if (box.edge.isValid())
        svg += Rect(box.rect.adjusted(0.5, 0.5, -0.5, -0.5)) + " fill=\"none\" stroke=\"" + Colour(box.edge) +
               "\" stroke-width=\"1\"/>\n";
    return svg;
}

std::string TextElement(const VectorPicture::Text& text) {
    std::string svg = "<text xml:space=\"preserve\" x=\"" + Number(text.origin.x()) + "\" y=\"" +
                      Number(text.origin.y()) + "\"" + FontAttributes(text.font) + " fill=\"" + Colour(text.color) + "\"";
    if (text.centred) svg += " text-anchor=\"middle\"";
    return svg + ">" + Escaped(text.text) + "</text>\n";
}

}  // namespace

std::string SvgDocument(const VectorPicture& picture) {
    const std::string width = Number(picture.size.width()), height = Number(picture.size.height());
    std::string svg = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n";
    svg += "<svg xmlns=\"http://www.w3.org/2000/svg\" version=\"1.1\" width=\"" + width + "\" height=\"" + height +
           "\" viewBox=\"0 0 " + width + ' ' + height + "\">\n";
    svg += Rect(QRectF(QPointF(0, 0), picture.size)) + " fill=\"" + Colour(picture.background) + "\"/>\n";
    for (const VectorPicture::Stroke& stroke : picture.strokes) {
        svg += "<path fill=\"none\" stroke=\"" + Colour(stroke.color) + "\" stroke-width=\"1\"";
        svg += stroke.dashed ? " stroke-linecap=\"butt\" stroke-dasharray=\"" + Number(VectorPicture::kDash) + ' ' +
                                   Number(VectorPicture::kGap) + "\""
                             : std::string(" stroke-linecap=\"square\" stroke-linejoin=\"miter\"");
        svg += " d=\"" + PathData(stroke.polylines) + "\"/>\n";
    }
    for (const VectorPicture::Text& text : picture.texts) svg += TextElement(text);
    for (const VectorPicture::Control& control : picture.controls) {
        if (const auto* text = std::get_if<VectorPicture::Text>(&control))
            svg += TextElement(*text);
        else
            svg += BoxElements(std::get<VectorPicture::Box>(control));
    }
    svg += "</svg>\n";
    return svg;
}

}  // namespace wendrel
