// Reading pictures back: PDF pages rendered and their words extracted through
// poppler-utils, and pixels counted by colour.
#pragma once

#include <QColor>
#include <QImage>
#include <QProcess>
#include <cstdlib>

namespace wendrel::testing {

// What a poppler-utils command writes to its output; empty when it fails.
inline QByteArray Poppler(const QString& command, const QStringList& args) {
    QProcess process;
    process.start(command, args);
    if (!process.waitForFinished(60000) || process.exitCode() != 0) {
        process.kill();
        return {};
    }
    return process.readAllStandardOutput();
}

// The first page of a PDF as an image; null when it fails.
inline QImage RenderPdfPage(const QString& pdf, int dpi) {
    return QImage::fromData(Poppler("pdftoppm", {"-png", "-singlefile", "-r", QString::number(dpi), pdf}), "PNG");
}

inline QString PdfText(const QString& pdf) { return QString::fromUtf8(Poppler("pdftotext", {"-raw", pdf, "-"})); }

// Pixels within `tolerance` of the colour in each component; printing and
// PDF rendering may smooth the picture a little.
inline int CountNear(const QImage& image, const QColor& colour, int tolerance = 40) {
    int count = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x) {
            const QColor c = image.pixelColor(x, y);
            count += std::abs(c.red() - colour.red()) <= tolerance && std::abs(c.green() - colour.green()) <= tolerance &&
                     std::abs(c.blue() - colour.blue()) <= tolerance;
        }
    return count;
}

}  // namespace wendrel::testing
