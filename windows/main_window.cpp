#include "windows/main_window.h"

#include <QCloseEvent>
#include <QInputDialog>
#include <QFontMetricsF>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QScrollBar>
#include <QSignalBlocker>
#include <cmath>
#include <functional>

#include "app/slot_rows.h"
#include "app/velocity_entry.h"
#include "store/rest_frame.h"
#include "windows/outer_frame.h"
#include "windows/twips.h"

namespace wendrel {
namespace {

constexpr double kMainClientWidth = 11505;
constexpr double kMainClientHeight = 7245;
const QColor kBackground(160, 224, 255);

void Place(QWidget* w, double left, double top, double width, double height) {
    w->setGeometry(TwipsToPixels(left), TwipsToPixels(top), TwipsToPixels(width), TwipsToPixels(height));
}

QLabel* MakeLabel(QWidget* parent, const QString& text, double left, double top, double width,
                  double height) {
    auto* label = new QLabel(text, parent);
    label->setTextFormat(Qt::PlainText);  // file names and OBJECT values are no markup
    Place(label, left, top, width, height);
    return label;
}

QColor SwatchColor(int slot, int32_t color) {
    if (slot == kMaxSlots) return Qt::black;
    return QColor(color & 0xFF, (color >> 8) & 0xFF, (color >> 16) & 0xFF);
}

void ShowSwatch(QLabel* swatch, int slot, int32_t color) {
    QPalette palette = swatch->palette();
    palette.setColor(QPalette::Window, SwatchColor(slot, color));
    swatch->setPalette(palette);
}

// A label that reports double-clicks (the velocity value asks for an exact value).
class DoubleClickLabel : public QLabel {
public:
    DoubleClickLabel(QWidget* parent, std::function<void()> onDoubleClick)
        : QLabel(parent), onDoubleClick_(std::move(onDoubleClick)) {}

protected:
    void mouseDoubleClickEvent(QMouseEvent*) override { onDoubleClick_(); }

private:
    std::function<void()> onDoubleClick_;
};

// A number in its label, in a smaller font when its digits would not fit
// the label's width: no digit is cut off.
void ShowNumberText(QLabel* label, const std::string& text) {
    const QString shown = QString::fromStdString(text);
    QFont font = label->parentWidget()->font();
    while (QFontMetricsF(font).horizontalAdvance(shown) > label->width() && font.pointSizeF() > 5)
        font.setPointSizeF(font.pointSizeF() - 0.5);
    label->setFont(font);
    label->setText(shown);
}

}  // namespace

frmMain_Wd01::frmMain_Wd01(Workspace& ws, UiHooks& ui, MainWindowActions actions)
    : ws_(ws), ui_(ui), actions_(std::move(actions)) {
    setWindowTitle("Wendrel");
    auto* client = new QWidget(this);
    client->setAutoFillBackground(true);
    QPalette palette = client->palette();
    palette.setColor(QPalette::Window, kBackground);
    client->setPalette(palette);
    client->setFixedSize(TwipsToPixels(kMainClientWidth), TwipsToPixels(kMainClientHeight));
    setCentralWidget(client);

    QLabel* title = MakeLabel(client, "Wendrel", 240, 120, 8295, 495);
    title->setAlignment(Qt::AlignCenter);
    QFont titleFont = title->font();
    titleFont.setPointSizeF(24);
    titleFont.setBold(false);
    title->setFont(titleFont);
    QPalette titlePalette = title->palette();
    titlePalette.setColor(QPalette::WindowText, QColor(128, 0, 0));
    title->setPalette(titlePalette);

    Command3 = new QPushButton("Plot Spectra", client);
    Place(Command3, 8640, 120, 2055, 375);
    connect(Command3, &QPushButton::clicked, this, &frmMain_Wd01::Command3_Click);

    MakeLabel(client, "Spectrum", 1080, 720, 855, 255);
    MakeLabel(client, "Filename", 2400, 720, 2295, 255);
    MakeLabel(client, "Object", 4800, 720, 1095, 255);
    MakeLabel(client, "Level", 6000, 720, 615, 255);
    MakeLabel(client, "Offset", 7080, 720, 855, 255);
    MakeLabel(client, "Velocity Shift (km/s)", 8640, 720, 1815, 255);

    for (int slot = 1; slot <= kMaxSlots; ++slot) BuildRow(slot);
    BuildMenus();
}

void frmMain_Wd01::BuildRow(int slot) {
    QWidget* client = centralWidget();
    Row& r = rows_.at(static_cast<size_t>(slot));
    const double y = 1080 + 600 * (slot - 1);
    const bool odd = slot % 2 == 1;

    r.Command1 = new QPushButton("Load", client);
    Place(r.Command1, 120, y - 120, 855, 495);
    connect(r.Command1, &QPushButton::clicked, this, [this, slot] { Command1_Click(slot); });

    r.Label4 = MakeLabel(client, QString::number(slot), 1080, y, 255, 255);

    r.Label3 = MakeLabel(client, QString(), 1440, y, 255, 255);
    r.Label3->setAutoFillBackground(true);
    ShowSwatch(r.Label3, slot, ws_.slot(slot).SlotColor);

    r.Command4 = new QPushButton("Hdr", client);
    Place(r.Command4, 1800, y, 495, 255);
    connect(r.Command4, &QPushButton::clicked, this, [this, slot] { Command4_Click(slot); });

    r.Label7 = MakeLabel(client, QString(), 2400, y, 2295, 255);
    r.Label8 = MakeLabel(client, QString(), 4800, y, 1095, 255);
    r.Label14 = MakeLabel(client, QString(), 6000, y, 615, 255);

    // The bars, which Qt leaves out of the focus chain, are reached with Tab
    // and moved with the keys, in the row's order from left to right.
    r.VScroll1 = new QScrollBar(Qt::Vertical, client);
    r.VScroll1->setFocusPolicy(Qt::StrongFocus);
    Place(r.VScroll1, odd ? 6720 : 7920, y - 360, 255, 975);
    r.VScroll1->setRange(-200, 60);
    r.VScroll1->setSingleStep(1);
    r.VScroll1->setPageStep(5);
    r.VScroll1->setValue(ws_.slot(slot).Offset);
    connect(r.VScroll1, &QScrollBar::valueChanged, this, [this, slot] { VScroll1_Change(slot); });

    r.Line10 = new QWidget(client);
    r.Line10->setAutoFillBackground(true);
    QPalette line = r.Line10->palette();
    line.setColor(QPalette::Window, Qt::black);
    r.Line10->setPalette(line);
    r.Line10->setGeometry(TwipsToPixels(odd ? 7680 : 6720), TwipsToPixels(y + 120), TwipsToPixels(1080), 2);

    r.Label10 = MakeLabel(client, QString(), odd ? 7080 : 8280, y, 495, 255);

    r.HScroll1 = new QScrollBar(Qt::Horizontal, client);
    r.HScroll1->setFocusPolicy(Qt::StrongFocus);
    Place(r.HScroll1, 8880, y, 975, 255);
    r.HScroll1->setRange(kMinVelocity, kMaxVelocity);
    r.HScroll1->setSingleStep(1);
    r.HScroll1->setPageStep(100);
    r.HScroll1->setValue(0);
    connect(r.HScroll1, &QScrollBar::valueChanged, this, [this, slot] { HScroll1_Change(slot); });

    r.Label12 = new DoubleClickLabel(client, [this, slot] { Label12_DblClick(slot); });
    Place(r.Label12, 9960, y, 495, 255);
    r.Label12->setToolTip("Double-click to type an exact velocity");

    r.Command2 = new QPushButton("Unload", client);
    Place(r.Command2, 10560, y, 735, 255);
    connect(r.Command2, &QPushButton::clicked, this, [this, slot] { Command2_Click(slot); });

    HideLoadedRow(slot);
}

void frmMain_Wd01::BuildMenus() {
    QMenu* mFile = menuBar()->addMenu("File");
    QAction* mOpen = mFile->addAction("Open ...");
    mOpen->setObjectName("mOpen");
    connect(mOpen, &QAction::triggered, this, [this] { actions_.openFiles(); });
    connect(mFile->addAction("Open Session ..."), &QAction::triggered, this, [this] { actions_.openSession(); });
    connect(mFile->addAction("Save Session As ..."), &QAction::triggered, this, [this] { actions_.saveSession(); });
    QMenu* mRecent = mFile->addMenu("Recent");
    connect(mRecent, &QMenu::aboutToShow, this, [this, mRecent] {
        mRecent->clear();
        const std::vector<std::string> entries = actions_.recentEntries();
        for (const std::string& entry : entries)
            connect(mRecent->addAction(QString::fromStdString(entry)), &QAction::triggered, this,
                    [this, entry] { actions_.openRecent(entry); });
        if (entries.empty()) mRecent->addAction("(none)")->setEnabled(false);
    });
    mFile->addSeparator();
    connect(mFile->addAction("Exit"), &QAction::triggered, this, &frmMain_Wd01::mExit_Click);

    QAction* mPrintSetup = menuBar()->addAction("Print Setup ...");
    mPrintSetup->setEnabled(false);  // printer setup belongs to the plot window's File menu

    QMenu* mHelp = menuBar()->addMenu("Help");
    connect(mHelp->addAction("Help - Intro"), &QAction::triggered, this, [this] { actions_.showHelp(); });
    mHelp->addSeparator();
    connect(mHelp->addAction("About"), &QAction::triggered, this, [this] { actions_.showAbout(); });
}

// The controls a row shows only while its slot is loaded, in the order a load shows them.
std::array<QWidget*, 10> frmMain_Wd01::LoadedRowControls(const Row& r) {
    return {r.Command4, r.Label7, r.Label8, r.Label14, r.VScroll1,
            r.Line10,   r.Label10, r.HScroll1, r.Label12, r.Command2};
}

void frmMain_Wd01::ShowLoadedRow(int slot) {
    Row& r = rows_.at(static_cast<size_t>(slot));
    for (QWidget* w : LoadedRowControls(r)) w->setVisible(true);
    const wendrel::Row& s = ws_.slot(slot);
    ShowSwatch(r.Label3, slot, s.SlotColor);
    r.Label7->setText(QString::fromStdString(s->FileName));
    r.Label8->setText(QString::fromStdString(s->ObjectName));
    ShowNumberText(r.Label14, LevelText(s->Level));
    r.Label10->setText(QString::number(s.Offset));
    // The load has set the slot's velocity to 0 already; the bar follows
    // without reporting a change.
    const QSignalBlocker quiet(r.HScroll1);
    r.HScroll1->setValue(VelocityBarPosition(s.Velocity));
    ShowNumberText(r.Label12, VelocityText(s.Velocity));
}

void frmMain_Wd01::HideLoadedRow(int slot) {
    const Row& r = rows_.at(static_cast<size_t>(slot));
    for (QWidget* w : LoadedRowControls(r)) w->setVisible(false);
}

void frmMain_Wd01::SetUpOffsetBars() {
    for (int slot = 1; slot <= ws_.NumSlots; ++slot) {
        QScrollBar* bar = rows_.at(static_cast<size_t>(slot)).VScroll1;
        const QSignalBlocker quiet(bar);
        bar->setMaximum(60);
        bar->setMinimum(-200);
        bar->setValue(ws_.slot(slot).Offset);
        bar->setSingleStep(1);
        bar->setPageStep(5);
        rows_.at(static_cast<size_t>(slot)).Label10->setText(QString::number(ws_.slot(slot).Offset));
    }
}

void frmMain_Wd01::SetOffsetCaption(int slot, const QString& caption) {
    rows_.at(static_cast<size_t>(slot)).Label10->setText(caption);
}

void frmMain_Wd01::Command1_Click(int index) {
    LoadPressed(ws_, index);
    actions_.showFileChooser();
}

void frmMain_Wd01::Command2_Click(int index) { UnloadSlot(ws_, index, ui_); }

void frmMain_Wd01::Command3_Click() { PlotSpectra(ui_); }

void frmMain_Wd01::Command4_Click(int index) { actions_.pressHdr(index); }

void frmMain_Wd01::VScroll1_Change(int index) {
    const Row& r = rows_.at(static_cast<size_t>(index));
    OffsetChanged(ws_, index, r.VScroll1->value(), ui_);
    r.Label10->setText(QString::number(ws_.slot(index).Offset));
}

void frmMain_Wd01::HScroll1_Change(int index) {
    const Row& r = rows_.at(static_cast<size_t>(index));
    VelocityChanged(ws_, index, r.HScroll1->value(), ui_);
    ShowNumberText(r.Label12, VelocityText(ws_.slot(index).Velocity));
}

void frmMain_Wd01::Label12_DblClick(int index) {
    const Row& r = rows_.at(static_cast<size_t>(index));
    const double velocity = ws_.slot(index).Velocity;
    bool ok = false;
    const QString text = QInputDialog::getText(
        this, "Velocity Shift",
        QString("Radial velocity of spectrum %1 in km/s (positive when moving away), or its redshift as "
                "z=0.0123:").arg(index),
        QLineEdit::Normal, QString::number(velocity, 'f', QLocale::FloatingPointShortest), &ok);
    if (!ok) return;
    const TypedVelocity typed = ParseVelocity(text.toStdString());
    if (!typed.error.empty()) {
        ui_.ShowMessage(typed.error);
        return;
    }
    VelocityTyped(ws_, index, typed.velocity, ui_);
    // The bar only shows where the velocity lies: its whole value must not replace the typed one.
    const QSignalBlocker quiet(r.HScroll1);
    r.HScroll1->setValue(VelocityBarPosition(typed.velocity));
    ShowNumberText(r.Label12, VelocityText(typed.velocity));
}

void frmMain_Wd01::mExit_Click() { close(); }

void frmMain_Wd01::closeEvent(QCloseEvent* event) {
    event->accept();
    if (shuttingDown_) return;
    shuttingDown_ = true;
    actions_.shutDown();
}

void frmMain_Wd01::contextMenuEvent(QContextMenuEvent* event) {
    const QPoint at = centralWidget()->mapFrom(this, event->pos());
    for (int slot = 1; slot <= kMaxSlots; ++slot) {
        const int top = TwipsToPixels(1080 + 600 * (slot - 1) - 120);
        if (at.y() < top || at.y() >= top + TwipsToPixels(600)) continue;
        if (!ws_.slot(slot).Loaded() || !actions_.rowMenu) return;
        QMenu menu(this);
        actions_.rowMenu(menu, slot);
        if (!menu.isEmpty()) menu.exec(event->globalPos());
        return;
    }
}

}  // namespace wendrel
