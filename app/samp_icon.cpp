#include "app/samp_icon.h"

#include <QDir>
#include <QImage>
#include <QPainter>
#include <QPainterPath>
#include <cmath>

namespace wendrel {

std::unique_ptr<QTemporaryFile> WriteSampIcon() {
    QImage icon(64, 64, QImage::Format_ARGB32);
    icon.fill(QColor(250, 250, 245));
    QPainter painter(&icon);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QPen(QColor(110, 20, 20), 3));
    painter.drawRect(QRectF(1.5, 1.5, 61, 61));
    // Two stepped spectra, one offset above the other, each with a line at the same place.
    const QColor colours[] = {QColor(200, 30, 30), QColor(20, 90, 180)};
    for (int curve = 0; curve < 2; ++curve) {
        QPainterPath path;
        for (int x = 6; x <= 58; x += 2) {
            const double depth = 22 * std::exp(-std::pow((x - 34) / 5.0, 2));
            const double y = 20 + 20 * curve + depth * (curve == 0 ? 1.0 : 0.6);
            if (x == 6) path.moveTo(x, y); else path.lineTo(x, y);
        }
        painter.setPen(QPen(colours[curve], 2.5));
        painter.drawPath(path);
    }
    painter.end();
    auto file = std::make_unique<QTemporaryFile>(QDir::tempPath() + "/wendrel-icon-XXXXXX.png");
    if (!file->open() || !icon.save(file.get(), "PNG")) return nullptr;
    file->flush();
    return file;
}

}  // namespace wendrel
