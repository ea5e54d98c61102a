#include "windows/picture_saving.h"

#include <QAction>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QFontInfo>
#include <QLabel>
#include <QPainter>
#include <algorithm>
#include <vector>

#include "plot/painter_surface.h"
#include "plot/picture_files.h"
#include "plot/renderer.h"
#include "windows/plot_printing.h"
#include "windows/plot_window.h"
#include "windows/twips.h"

namespace wendrel {

namespace {

constexpr const char* kFilters = "PNG picture (*.png);;SVG drawing (*.svg);;PDF document (*.pdf)";

// The widget's font with its size in pixels, as the screen shows it.
QFont PixelFont(const QWidget& widget) {
    QFont font = widget.font();
    font.setPixelSize(QFontInfo(widget.font()).pixelSize());
    return font;
}

}  // namespace

void PaintWindowPicture(QPainter& painter, const Workspace& ws, const frmPlot_Spectra& window) {
    const QWidget& canvas = *window.Canvas();
    painter.fillRect(QRect(QPoint(0, 0), canvas.size()), canvas.palette().color(QPalette::Window));
    PlotLayout layout;
    {
        PainterSurface surface(painter, canvas.size(), TwipsPerPixel(), PainterSurface::Floating);
        layout = RedrawPlot(ws, surface, window.OuterWidthTwips());
    }
    PaintPlotLabels(painter, layout, TwipsPerPixel(),
                    PixelFont(*window.PlotLabelWidget(PlotLabel::WavelengthFirstTick)));

    // The other controls on the plot, in the order they lie over one another.
    std::vector<const QWidget*> plotLabels;
    for (PlotLabel label : kPlotLabels) plotLabels.push_back(window.PlotLabelWidget(label));
    for (QWidget* child : canvas.findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
        if (!child->isVisible() || std::find(plotLabels.begin(), plotLabels.end(), child) != plotLabels.end())
            continue;
        child->render(&painter, child->pos(), QRegion(), QWidget::DrawChildren);
    }
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
        if (!ws_.slot(i).Loaded) continue;
        stem = QFileInfo(QString::fromStdString(ws_.slot(i).FileName)).completeBaseName();
        break;
    }
    const QString folder = ws_.FilePath.empty() ? QDir::currentPath() : QString::fromStdString(ws_.FilePath);
    return QDir(folder).filePath(stem + ".png");
}

void PictureSaving::mSavePicture_Click(frmPlot_Spectra& window) {
    const QString path = ask_(&window, Suggested());
    if (path.isEmpty()) return;
    if (SavePicture(window, path)) lastSaved_ = path;
}

bool PictureSaving::SavePicture(frmPlot_Spectra& window, const QString& path) {
    const std::optional<PictureFormat> format = PictureFormatOf(path);
    std::string failure;
    if (!format) {
        failure = SaveFailureMessage(path, "the name must end in .png, .svg or .pdf");
    } else if (*format == PictureFormat::Png) {
        failure = WritePng(WindowPicture(window), path);
    } else {
        const QSize size = window.Canvas()->size();
        const auto paint = [this, &window](QPainter& painter) { PaintWindowPicture(painter, ws_, window); };
        failure = *format == PictureFormat::Svg ? WriteSvg(size, paint, path)
                                                : WritePdf(size, 1440.0 / TwipsPerPixel(), paint, path);
    }
    if (failure.empty()) return true;
    ui_.ShowMessage(failure);
    return false;
}

}  // namespace wendrel
