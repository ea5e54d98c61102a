#include "windows/picture_saving.h"

#include <QAction>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QFontInfo>
#include <QFontMetricsF>
#include <QLabel>
#include <QPainter>
#include <algorithm>
#include <cmath>

#include "plot/picture_files.h"
#include "plot/plot_layout.h"
#include "windows/picture_size_dialog.h"
#include "windows/plot_window.h"
#include "windows/twips.h"

namespace wendrel {

namespace {

constexpr const char* kFilters = "PNG picture (*.png);;SVG drawing (*.svg);;PDF document (*.pdf)";

// The plot labels' font with its size in pixels, as the screen shows it.
QFont LabelPixelFont(const frmPlot_Spectra& window) {
    const QWidget& label = *window.PlotLabelWidget(PlotLabel::WavelengthFirstTick);
    QFont font = label.font();
    font.setPixelSize(QFontInfo(label.font()).pixelSize());
    return font;
}

}  // namespace

QSize PlotPictureSize(const frmPlot_Spectra& window) {
    const QWidget& canvas = *window.Canvas();
    const double labelHeight = QFontMetricsF(LabelPixelFont(window)).height();
    const double height = PlotPictureHeight(window.Layout(), labelHeight * TwipsPerPixel()) / TwipsPerPixel();
    return {canvas.width(), std::clamp(static_cast<int>(std::ceil(height)), 1, std::max(canvas.height(), 1))};
}

PictureRequest OfferedPicture(const frmPlot_Spectra& window) {
    const QSize size = PlotPictureSize(window);
    return {std::max(size.width(), kMinPicturePixels), std::max(size.height(), kMinPicturePixels),
            1440.0 / TwipsPerPixel(), kDefaultFontPoints};
}

PictureSaving::PictureSaving(Workspace& ws, UiHooks& ui, AskFileName ask) : ws_(ws), ui_(ui), ask_(std::move(ask)) {
    if (ask_) return;
    ask_ = [](QWidget* parent, const QString& suggested) {
        QString filter;
        QString path = QFileDialog::getSaveFileName(parent, "Save Picture As", suggested, kFilters, &filter);
        // A name without an ending takes that of the chosen file type.
        if (!path.isEmpty() && QFileInfo(path).suffix().isEmpty()) {
            const qsizetype star = filter.indexOf("*.");
            path += filter.mid(star + 1, filter.indexOf(')', star) - star - 1);
        }
        return path;
    };
}

void PictureSaving::Connect(frmPlot_Spectra& window) {
    QObject::connect(window.SavePictureAction(), &QAction::triggered, &window,
                     [this, &window] { mSavePicture_Click(window); });
}

QString PictureSaving::Suggested() const {
    if (!lastSaved_.isEmpty()) return lastSaved_;
    QString stem = "spectra";
    for (int i = 1; i <= kMaxSlots; ++i) {
        if (!ws_.slot(i).Loaded()) continue;
        stem = QFileInfo(QString::fromStdString(ws_.slot(i)->FileName)).completeBaseName();
        break;
    }
    const QString folder = ws_.FilePath.empty() ? QDir::currentPath() : QString::fromStdString(ws_.FilePath);
    return QDir(folder).filePath(stem + ".png");
}

void PictureSaving::mSavePicture_Click(frmPlot_Spectra& window) {
    const QString path = ask_(&window, Suggested());
    if (path.isEmpty()) return;
    const std::optional<PictureRequest> request = AskPictureSize(&window, lastRequest_.value_or(OfferedPicture(window)));
    if (!request) return;
    lastRequest_ = request;
    if (SavePicture(path, *request)) lastSaved_ = path;
}

bool PictureSaving::SavePicture(const QString& path, const PictureRequest& request) {
    const std::optional<PictureFormat> format = PictureFormatOf(path);
    std::string failure;
    if (!format) {
        failure = SaveFailureMessage(path, "the name must end in .png, .svg or .pdf");
    } else if (*format == PictureFormat::Png) {
        failure = WritePng(SizedPictureImage(ws_, request), path);
    } else {
        const QSize size(request.width, request.height);
        const auto paint = [&](QPainter& painter) { PaintSizedPicture(painter, ws_, request, PainterSurface::Floating); };
        failure = *format == PictureFormat::Svg ? WriteSvg(size, paint, path) : WritePdf(size, request.dpi, paint, path);
    }
    if (failure.empty()) return true;
    ui_.ShowMessage(failure);
    return false;
}

}  // namespace wendrel
