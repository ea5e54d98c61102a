#include "windows/plot_window.h"

#include <QAction>
#include <QActionGroup>
#include <QApplication>
#include <QCloseEvent>
#include <QLabel>
#include <QMenuBar>
#include <QMouseEvent>
#include <QPainter>
#include <QPushButton>
#include <QScrollBar>
#include <QSignalBlocker>
#include <algorithm>

#include "plot/cursor_readout.h"
#include "plot/line_marks.h"
#include "plot/number_format.h"
#include "plot/plot_layout.h"
#include "windows/outer_frame.h"
#include "windows/twips.h"

namespace wendrel {

// The drawing surface: shows the plot's image and reports mouse moves.
class PlotCanvas : public QWidget {
public:
    explicit PlotCanvas(frmPlot_Spectra& window) : QWidget(&window), window_(window) { setMouseTracking(true); }

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter painter(this);
        painter.fillRect(rect(), palette().window());
        painter.drawImage(0, 0, window_.Image());
    }
    void mouseMoveEvent(QMouseEvent* event) override {
        const double twips = TwipsPerPixel();
        window_.Form_MouseMove(static_cast<float>(event->position().x() * twips),
                               static_cast<float>(event->position().y() * twips));
    }

private:
    frmPlot_Spectra& window_;
};

namespace {

QMargins FrameOf(const QWidget& window) {
    const QRect frame = window.frameGeometry();
    const QRect client = window.geometry();
    return {client.left() - frame.left(), client.top() - frame.top(), frame.right() - client.right(),
            frame.bottom() - client.bottom()};
}

QRect PixelRect(int left, int top, int width, int height) {
    return {TwipsToPixels(left), TwipsToPixels(top), TwipsToPixels(width), TwipsToPixels(height)};
}

QLabel* NewLabel(QWidget* parent, const QString& caption) {
    auto* label = new QLabel(caption, parent);
    label->setTextFormat(Qt::PlainText);  // keep the blanks of fixed-width captions
    return label;
}

// The label controls of the plot labels, by PlotLabel: their numbers are
// their names and the design captions the first redraw replaces.
constexpr std::array<int, 6> kPlotLabelNumbers = {1, 2, 3, 4, 6, 8};

QImage BlankImage(QSize size, const QColor& background) {
    QImage image(size.expandedTo(QSize(1, 1)), QImage::Format_RGB32);
    image.fill(background);
    return image;
}

}  // namespace

frmPlot_Spectra::frmPlot_Spectra(Workspace& ws, UiHooks& ui, OffsetCaptionHandler offsetCaption)
    : ws_(ws), ui_(ui), offsetCaption_(std::move(offsetCaption)), view_(ws, [&ui] { ui.RedrawPlot(); }) {
    setAttribute(Qt::WA_DeleteOnClose);
    setObjectName("frmPlot_Spectra");
    setWindowTitle("Plot Spectra");
    canvas_ = new PlotCanvas(*this);
    setCentralWidget(canvas_);
    image_ = BlankImage(QSize(1, 1), palette().color(QPalette::Window));
    BuildMenu();
    for (size_t i = 0; i < kPlotLabelNumbers.size(); ++i)
        plotLabels_[i] = NewLabel(canvas_, QString("L%1").arg(kPlotLabelNumbers[i]));
    plotLabels_[static_cast<size_t>(PlotLabel::IntensityTitle)] = NewLabel(canvas_, "");
    BuildBottomControls();
    view_.Scroll().onPropertiesSet = [this] { MirrorScrollBar(); };
}

void frmPlot_Spectra::BuildMenu() {
    QMenu* mFile = menuBar()->addMenu("File");
    mFile->setObjectName("mFile");
    mSavePicture_ = mFile->addAction("Save Picture As ...");
    mSavePicture_->setObjectName("mSavePicture");
    mPrintsetup_ = mFile->addAction("Print Setup ...");
    mPrintsetup_->setObjectName("mPrintsetup");
    mPrint_ = mFile->addAction("Print");
    mPrint_->setObjectName("mPrint");
    mFile->addSeparator()->setObjectName("mydash");
    QAction* mExit = mFile->addAction("Exit");
    mExit->setObjectName("mExit");
    connect(mExit, &QAction::triggered, this, &frmPlot_Spectra::mExit_Click);

    BuildLinesMenu();
}

void frmPlot_Spectra::BuildLinesMenu() {
    mLines_ = menuBar()->addMenu("Lines");
    mLines_->setObjectName("mLines");
    for (const LineSet& set : LineSets()) {
        const std::string key(set.Key);
        QAction* item = mLines_->addAction(QString::fromUtf8(set.Caption.data(), static_cast<qsizetype>(set.Caption.size())));
        item->setObjectName(QString::fromStdString("mLine_" + key));
        item->setCheckable(true);
        // The choice lives in the workspace, so a reopened window shows it.
        item->setChecked(ws_.LineMarkSets.contains(key));
        connect(item, &QAction::toggled, this, [this, key](bool checked) { if (LineSetToggled(ws_, key, checked)) ui_.RedrawPlot(); });
    }
    mLines_->addSeparator();
    auto* medium = new QActionGroup(mLines_);
    for (const bool vacuum : {false, true}) {
        QAction* item = mLines_->addAction(vacuum ? "Vacuum Wavelengths" : "Air Wavelengths");
        item->setObjectName(vacuum ? "mLinesVacuum" : "mLinesAir");
        item->setCheckable(true);
        item->setChecked(ws_.LineMarksInVacuum == vacuum);
        medium->addAction(item);
        connect(item, &QAction::triggered, this, [this, vacuum] { if (LineMediumChosen(ws_, vacuum)) ui_.RedrawPlot(); });
    }
}

void frmPlot_Spectra::BuildBottomControls() {
    for (size_t i = 0; i < kBottomControls.size(); ++i) {
        const BottomPlace& place = kBottomControls[i];
        const QString caption = QString::fromUtf8(place.Caption.data(), static_cast<qsizetype>(place.Caption.size()));
        QWidget* control = nullptr;
        switch (place.Control) {
            case BottomControl::Label7:
            case BottomControl::Label10: {
                QLabel* readout = NewLabel(canvas_, caption);
                readout->setAutoFillBackground(true);
                QPalette white = readout->palette();
                white.setColor(QPalette::Window, Qt::white);
                white.setColor(QPalette::WindowText, Qt::black);
                readout->setPalette(white);
                (place.Control == BottomControl::Label7 ? label7_ : label10_) = readout;
                control = readout;
                break;
            }
            case BottomControl::HScroll1:
                hscroll1_ = new QScrollBar(Qt::Horizontal, canvas_);
                control = hscroll1_;
                break;
            case BottomControl::Command1:
            case BottomControl::Command2:
            case BottomControl::Command3: {
                auto* button = new QPushButton(caption, canvas_);
                button->setFocusPolicy(Qt::NoFocus);
                if (place.Control == BottomControl::Command1) command1_ = button;
                if (place.Control == BottomControl::Command2) command2_ = button;
                if (place.Control == BottomControl::Command3) command3_ = button;
                control = button;
                break;
            }
            default:
                control = NewLabel(canvas_, caption);
        }
        bottom_[i] = control;
    }
    connect(command1_, &QPushButton::clicked, this, [this] { view_.ZoomIn(); });
    connect(command2_, &QPushButton::clicked, this, [this] { view_.ZoomOut(); });
    connect(command3_, &QPushButton::clicked, this, [this] { view_.FullRange(); });
    // Dragging raises the scroll event per step and the change event on
    // release; clicks, keys and the wheel change the position directly.
    connect(hscroll1_, &QScrollBar::sliderMoved, this, [this](int v) { view_.Scroll().Drag(v); });
    connect(hscroll1_, &QScrollBar::sliderReleased, this, [this] { view_.Scroll().Release(); });
    connect(hscroll1_, &QScrollBar::valueChanged, this, [this](int v) {
        if (!hscroll1_->isSliderDown()) view_.Scroll().SetValue(v);
    });
    MirrorScrollBar();
}

void frmPlot_Spectra::MirrorScrollBar() {
    const ScrollBar& bar = view_.Scroll();
    const QSignalBlocker block(hscroll1_);
    hscroll1_->setRange(std::min(bar.Min(), bar.Max()), std::max(bar.Min(), bar.Max()));
    hscroll1_->setValue(bar.Value());
    hscroll1_->setSingleStep(bar.SmallChange());
    hscroll1_->setPageStep(bar.LargeChange());
}

QMargins frmPlot_Spectra::Frame() const {
    const QMargins own = FrameOf(*this);
    if (!own.isNull()) return own;
    // Until the window system has framed this window, a framed window of the
    // program tells how thick the frame will be.
    for (const QWidget* other : QApplication::topLevelWidgets()) {
        if (other == this || !other->isVisible()) continue;
        const QMargins frame = FrameOf(*other);
        if (!frame.isNull()) return frame;
    }
    return own;
}

double frmPlot_Spectra::OuterWidthTwips() const {
    const QMargins frame = Frame();
    return PixelsToTwips(width() + frame.left() + frame.right());
}

void frmPlot_Spectra::Form_Load() {
    ws_.PlotSpan = ws_.PlotRight - ws_.PlotLeft;
    view_.SyncHScroll();

    MoveOuterTwips(*this, ws_.PlotWinLeft, ws_.PlotWinTop);
    openingSize_ = QSize(TwipsToPixels(OpenedWidth(ws_.PlotWinWidth)), TwipsToPixels(OpenedHeight(ws_.PlotWinHeight)));
    openingFrame_ = Frame();
    FitOuterSize(openingFrame_);
    KeepOnScreen(*this);
    PlaceBottomControls();

    if (!offsetCaption_) return;
    for (int i = 1; i <= ws_.NumSlots; ++i)
        if (ws_.slot(i).Loaded) offsetCaption_(i, WithoutLeadingBlanks(PlainNumberText(ws_.slot(i).Offset)));
}

void frmPlot_Spectra::FitOuterSize(const QMargins& frame) {
    const QSize frameSize(frame.left() + frame.right(), frame.top() + frame.bottom());
    setMinimumSize(QSize(TwipsToPixels(kPlotWinMinWidth), TwipsToPixels(kPlotWinMinHeight)) - frameSize);
    resize(openingSize_ - frameSize);
}

void frmPlot_Spectra::PlaceBottomControls() {
    const int height = OpenedHeight(ws_.PlotWinHeight);
    for (size_t i = 0; i < kBottomControls.size(); ++i) {
        const BottomPlace& place = kBottomControls[i];
        bottom_[i]->setGeometry(PixelRect(place.Left, place.Top(height), place.Width, place.Height));
    }
}

void frmPlot_Spectra::Form_Resize() {
    if (ws_.Drawing || !ws_.DataReady) return;
    const QMargins frame = Frame();
    ws_.PlotWinWidth = SizeTwips(PixelsToTwips(width() + frame.left() + frame.right()));
    ws_.PlotWinHeight = SizeTwips(PixelsToTwips(height() + frame.top() + frame.bottom()));
    Cls();
    ui_.RedrawPlot();
    PlaceBottomControls();
}

void frmPlot_Spectra::resizeEvent(QResizeEvent* event) {
    QMainWindow::resizeEvent(event);
    Form_Resize();
}

void frmPlot_Spectra::Form_MouseMove(float x, float y) {
    const CursorReadout readout = ReadCursor(ws_, layout_, x, y);
    canvas_->setCursor(readout.Pointer == MousePointer::Cross ? Qt::CrossCursor : Qt::ArrowCursor);
    if (!readout.Inside) return;
    label7_->setText(QString::fromStdString(readout.WavelengthCaption));
    label10_->setText(QString::fromStdString(readout.IntensityCaption));
}

void frmPlot_Spectra::Form_Unload() {
    const QRect outer = geometry().marginsAdded(Frame());
    ws_.PlotWinLeft = StoredTwips(PixelsToTwips(outer.left()));
    ws_.PlotWinTop = StoredTwips(PixelsToTwips(outer.top()));
    ws_.PlotWinWidth = SizeTwips(PixelsToTwips(outer.width()));
    ws_.PlotWinHeight = SizeTwips(PixelsToTwips(outer.height()));
    ws_.PlotShown = false;
}

void frmPlot_Spectra::closeEvent(QCloseEvent* event) {
    Form_Unload();
    event->accept();
    emit unloaded();
}

void frmPlot_Spectra::mExit_Click() { hide(); }

void frmPlot_Spectra::ShowWindow() {
    show();
    raise();
    // Where the frame only became known on showing, the opening size is
    // made good once, so that the outer frame has the stored size.
    if (openingSize_.isEmpty()) return;
    const QMargins frame = Frame();
    if (frame != openingFrame_) FitOuterSize(frame);
    openingSize_ = QSize();
}

void frmPlot_Spectra::Cls() {
    if (image_.size() != canvas_->size())
        image_ = BlankImage(canvas_->size(), palette().color(QPalette::Window));
    else
        image_.fill(palette().color(QPalette::Window));
}

void frmPlot_Spectra::ShowLayout(const PlotLayout& layout) {
    layout_ = layout;
    for (const auto& [label, placed] : layout.labels) {
        QLabel* widget = PlotLabelWidget(label);
        widget->setText(QString::fromStdString(placed.caption));
        widget->adjustSize();
        widget->move(TwipsToPixels(placed.left), TwipsToPixels(placed.top));
    }
}

void frmPlot_Spectra::Repaint() { canvas_->update(); }

QWidget* frmPlot_Spectra::Canvas() const { return canvas_; }

QLabel* frmPlot_Spectra::PlotLabelWidget(PlotLabel label) const {
    return plotLabels_[static_cast<size_t>(label)];
}

}  // namespace wendrel
