#include "plot/vector_picture.h"

#include <QFontMetricsF>
#include <QLineF>
#include <QPainter>
#include <QPainterPath>
#include <algorithm>
#include <cmath>

#include "plot/image_surface.h"
#include "plot/renderer.h"

namespace wendrel {

namespace {

// Cuts the segment to the rectangle (Liang-Barsky); false when none of it is
// inside. A cut end is put on the side it was cut at, so that lines along an
// axis keep their exact other coordinate however far away their ends were.
bool Clip(QLineF& line, const QRectF& rect) {
    const double dx = line.dx(), dy = line.dy();
    const double d[] = {-dx, dx, -dy, dy};
    const double side[] = {rect.left(), rect.right(), rect.top(), rect.bottom()};
    const double room[] = {line.x1() - side[0], side[1] - line.x1(), line.y1() - side[2], side[3] - line.y1()};
    double t0 = 0, t1 = 1;
    int cut0 = -1, cut1 = -1;
    for (int i = 0; i < 4; ++i) {
        if (d[i] == 0) {
            if (room[i] < 0) return false;
            continue;
        }
        const double t = room[i] / d[i];
        if (d[i] < 0 && t > t0) {
            t0 = t;
            cut0 = i;
        } else if (d[i] > 0 && t < t1) {
            t1 = t;
            cut1 = i;
        }
    }
    if (t0 > t1) return false;
    const QPointF start = line.p1();
    const auto onSide = [&](int i, QPointF keep) {
        if (i < 0) return keep;
        if (i < 2) return QPointF(side[i], start.y() + (side[i] - start.x()) * dy / dx);
        return QPointF(start.x() + (side[i] - start.y()) * dx / dy, side[i]);
    };
    line = QLineF(onSide(cut0, line.p1()), onSide(cut1, line.p2()));
    return true;
}

// What the redraw writes to the workspace, to be put back after a replay.
class RedrawWrites {
public:
    explicit RedrawWrites(Workspace& ws)
        : ws_(ws),
          span_(ws.PlotSpan),
          yMax_(ws.YMax),
          yMin_(ws.YMin),
          x0_(ws.PlotX0),
          x1_(ws.PlotX1),
          y0_(ws.PlotY0),
          y1_(ws.PlotY1),
          spare_(ws.PlotSpare),
          drawing_(ws.Drawing),
          shown_(ws.PlotShown) {
        for (int i = 1; i <= kMaxSlots; ++i) pixels_[i] = {ws.slot(i).FirstPix, ws.slot(i).LastPix};
    }
    ~RedrawWrites() {
        ws_.PlotSpan = span_;
        ws_.YMax = yMax_;
        ws_.YMin = yMin_;
        ws_.PlotX0 = x0_;
        ws_.PlotX1 = x1_;
        ws_.PlotY0 = y0_;
        ws_.PlotY1 = y1_;
        ws_.PlotSpare = spare_;
        ws_.Drawing = drawing_;
        ws_.PlotShown = shown_;
        for (int i = 1; i <= kMaxSlots; ++i) std::tie(ws_.slot(i).FirstPix, ws_.slot(i).LastPix) = pixels_[i];
    }
    RedrawWrites(const RedrawWrites&) = delete;
    RedrawWrites& operator=(const RedrawWrites&) = delete;

private:
    Workspace& ws_;
    double span_, yMax_, yMin_;
    int x0_, x1_, y0_, y1_, spare_;
    bool drawing_, shown_;
    std::array<std::pair<int64_t, int64_t>, kMaxSlots + 1> pixels_{};
};

QPen StrokePen(const VectorPicture::Stroke& stroke) {
    QPen pen(stroke.color, 1);
    if (stroke.dashed) {
        pen.setCapStyle(Qt::FlatCap);
        pen.setDashPattern({VectorPicture::kDash, VectorPicture::kGap});
    } else {
        pen.setCapStyle(Qt::SquareCap);
    }
    pen.setJoinStyle(Qt::MiterJoin);
    return pen;
}

}  // namespace

QPointF TextOrigin(const QFont& font, const QPointF& topLeft, double lineHeight, double width, bool centred) {
    const QFontMetricsF metrics(font);
    const double baseline = topLeft.y() + (lineHeight - metrics.height()) / 2 + metrics.ascent();
    return {centred ? topLeft.x() + width / 2 : topLeft.x(), baseline};
}

VectorSurface::VectorSurface(QSizeF size, double twipsPerUnit, double outerWidth, const PictureFonts& fonts)
    : size_(size), twipsPerUnit_(twipsPerUnit), outerWidth_(outerWidth), fonts_(fonts) {}

void VectorSurface::Cls() {
    strokes_.clear();
    plotTexts_.clear();
}

void VectorSurface::SetForeColor(int32_t color) { color_ = ImageSurface::ColorOf(color); }

void VectorSurface::Line(float x1, float y1, float x2, float y2) { Add(x1, y1, x2, y2, false); }

void VectorSurface::DashedLine(float x1, float y1, float x2, float y2) {
    // Dashes are counted from the line's top or left end, as on screen.
    if (std::make_pair(x2, y2) < std::make_pair(x1, y1)) {
        std::swap(x1, x2);
        std::swap(y1, y2);
    }
    Add(x1, y1, x2, y2, true);
}

void VectorSurface::Add(float x1, float y1, float x2, float y2, bool dashed) {
    if (std::isnan(x1) || std::isnan(y1) || std::isnan(x2) || std::isnan(y2)) return;
    // On screen a line lights the pixels its twips fall in: twips on a pixel's
    // edge light the pixel after it, so the line runs half a unit further on,
    // through that pixel's middle, and stays sharp at the window's own scale.
    QLineF line(x1 / twipsPerUnit_ + 0.5, y1 / twipsPerUnit_ + 0.5, x2 / twipsPerUnit_ + 0.5, y2 / twipsPerUnit_ + 0.5);
    if (!Clip(line, QRectF(QPointF(-2, -2), size_ + QSizeF(4, 4)))) return;
    if (strokes_.empty() || strokes_.back().color != color_ || strokes_.back().dashed != dashed)
        strokes_.push_back({color_, dashed, {}});
    auto& polylines = strokes_.back().polylines;
    if (!dashed && !polylines.empty() && polylines.back().back() == line.p1())
        polylines.back().push_back(line.p2());
    else
        polylines.push_back({line.p1(), line.p2()});
}

void VectorSurface::CentredText(float x, float baseline, const std::string& text) {
    if (std::isnan(x) || std::isnan(baseline) || text.empty()) return;
    plotTexts_.push_back({QPointF(x / twipsPerUnit_, baseline / twipsPerUnit_), QString::fromStdString(text),
                          fonts_.plotTexts, color_, true});
}

void VectorSurface::SetLabel(PlotLabel label, double left, double top, const std::string& caption) {
    const QFont& font = fonts_.labels;
    const QPointF topLeft(left / twipsPerUnit_, top / twipsPerUnit_);
    labels_[label] = {TextOrigin(font, topLeft, QFontMetricsF(font).height()), QString::fromStdString(caption),
                      font, Qt::black, false};
}

VectorPicture VectorSurface::Picture(const QColor& background) const {
    VectorPicture picture;
    picture.size = size_;
    picture.background = background;
    picture.strokes = strokes_;
    picture.texts = plotTexts_;
    for (const auto& [label, text] : labels_)
        if (!text.text.isEmpty()) picture.texts.push_back(text);
    return picture;
}

VectorPicture ReplayPlot(Workspace& ws, QSizeF size, double twipsPerUnit, double outerWidth,
                         const PictureFonts& fonts, const QColor& background) {
    const RedrawWrites restore(ws);
    VectorSurface surface(size, twipsPerUnit, outerWidth, fonts);
    RedrawPlot(ws, surface);
    return surface.Picture(background);
}

void PaintVectorPicture(QPainter& painter, const VectorPicture& picture) {
    painter.save();
    painter.setClipRect(QRectF(QPointF(0, 0), picture.size));
    painter.fillRect(QRectF(QPointF(0, 0), picture.size), picture.background);
    painter.setBrush(Qt::NoBrush);
    for (const VectorPicture::Stroke& stroke : picture.strokes) {
        QPainterPath path;
        for (const auto& polyline : stroke.polylines) {
            path.moveTo(polyline.front());
            for (size_t i = 1; i < polyline.size(); ++i) path.lineTo(polyline[i]);
        }
        painter.strokePath(path, StrokePen(stroke));
    }
    const auto paintText = [&painter](const VectorPicture::Text& text) {
        painter.setFont(text.font);
        painter.setPen(text.color);
        QPointF origin = text.origin;
        if (text.centred) origin.rx() -= QFontMetricsF(text.font).horizontalAdvance(text.text) / 2;
        painter.drawText(origin, text.text);
    };
    for (const VectorPicture::Text& text : picture.texts) paintText(text);
    for (const VectorPicture::Control& control : picture.controls) {
        if (const auto* text = std::get_if<VectorPicture::Text>(&control)) {
            paintText(*text);
            continue;
        }
        const auto& box = std::get<VectorPicture::Box>(control);
        painter.fillRect(box.rect, box.fill);
        if (!box.edge.isValid()) continue;
        painter.setPen(QPen(box.edge, 1));
        painter.setBrush(Qt::NoBrush);
        painter.drawRect(box.rect.adjusted(0.5, 0.5, -0.5, -0.5));
    }
    painter.restore();
}

}  // namespace wendrel
