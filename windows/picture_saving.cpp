#include "windows/picture_saving.h"

#include <QAction>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QFontInfo>
#include <QLabel>
#include <QPushButton>
#include <QScrollBar>
#include <QStyle>
#include <QStyleOptionSlider>
#include <algorithm>

#include "plot/picture_files.h"
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

void AddCaption(VectorPicture& picture, const QWidget& widget, const QRectF& rect, const QString& text,
                bool centred) {
    if (text.isEmpty()) return;
    const QFont font = PixelFont(widget);
    picture.controls.push_back(VectorPicture::Text{TextOrigin(font, rect.topLeft(), rect.height(), rect.width(), centred), text, font,
                             widget.palette().color(QPalette::WindowText), centred});
}

void AddScrollBar(VectorPicture& picture, const QScrollBar& bar, const QRectF& rect) {
    QStyleOptionSlider option;
    option.initFrom(&bar);
    option.subControls = QStyle::SC_All;
    option.orientation = bar.orientation();
    if (bar.orientation() == Qt::Horizontal) option.state |= QStyle::State_Horizontal;
    option.minimum = bar.minimum();
    option.maximum = bar.maximum();
    option.sliderPosition = bar.sliderPosition();
    option.sliderValue = bar.value();
    option.singleStep = bar.singleStep();
    option.pageStep = bar.pageStep();
    option.upsideDown = bar.invertedAppearance();
    const QPalette& palette = bar.palette();
    picture.controls.push_back(
        VectorPicture::Box{rect, palette.color(QPalette::Window).darker(110), palette.color(QPalette::Mid)});
    for (QStyle::SubControl part : {QStyle::SC_ScrollBarSubLine, QStyle::SC_ScrollBarAddLine, QStyle::SC_ScrollBarSlider}) {
        const QRect r = bar.style()->subControlRect(QStyle::CC_ScrollBar, &option, part, &bar);
        if (r.isEmpty()) continue;
        picture.controls.push_back(VectorPicture::Box{QRectF(r).translated(rect.topLeft()),
                                                      palette.color(QPalette::Button), palette.color(QPalette::Mid)});
    }
}

}  // namespace

VectorPicture WindowVectorPicture(Workspace& ws, const frmPlot_Spectra& window) {
    const QWidget& canvas = *window.Canvas();
    const QWidget& labelWidget = *window.PlotLabelWidget(PlotLabel::Label1);
    const PictureFonts fonts{PixelFont(labelWidget), window.Surface().LabelFont()};
    VectorPicture picture = ReplayPlot(ws, QSizeF(canvas.size()), TwipsPerPixel(), window.OuterWidthTwips(), fonts,
                                       canvas.palette().color(QPalette::Window));

    // The controls on the plot, in the order they lie over one another.
    std::vector<const QWidget*> plotLabels;
    for (PlotLabel label : {PlotLabel::Label1, PlotLabel::Label2, PlotLabel::Label3, PlotLabel::Label4,
                            PlotLabel::Label6, PlotLabel::Label8})
        plotLabels.push_back(window.PlotLabelWidget(label));
    for (const QWidget* child : canvas.findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
        if (!child->isVisible() || std::find(plotLabels.begin(), plotLabels.end(), child) != plotLabels.end())
            continue;
        const QRectF rect(child->geometry());
        if (const auto* label = qobject_cast<const QLabel*>(child)) {
            if (label->autoFillBackground())
                picture.controls.push_back(VectorPicture::Box{rect, label->palette().color(QPalette::Window), {}});
            AddCaption(picture, *label, rect, label->text(), label->alignment() & Qt::AlignHCenter);
        } else if (const auto* button = qobject_cast<const QPushButton*>(child)) {
            picture.controls.push_back(VectorPicture::Box{rect, button->palette().color(QPalette::Button),
                                                          button->palette().color(QPalette::Mid)});
            AddCaption(picture, *button, rect, button->text(), true);
        } else if (const auto* bar = qobject_cast<const QScrollBar*>(child)) {
            AddScrollBar(picture, *bar, rect);
        }
    }
    return picture;
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
        const VectorPicture picture = WindowVectorPicture(ws_, window);
        failure = *format == PictureFormat::Svg ? WriteSvg(picture, path)
                                                : WritePdf(picture, 1440.0 / TwipsPerPixel(), path);
    }
    if (failure.empty()) return true;
    ui_.ShowMessage(failure);
    return false;
}

}  // namespace wendrel
