#include "plot/image_surface.h"

#include <QFontMetricsF>
#include <QPainter>
#include <algorithm>
#include <cmath>

#include "plot/device_column.h"

namespace wendrel {

namespace {

// Clips the segment to the rectangle by Liang-Barsky; false when nothing is left.
bool ClipToRect(QLineF& line, const QRectF& rect) {
    double t0 = 0, t1 = 1;
    const double dx = line.dx(), dy = line.dy();
    const double p[] = {-dx, dx, -dy, dy};
    const double q[] = {line.x1() - rect.left(), rect.right() - line.x1(), line.y1() - rect.top(),
                        rect.bottom() - line.y1()};
    for (int i = 0; i < 4; ++i) {
        if (p[i] == 0) {
            if (q[i] < 0) return false;
            continue;
        }
        const double t = q[i] / p[i];
        if (p[i] < 0)
            t0 = std::max(t0, t);
        else
            t1 = std::min(t1, t);
    }
    if (t0 > t1) return false;
    const QPointF a = line.p1(), d(dx, dy);
    line = QLineF(a + t0 * d, a + t1 * d);
    return true;
}

}  // namespace

ImageSurface::ImageSurface(QSize pixelSize, double twipsPerPixel, ShowHandler onShow)
    : twipsPerPixel_(twipsPerPixel), onShow_(std::move(onShow)) {
    Resize(pixelSize);
}

void ImageSurface::Show() {
    if (onShow_) onShow_();
}

void ImageSurface::Cls() { image_.fill(background_); }

void ImageSurface::Resize(QSize pixelSize) {
    image_ = QImage(pixelSize.expandedTo(QSize(1, 1)), QImage::Format_RGB32);
    image_.fill(background_);
}

void ImageSurface::SetForeColor(int32_t color) {
    foreColor_ = ColorOf(color);
    foreRgb_ = foreColor_.rgb();
}

QColor ImageSurface::ColorOf(int32_t value) {
    return QColor(value & 0xFF, (value >> 8) & 0xFF, (value >> 16) & 0xFF);
}

void ImageSurface::FillCells(int64_t col0, int64_t col1, int64_t row0, int64_t row1) {
    col0 = std::max<int64_t>(col0, 0);
    row0 = std::max<int64_t>(row0, 0);
    col1 = std::min<int64_t>(col1, image_.width() - 1);
    row1 = std::min<int64_t>(row1, image_.height() - 1);
    if (col0 > col1 || row0 > row1) return;
    uchar* bits = image_.bits();
    const qsizetype stride = image_.bytesPerLine();
    for (int64_t row = row0; row <= row1; ++row) {
        auto* line = reinterpret_cast<QRgb*>(bits + row * stride);
        std::fill(line + col0, line + col1 + 1, foreRgb_);
    }
}

void ImageSurface::Line(float x1, float y1, float x2, float y2) {
    if (std::isnan(x1) || std::isnan(y1) || std::isnan(x2) || std::isnan(y2)) return;
    if (x1 == x2 || y1 == y2) {
        const auto [left, right] = std::minmax(x1, x2);
        const auto [top, bottom] = std::minmax(y1, y2);
        FillCells(DeviceColumn(left, twipsPerPixel_), DeviceColumn(right, twipsPerPixel_),
                  DeviceColumn(top, twipsPerPixel_), DeviceColumn(bottom, twipsPerPixel_));
        return;
    }
    QLineF line(x1 / twipsPerPixel_, y1 / twipsPerPixel_, x2 / twipsPerPixel_, y2 / twipsPerPixel_);
    if (!ClipToRect(line, QRectF(-2, -2, image_.width() + 4, image_.height() + 4))) return;
    QPainter painter(&image_);
    painter.setPen(QPen(foreColor_, 0));
    painter.drawLine(line.translated(0.5, 0.5));
}

void ImageSurface::DashedLine(float x1, float y1, float x2, float y2) {
    if (std::isnan(x1) || std::isnan(y1) || std::isnan(x2) || std::isnan(y2)) return;
    if (x1 != x2 && y1 != y2) {
        QLineF line(x1 / twipsPerPixel_, y1 / twipsPerPixel_, x2 / twipsPerPixel_, y2 / twipsPerPixel_);
        if (!ClipToRect(line, QRectF(-2, -2, image_.width() + 4, image_.height() + 4))) return;
        QPainter painter(&image_);
        painter.setPen(QPen(foreColor_, 0, Qt::DashLine));
        painter.drawLine(line.translated(0.5, 0.5));
        return;
    }
    const int64_t col0 = DeviceColumn(std::min(x1, x2), twipsPerPixel_);
    const int64_t col1 = DeviceColumn(std::max(x1, x2), twipsPerPixel_);
    const int64_t row0 = DeviceColumn(std::min(y1, y2), twipsPerPixel_);
    const int64_t row1 = DeviceColumn(std::max(y1, y2), twipsPerPixel_);
    const bool vertical = x1 == x2;
    constexpr int64_t period = kDashCells + kGapCells;
    int64_t from = vertical ? row0 : col0;
    const int64_t to = std::min<int64_t>(vertical ? row1 : col1, (vertical ? image_.height() : image_.width()) - 1);
    if (from < 0) from += (-from) / period * period;  // skip whole dashes before the image, keeping their rhythm
    for (int64_t a = from; a <= to; a += period) {
        const int64_t b = std::min(a + kDashCells - 1, to);
        if (vertical)
            FillCells(col0, col1, a, b);
        else
            FillCells(a, b, row0, row1);
    }
}

void ImageSurface::CentredText(float x, float baseline, const std::string& text) {
    if (std::isnan(x) || std::isnan(baseline) || text.empty()) return;
    const QString caption = QString::fromStdString(text);
    const QFont font = LabelFont();
    const double width = QFontMetricsF(font).horizontalAdvance(caption);
    QPainter painter(&image_);
    painter.setFont(font);
    painter.setPen(foreColor_);
    painter.drawText(QPointF(x / twipsPerPixel_ - width / 2, baseline / twipsPerPixel_), caption);
}

void ImageSurface::SetLabel(PlotLabel label, double left, double top, const std::string& caption) {
    labels_[label] = PlacedLabel{left, top, caption};
}

double ImageSurface::OuterWidth() const { return outerWidth_.value_or(image_.width() * twipsPerPixel_); }

QFont ImageSurface::LabelFont() const {
    if (labelFont_) return *labelFont_;
    QFont font;
    font.setPixelSize(std::max(1, static_cast<int>(std::lround(160 / twipsPerPixel_))));
    return font;
}

void ImageSurface::PaintLabels(QPainter& painter) const {
    painter.save();
    painter.setPen(Qt::black);
    painter.setFont(LabelFont());
    for (const auto& [label, placed] : labels_) {
        if (placed.caption.empty()) continue;
        const QPointF topLeft(placed.left / twipsPerPixel_, placed.top / twipsPerPixel_);
        painter.drawText(QRectF(topLeft, QSizeF(1e6, 1e6)), Qt::AlignLeft | Qt::AlignTop | Qt::TextDontClip,
                         QString::fromStdString(placed.caption));
    }
    painter.restore();
}

QImage ImageSurface::ImageWithLabels() const {
    QImage picture = image_.copy();
    QPainter painter(&picture);
    PaintLabels(painter);
    return picture;
}

}  // namespace wendrel
