#include "plot/painter_surface.h"

#include <QFontMetricsF>
#include <QImage>
#include <QLineF>
#include <QPainter>
#include <algorithm>
#include <cmath>

#include "plot/device_column.h"

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

bool AnyNan(float x1, float y1, float x2, float y2) {
    return std::isnan(x1) || std::isnan(y1) || std::isnan(x2) || std::isnan(y2);
}

}  // namespace

QColor ColorOf(int32_t value) { return QColor(value & 0xFF, (value >> 8) & 0xFF, (value >> 16) & 0xFF); }

QFont LabelFont(double twipsPerUnit) {
    QFont font;
    font.setPixelSize(std::max(1, static_cast<int>(std::lround(160 / twipsPerUnit))));
    return font;
}

PainterSurface::PainterSurface(QPainter& painter, QSizeF size, double twipsPerUnit, Target target)
    : painter_(painter), size_(size), twipsPerUnit_(twipsPerUnit), target_(target) {
    QPaintDevice* device = painter.device();
    if (target == Cells && device && device->devType() == QInternal::Image && painter.transform().isIdentity()) {
        auto* image = static_cast<QImage*>(device);
        if (image->format() == QImage::Format_RGB32 || image->format() == QImage::Format_ARGB32) image_ = image;
    }
    painter_.save();
    painter_.setBrush(Qt::NoBrush);
}

PainterSurface::PainterSurface(QPainter& painter, QSizeF size, double twipsPerUnit, Target target,
                               const QFont& textFont)
    : PainterSurface(painter, size, twipsPerUnit, target) {
    textFont_ = textFont;
}

PainterSurface::~PainterSurface() {
    FlushPolyline();
    painter_.restore();
}

void PainterSurface::SetForeColor(int32_t color) {
    FlushPolyline();
    color_ = ColorOf(color);
}

void PainterSurface::FillCells(int64_t col0, int64_t col1, int64_t row0, int64_t row1) {
    col0 = std::max<int64_t>(col0, 0);
    row0 = std::max<int64_t>(row0, 0);
    col1 = std::min<int64_t>(col1, static_cast<int64_t>(size_.width()) - 1);
    row1 = std::min<int64_t>(row1, static_cast<int64_t>(size_.height()) - 1);
    if (col0 > col1 || row0 > row1) return;
    if (image_) {
        // Straight into the image's memory: a dense curve fills thousands of
        // cells per redraw, and a painter's fill costs far more per call.
        const QRgb rgb = color_.rgb();
        uchar* bits = image_->bits();
        const qsizetype stride = image_->bytesPerLine();
        if (col0 == col1) {  // a column: the curves' envelopes and uncertainty bands, one cell per row
            uchar* cell = bits + row0 * stride + col0 * static_cast<qsizetype>(sizeof(QRgb));
            for (int64_t row = row0; row <= row1; ++row, cell += stride) *reinterpret_cast<QRgb*>(cell) = rgb;
            return;
        }
        for (int64_t row = row0; row <= row1; ++row) {
            auto* line = reinterpret_cast<QRgb*>(bits + row * stride);
            std::fill(line + col0, line + col1 + 1, rgb);
        }
        return;
    }
    painter_.fillRect(QRect(static_cast<int>(col0), static_cast<int>(row0), static_cast<int>(col1 - col0 + 1),
                            static_cast<int>(row1 - row0 + 1)),
                      color_);
}

void PainterSurface::Line(float x1, float y1, float x2, float y2) {
    if (AnyNan(x1, y1, x2, y2)) return;
    if (target_ == Floating) return FloatingLine(x1, y1, x2, y2, false);
    if (x1 == x2 || y1 == y2) {
        const auto [left, right] = std::minmax(x1, x2);
        const auto [top, bottom] = std::minmax(y1, y2);
        const int64_t grow = lineWidth_ - 1;
        FillCells(DeviceColumn(left, twipsPerUnit_), DeviceColumn(right, twipsPerUnit_) + grow,
                  DeviceColumn(top, twipsPerUnit_), DeviceColumn(bottom, twipsPerUnit_) + grow);
        return;
    }
    QLineF line(x1 / twipsPerUnit_, y1 / twipsPerUnit_, x2 / twipsPerUnit_, y2 / twipsPerUnit_);
    if (!Clip(line, QRectF(QPointF(-2, -2), size_ + QSizeF(4, 4)))) return;
    painter_.setPen(QPen(color_, lineWidth_ > 1 ? lineWidth_ : 0));
    painter_.drawLine(line.translated(0.5, 0.5));
}

void PainterSurface::DashedLine(float x1, float y1, float x2, float y2) {
    if (AnyNan(x1, y1, x2, y2)) return;
    if (target_ == Floating) return FloatingLine(x1, y1, x2, y2, true);
    if (x1 != x2 && y1 != y2) {
        QLineF line(x1 / twipsPerUnit_, y1 / twipsPerUnit_, x2 / twipsPerUnit_, y2 / twipsPerUnit_);
        if (!Clip(line, QRectF(QPointF(-2, -2), size_ + QSizeF(4, 4)))) return;
        painter_.setPen(QPen(color_, 0, Qt::DashLine));
        painter_.drawLine(line.translated(0.5, 0.5));
        return;
    }
    const int64_t col0 = DeviceColumn(std::min(x1, x2), twipsPerUnit_);
    const int64_t col1 = DeviceColumn(std::max(x1, x2), twipsPerUnit_);
    const int64_t row0 = DeviceColumn(std::min(y1, y2), twipsPerUnit_);
    const int64_t row1 = DeviceColumn(std::max(y1, y2), twipsPerUnit_);
    const bool vertical = x1 == x2;
    constexpr int64_t period = kDashUnits + kGapUnits;
    const auto cells = static_cast<int64_t>(vertical ? size_.height() : size_.width());
    int64_t from = vertical ? row0 : col0;
    const int64_t to = std::min<int64_t>(vertical ? row1 : col1, cells - 1);
    if (from < 0) from += (-from) / period * period;  // skip whole dashes before the target, keeping their rhythm
    for (int64_t a = from; a <= to; a += period) {
        const int64_t b = std::min(a + kDashUnits - 1, to);
        if (vertical)
            FillCells(col0, col1, a, b);
        else
            FillCells(a, b, row0, row1);
    }
}

void PainterSurface::FloatingLine(float x1, float y1, float x2, float y2, bool dashed) {
    // Dashes are counted from the line's top or left end, as on a raster.
    if (dashed && std::make_pair(x2, y2) < std::make_pair(x1, y1)) {
        std::swap(x1, x2);
        std::swap(y1, y2);
    }
    QLineF line(x1 / twipsPerUnit_, y1 / twipsPerUnit_, x2 / twipsPerUnit_, y2 / twipsPerUnit_);
    if (!Clip(line, QRectF(QPointF(-2, -2), size_ + QSizeF(4, 4)))) return;
    // Twips on a cell's edge light the cell after it, so the line runs half
    // a unit further on, through that cell's middle.
    line.translate(0.5, 0.5);
    if (dashed) {
        FlushPolyline();
        QPen pen(color_, 1, Qt::SolidLine, Qt::FlatCap);
        pen.setDashPattern({kDashUnits, kGapUnits});
        painter_.setPen(pen);
        painter_.drawLine(line);
        return;
    }
    if (polyline_.isEmpty() || polyline_.back() != line.p1()) {
        FlushPolyline();
        polyline_ << line.p1();
    }
    polyline_ << line.p2();
}

void PainterSurface::SetLineWidth(int units) {
    FlushPolyline();
    lineWidth_ = std::max(1, units);
}

void PainterSurface::FlushPolyline() {
    if (polyline_.isEmpty()) return;
    painter_.setPen(QPen(color_, lineWidth_, Qt::SolidLine, Qt::SquareCap, Qt::MiterJoin));
    painter_.drawPolyline(polyline_);
    polyline_.clear();
}

double PainterSurface::TextWidth(const std::string& text) const {
    if (!textFont_) textFont_ = LabelFont(twipsPerUnit_);
    return QFontMetricsF(*textFont_).horizontalAdvance(QString::fromStdString(text)) * twipsPerUnit_;
}

double PainterSurface::TextAscent() const {
    if (!textFont_) textFont_ = LabelFont(twipsPerUnit_);
    return QFontMetricsF(*textFont_).ascent() * twipsPerUnit_;
}

double PainterSurface::TextDescent() const {
    if (!textFont_) textFont_ = LabelFont(twipsPerUnit_);
    return QFontMetricsF(*textFont_).descent() * twipsPerUnit_;
}

void PainterSurface::FillRect(float x1, float y1, float x2, float y2) {
    if (AnyNan(x1, y1, x2, y2)) return;
    const auto [left, right] = std::minmax(x1, x2);
    const auto [top, bottom] = std::minmax(y1, y2);
    if (target_ == Cells)
        return FillCells(DeviceColumn(left, twipsPerUnit_), DeviceColumn(right, twipsPerUnit_),
                         DeviceColumn(top, twipsPerUnit_), DeviceColumn(bottom, twipsPerUnit_));
    FlushPolyline();
    QRectF area(QPointF(left / twipsPerUnit_, top / twipsPerUnit_),
                QPointF(right / twipsPerUnit_ + 1, bottom / twipsPerUnit_ + 1));
    painter_.fillRect(area & QRectF(QPointF(-2, -2), size_ + QSizeF(4, 4)), color_);
}

void PainterSurface::CentredText(float x, float baseline, const std::string& text) {
    if (std::isnan(x) || std::isnan(baseline) || text.empty()) return;
    FlushPolyline();
    if (!textFont_) textFont_ = LabelFont(twipsPerUnit_);
    const QString caption = QString::fromStdString(text);
    const double width = QFontMetricsF(*textFont_).horizontalAdvance(caption);
    painter_.setFont(*textFont_);
    painter_.setPen(color_);
    painter_.drawText(QPointF(x / twipsPerUnit_ - width / 2, baseline / twipsPerUnit_), caption);
}

void PaintPlotLabels(QPainter& painter, const PlotLayout& layout, double twipsPerUnit, const QFont& font) {
    painter.save();
    painter.setPen(Qt::black);
    painter.setFont(font);
    for (const auto& [label, placed] : layout.labels) {
        if (placed.caption.empty()) continue;
        const QPointF topLeft(placed.left / twipsPerUnit, placed.top / twipsPerUnit);
        painter.drawText(QRectF(topLeft, QSizeF(1e6, 1e6)), Qt::AlignLeft | Qt::AlignTop | Qt::TextDontClip,
                         QString::fromStdString(placed.caption));
    }
    painter.restore();
}

}  // namespace wendrel
