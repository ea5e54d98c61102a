#include "plot/picture_files.h"

#include <QFileInfo>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QSaveFile>
#include <QSvgGenerator>
#include <cmath>

namespace wendrel {

namespace {

// Writes through a QSaveFile: `write` fills the file and returns an error
// text, empty when it wrote everything.
template <typename Write>
std::string Save(const QString& path, Write write) {
    if (QFileInfo(path).isDir()) return SaveFailureMessage(path, "a folder of that name is in the way");
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly)) return SaveFailureMessage(path, file.errorString());
    const QString problem = write(file);
    if (!problem.isEmpty()) {
        file.cancelWriting();
        return SaveFailureMessage(path, problem);
    }
    if (!file.commit()) return SaveFailureMessage(path, file.errorString());
    return {};
}

}  // namespace

std::optional<PictureFormat> PictureFormatOf(const QString& path) {
    const QString ending = QFileInfo(path).suffix().toLower();
    if (ending == "png") return PictureFormat::Png;
    if (ending == "svg") return PictureFormat::Svg;
    if (ending == "pdf") return PictureFormat::Pdf;
    return std::nullopt;
}

std::string SaveFailureMessage(const QString& path, const QString& reason) {
    return "The picture could not be saved as \"" + path.toStdString() + "\": " + reason.toStdString() + ".";
}

std::string WritePng(const QImage& image, const QString& path) {
    return Save(path, [&](QSaveFile& file) {
        if (file.error() == QFileDevice::NoError && image.save(&file, "PNG")) return QString();
        return file.error() != QFileDevice::NoError ? file.errorString() : QString("the picture could not be encoded");
    });
}

std::string WriteSvg(QSize size, const PaintPicture& paint, const QString& path) {
    return Save(path, [&](QSaveFile& file) {
        QSvgGenerator generator;
        generator.setOutputDevice(&file);
        generator.setSize(size);
        generator.setViewBox(QRect(QPoint(0, 0), size));
        generator.setTitle("Wendrel");
        QPainter painter;
        if (!painter.begin(&generator)) return QString("the drawing could not be started");
        paint(painter);
        if (!painter.end()) return QString("the drawing could not be finished");
        return file.error() == QFileDevice::NoError ? QString() : file.errorString();
    });
}

std::string WritePdf(QSize size, double unitsPerInch, const PaintPicture& paint, const QString& path) {
    return Save(path, [&](QSaveFile& file) {
        {
            QPdfWriter writer(&file);
            constexpr int kResolution = 1200;
            const double pointsPerUnit = 72.0 / unitsPerInch;
            writer.setResolution(kResolution);
            writer.setPageMargins(QMarginsF(0, 0, 0, 0));
            writer.setPageSize(QPageSize(QSizeF(size) * pointsPerUnit, QPageSize::Point, QString(),
                                         QPageSize::ExactMatch));
            writer.setCreator("Wendrel");
            QPainter painter;
            if (!painter.begin(&writer)) return QString("the document could not be started");
            painter.scale(kResolution / unitsPerInch, kResolution / unitsPerInch);
            paint(painter);
            if (!painter.end()) return QString("the document could not be finished");
        }
        return file.error() == QFileDevice::NoError ? QString() : file.errorString();
    });
}

}  // namespace wendrel
