#include "windows/plot_window.h"

#include <QApplication>
#include <QCloseEvent>
#include <QLabel>
#include <QMenu>
#include <QMouseEvent>
#include <QPainter>
#include <QPushButton>
#include <QRubberBand>
#include <QScrollBar>
#include <QSignalBlocker>
#include <QWheelEvent>
#include <algorithm>
#include <cmath>

#include "plot/cursor_readout.h"
#include "plot/number_format.h"
#include "plot/plot_layout.h"
#include "plot/span_fit.h"
#include "plot/span_measurement.h"
#include "windows/measure_panel.h"
#include "windows/outer_frame.h"
#include "windows/twips.h"

namespace wendrel {

// The drawing surface: shows the plot's image and reports the mouse.
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
        if (event->buttons() & Qt::LeftButton) window_.MouseDrag(event->position());
    }
    void mousePressEvent(QMouseEvent* event) override {
        if (event->button() == Qt::LeftButton) window_.MouseDown(event->position(), event->modifiers());
        if (event->button() == Qt::RightButton) window_.LegendMenu(event->position(), event->globalPosition().toPoint());
    }
    void mouseReleaseEvent(QMouseEvent* event) override {
        if (event->button() == Qt::LeftButton) window_.MouseUp(event->position());
    }
    void wheelEvent(QWheelEvent* event) override {
        window_.WheelTurned(event->position(), event->angleDelta().y() / 120.0);
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

// A press on the legend moved far enough to drag it rather than click it.
bool LegendMovedBy(QPointF moved) {
    return std::abs(moved.x()) >= kClickPixels || std::abs(moved.y()) >= kClickPixels;
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

// A read-out: black on white.
QLabel* NewReadout(QWidget* parent) {
    QLabel* readout = NewLabel(parent, "");
    readout->setAutoFillBackground(true);
    QPalette white = readout->palette();
    white.setColor(QPalette::Window, Qt::white);
    white.setColor(QPalette::WindowText, Qt::black);
    readout->setPalette(white);
    return readout;
}

QImage BlankImage(QSize size, const QColor& background) {
    QImage image(size.expandedTo(QSize(1, 1)), QImage::Format_RGB32);
    image.fill(background);
    return image;
}

}  // namespace

frmPlot_Spectra::frmPlot_Spectra(Workspace& ws, UiHooks& ui, OffsetCaptionHandler offsetCaption)
    : ws_(ws), ui_(ui), offsetCaption_(std::move(offsetCaption)), view_(ws, [&ui] { ui.RedrawPlot(); }, [this] { return drawing_; }) {
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

void frmPlot_Spectra::BuildBottomControls() {
    for (size_t i = 0; i < kBottomControls.size(); ++i) {
        const BottomPlace& place = kBottomControls[i];
        const QString caption = QString::fromUtf8(place.Caption.data(), static_cast<qsizetype>(place.Caption.size()));
        QWidget* control = nullptr;
        switch (place.Control) {
            case BottomControl::Label7:
            case BottomControl::Label10:
                control = (place.Control == BottomControl::Label7 ? label7_ : label10_) = NewReadout(canvas_);
                break;
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
    label12_ = NewReadout(canvas_);
    band_ = new QRubberBand(QRubberBand::Rectangle, canvas_);
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

PlotArea frmPlot_Spectra::DrawnArea() const {
    return {OpenedWidth(ws_.Config.PlotWinWidth), OpenedHeight(ws_.Config.PlotWinHeight), OuterWidthTwips()};
}

void frmPlot_Spectra::Form_Load() {
    view_.SyncHScroll();

    MoveOuterTwips(*this, ws_.Config.PlotWinLeft, ws_.Config.PlotWinTop);
    openingSize_ = QSize(TwipsToPixels(OpenedWidth(ws_.Config.PlotWinWidth)), TwipsToPixels(OpenedHeight(ws_.Config.PlotWinHeight)));
    openingFrame_ = Frame();
    FitOuterSize(openingFrame_);
    KeepOnScreen(*this);
    PlaceBottomControls();

    if (!offsetCaption_) return;
    for (int i = 1; i <= ws_.NumSlots; ++i)
        if (ws_.slot(i).Loaded()) offsetCaption_(i, WithoutLeadingBlanks(PlainNumberText(ws_.slot(i).Offset)));
}

void frmPlot_Spectra::FitOuterSize(const QMargins& frame) {
    const QSize frameSize(frame.left() + frame.right(), frame.top() + frame.bottom());
    setMinimumSize(QSize(TwipsToPixels(kPlotWinMinWidth), TwipsToPixels(kPlotWinMinHeight)) - frameSize);
    resize(openingSize_ - frameSize);
}

void frmPlot_Spectra::PlaceBottomControls() {
    const int height = OpenedHeight(ws_.Config.PlotWinHeight);
    for (size_t i = 0; i < kBottomControls.size(); ++i) {
        const BottomPlace& place = kBottomControls[i];
        bottom_[i]->setGeometry(PixelRect(place.Left, place.Top(height), place.Width, place.Height));
    }
    const BottomPlace curve = CurveReadoutPlace(OpenedWidth(ws_.Config.PlotWinWidth));
    label12_->setGeometry(PixelRect(curve.Left, curve.Top(height), curve.Width, curve.Height));
}

void frmPlot_Spectra::Form_Resize() {
    if (drawing_ || !ws_.DataReady) return;
    const QMargins frame = Frame();
    ws_.Config.PlotWinWidth = SizeTwips(PixelsToTwips(width() + frame.left() + frame.right()));
    ws_.Config.PlotWinHeight = SizeTwips(PixelsToTwips(height() + frame.top() + frame.bottom()));
    Cls();
    ui_.RedrawPlot();
    PlaceBottomControls();
}

void frmPlot_Spectra::resizeEvent(QResizeEvent* event) {
    QMainWindow::resizeEvent(event);
    Form_Resize();
}

void frmPlot_Spectra::Form_MouseMove(float x, float y) {
    const CursorReadout readout = ReadCursor(ws_, layout_, x, y, TwipsPerPixel());
    canvas_->setCursor(readout.Pointer == MousePointer::Cross ? Qt::CrossCursor : Qt::ArrowCursor);
    if (!readout.Inside) return;
    label7_->setText(QString::fromStdString(readout.WavelengthCaption));
    label10_->setText(QString::fromStdString(readout.IntensityCaption));
    // The numbers always show whole; a name too long for the label is cut short to make room.
    curveShown_ = readout.CurveSlot ? ws_.slot(readout.CurveSlot).Data : nullptr;
    const QString numbers = QString::fromStdString(readout.CurveCaption.substr(readout.CurveName.size()));
    const QFontMetrics metrics(label12_->font());
    const int room = label12_->width() - 6 - metrics.horizontalAdvance(numbers);
    label12_->setText(metrics.elidedText(QString::fromStdString(readout.CurveName), Qt::ElideRight, std::max(0, room)) +
                      numbers);
}

void frmPlot_Spectra::MouseDown(QPointF pixel, Qt::KeyboardModifiers modifiers) {
    const double twips = TwipsPerPixel();
    if (!modifiers && LegendSlotAt(layout_, pixel.x() * twips, pixel.y() * twips) != 0) {
        legendDrag_ = LegendDrag{pixel, layout_.legendLeft, layout_.legendTop};
        return;
    }
    if (!ReadCursor(ws_, layout_, float(pixel.x() * twips), float(pixel.y() * twips)).Inside) return;
    drag_ = Drag{DragKindFor(modifiers & Qt::ShiftModifier, modifiers & Qt::ControlModifier), pixel};
}

void frmPlot_Spectra::MouseDrag(QPointF pixel) {
    const double twips = TwipsPerPixel();
    if (legendDrag_) {
        const QPointF moved = pixel - legendDrag_->start;
        if (!LegendMovedBy(moved)) return;
        PlotLook& look = ws_.View.Look;
        look.LegendMoved = true;
        look.LegendLeft = legendDrag_->left + moved.x() * twips;
        look.LegendTop = legendDrag_->top + moved.y() * twips;
        ui_.RedrawPlot();
        return;
    }
    if (!drag_) return;
    const TwipsBand band = DragBand(layout_, drag_->kind, drag_->start.x() * twips, drag_->start.y() * twips,
                                    pixel.x() * twips, pixel.y() * twips);
    band_->setGeometry(QRect(QPoint(TwipsToPixels(band.left), TwipsToPixels(band.top)),
                             QPoint(TwipsToPixels(band.right), TwipsToPixels(band.bottom))));
    const QPointF moved = pixel - drag_->start;
    band_->setVisible(!IsClick(drag_->kind, int(moved.x()), int(moved.y())));
}

void frmPlot_Spectra::LegendMenu(QPointF pixel, QPoint global) {
    const int slot = LegendSlotAt(layout_, pixel.x() * TwipsPerPixel(), pixel.y() * TwipsPerPixel());
    if (slot == 0 || !legendMenu_) return;
    QMenu menu(this);
    legendMenu_(menu, slot);
    if (!menu.isEmpty()) menu.exec(global);
}

void frmPlot_Spectra::MouseUp(QPointF pixel) {
    if (legendDrag_) {
        const double twips = TwipsPerPixel();
        const QPointF start = legendDrag_->start;
        legendDrag_.reset();
        if (!LegendMovedBy(pixel - start)) ws_.View.PickedSlot = LegendSlotAt(layout_, start.x() * twips, start.y() * twips);
        return;
    }
    if (!drag_) return;
    const Drag drag = *drag_;
    drag_.reset();
    band_->hide();
    const double twips = TwipsPerPixel();
    const double x0 = drag.start.x() * twips, y0 = drag.start.y() * twips, x1 = pixel.x() * twips, y1 = pixel.y() * twips;
    const QPointF moved = pixel - drag.start;
    if (IsClick(drag.kind, int(moved.x()), int(moved.y()))) {
        ws_.View.PickedSlot = LegendSlotAt(layout_, x0, y0);
        Form_MouseMove(float(x1), float(y1));
        return;
    }
    switch (drag.kind) {
        case DragKind::Zoom:
            view_.ZoomToSpan(WavelengthAt(ws_, layout_, x0), WavelengthAt(ws_, layout_, x1));
            break;
        case DragKind::IntensityRange:
            if (SetIntensityRange(ws_, IntensityAt(layout_, y0), IntensityAt(layout_, y1))) ViewChanged();
            break;
        case DragKind::Measure:
        case DragKind::Fit:
            Measure(drag.kind, x0, y0, x1);
            break;
    }
}

void frmPlot_Spectra::Measure(DragKind kind, double x0, double y0, double x1) {
    const double from = WavelengthAt(ws_, layout_, x0), to = WavelengthAt(ws_, layout_, x1);
    const double at = IntensityAt(layout_, y0);
    // Before the panel first opens, its settings' defaults.
    if (kind == DragKind::Measure) {
        const int pixels = measurePanel_ ? measurePanel_->ContinuumPixels() : ContinuumChoice().PixelsEachSide;
        const SpanMeasurement measured = MeasureDraggedSpan(ws_, from, to, at, {pixels, {}});
        return ShowMeasurement(measured.Refusal, measured.Text, measured.Copied);
    }
    const LineProfile profile = measurePanel_ ? measurePanel_->Profile() : LineProfile::Gauss;
    const SpanFit fitted = FitDraggedSpan(ws_, from, to, at, profile, measurePanel_ ? measurePanel_->Components() : 1);
    ShowMeasurement(fitted.Refusal, fitted.Text, fitted.Copied);
}

void frmPlot_Spectra::MeasureAgain() {
    if (ws_.View.Measured.Slot == 0) return;
    if (ws_.View.Measured.FitCurves.empty()) {
        const SpanMeasurement measured = MeasureKeptSpan(ws_, {measurePanel_->ContinuumPixels(), {}});
        return ShowMeasurement(measured.Refusal, measured.Text, measured.Copied);
    }
    const SpanFit fitted = FitKeptSpan(ws_, measurePanel_->Profile(), measurePanel_->Components());
    ShowMeasurement(fitted.Refusal, fitted.Text, fitted.Copied);
}

void frmPlot_Spectra::ShowMeasurement(const std::string& refusal, const std::string& text, const std::string& copied) {
    if (!refusal.empty()) return ui_.ShowMessage(refusal);
    ui_.RedrawPlot();
    if (!measurePanel_) {
        measurePanel_ = new MeasurePanel(
            this,
            [this] {
                ws_.View.Measured = {};
                ui_.RedrawPlot();
            },
            [this] { MeasureAgain(); });
        // Below the plot, so that the measured span stays in sight.
        measurePanel_->move(frameGeometry().bottomLeft() + QPoint(0, 1));
    }
    measurePanel_->ShowText(QString::fromStdString(text), QString::fromStdString(copied));
    KeepOnScreen(*measurePanel_);
}

void frmPlot_Spectra::WheelTurned(QPointF pixel, double notches) {
    const double twips = TwipsPerPixel();
    if (notches == 0 || !ReadCursor(ws_, layout_, float(pixel.x() * twips), float(pixel.y() * twips)).Inside) return;
    // The 64-bit wavelength: narrow views need more digits than the read-out's 32 bits hold.
    view_.ZoomAbout(WavelengthAt(ws_, layout_, pixel.x() * twips), std::pow(kWheelZoomFactor, notches));
}

void frmPlot_Spectra::Form_Unload() {
    const QRect outer = geometry().marginsAdded(Frame());
    ws_.Config.PlotWinLeft = StoredTwips(PixelsToTwips(outer.left()));
    ws_.Config.PlotWinTop = StoredTwips(PixelsToTwips(outer.top()));
    ws_.Config.PlotWinWidth = SizeTwips(PixelsToTwips(outer.width()));
    ws_.Config.PlotWinHeight = SizeTwips(PixelsToTwips(outer.height()));
    ws_.View.Measured = {};
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
    // A spectrum unloaded or replaced is no longer named under the cursor.
    const auto shown = curveShown_.lock();
    if (!shown || std::ranges::none_of(ws_.Slots, [&](const Row& row) { return row.Data == shown; }))
        label12_->clear();
    SyncViewMenu();
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
