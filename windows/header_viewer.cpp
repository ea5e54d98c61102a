#include "windows/header_viewer.h"

#include <QCloseEvent>
#include <QFontDatabase>
#include <QFontMetrics>
#include <QPainter>
#include <QScrollBar>
#include <algorithm>
#include <cmath>

#include "store/rounding.h"
#include "store/workspace.h"
#include "windows/outer_frame.h"
#include "windows/twips.h"

namespace wendrel {
namespace {

// The largest fixed-width font whose lines fit the viewer's line pitch.
QFont CardFont(double pitchPixels) {
    QFont font = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    font.setStyleHint(QFont::Monospace);
    for (int size = std::max(1, static_cast<int>(pitchPixels)); size > 1; --size) {
        font.setPixelSize(size);
        if (QFontMetrics(font).lineSpacing() <= pitchPixels + 0.5) break;
    }
    return font;
}

}  // namespace

frmDisplayHdr::frmDisplayHdr(Workspace& ws) : ws_(ws), vscroll_(new QScrollBar(Qt::Vertical, this)) {
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle("Display Fits Hdr - 2D Spectrum");
    setAutoFillBackground(true);
    cardFont_ = CardFont(LinePitchPixels());
    vscroll_->setFocusPolicy(Qt::StrongFocus);  // paged with the keys, which Qt's bars do not take by default
    vscroll_->setSingleStep(kHdrSmallStep);
    vscroll_->setPageStep(kHdrLargeStep);
    connect(vscroll_, &QScrollBar::valueChanged, this, [this] { VScroll1_Change(); });
    Form_Load();
}

double frmDisplayHdr::LinePitchPixels() const { return kMetrics.LineHeight / TwipsPerPixel(); }

int frmDisplayHdr::NumCards() const {
    const Row& slot = ws_.slot(ws_.CurSlot);
    if (!slot.Loaded()) return 0;
    return std::clamp(slot->NumCards, 0, static_cast<int>(slot->HdrCard.size()));
}

void frmDisplayHdr::Form_Load() {
    loading_ = true;
    winId();  // the window system's frame is known from here on
    SetOuterSizeTwips(*this, ws_.Config.HdrWidth, ws_.Config.HdrHeight);
    MoveOuterTwips(*this, ws_.Config.HdrLeft, ws_.Config.HdrTop);
    KeepOnScreen(*this);

    const int lines = HdrLinesTruncated(ws_.Config.HdrHeight, kMetrics);
    const HdrScrollRange range = HdrOpeningScroll(NumCards(), lines);
    vscroll_->setRange(range.Minimum, range.Maximum);
    vscroll_->setValue(range.Value);
    loading_ = false;
}

void frmDisplayHdr::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    Form_Resize();
}

void frmDisplayHdr::Form_Resize() {
    if (loading_) return;
    const QRectF outer = OuterGeometryTwips(*this);
    ws_.Config.HdrWidth = Nearest16(outer.width());
    ws_.Config.HdrHeight = Nearest16(outer.height());

    const int numCards = NumCards();
    const HdrResizeLayout layout = HdrResizeFor(numCards, outer.width(), outer.height(), kMetrics);

    // The bar stays inside the client area whatever the frame's size.
    const int barWidth = TwipsToPixels(kHdrScrollWidth);
    const int barLeft = std::min(TwipsToPixels(layout.ScrollLeft), width() - barWidth);
    const int barHeight = std::clamp(TwipsToPixels(layout.ScrollHeight), 0, height());
    vscroll_->setGeometry(barLeft, 0, barWidth, barHeight);

    if (layout.ScrollVisible) {
        vscroll_->show();
    } else {
        vscroll_->hide();
        const QSize before = size();
        SetOuterSizeTwips(*this, outer.width(), layout.NewOuterHeight, true);
        // Lay out again at the new height; while the window is being shown
        // Qt sends no resize event for this change.
        if (size() != before) return Form_Resize();
    }

    vscroll_->setRange(layout.Minimum, layout.Maximum);
    Cls();
    WriteCards(HdrResizePage(numCards, layout.Lines, vscroll_->value(), vscroll_->minimum()));
}

void frmDisplayHdr::VScroll1_Change() {
    const int lines = HdrLinesNearest(OuterGeometryTwips(*this).height(), kMetrics);
    Cls();
    WriteCards(HdrScrollPage(NumCards(), lines, vscroll_->value(), vscroll_->minimum()));
}

void frmDisplayHdr::WriteAllCards() {
    Cls();
    WriteCards({1, NumCards()});
}

void frmDisplayHdr::closeEvent(QCloseEvent* event) {
    Form_Unload();
    event->accept();
}

void frmDisplayHdr::Form_Unload() {
    const QRectF outer = OuterGeometryTwips(*this);
    ws_.Config.HdrLeft = Nearest16(outer.left());
    ws_.Config.HdrTop = outer.top();
    ws_.Config.HdrWidth = Nearest16(outer.width());
    ws_.Config.HdrHeight = Nearest16(outer.height());
}

void frmDisplayHdr::Cls() {
    lines_.clear();
    update();
}

void frmDisplayHdr::WriteCards(const CardPage& page) {
    const Row& slot = ws_.slot(ws_.CurSlot);
    const int last = std::min(page.Last, NumCards());
    for (int k = std::max(page.First, 1); k <= last; ++k) lines_.push_back(slot->HdrCard[static_cast<size_t>(k - 1)]);
    update();
}

void frmDisplayHdr::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setFont(cardFont_);
    painter.setPen(palette().color(QPalette::WindowText));
    const int ascent = QFontMetrics(cardFont_).ascent();
    const double pitch = LinePitchPixels();
    for (size_t i = 0; i < lines_.size(); ++i) {
        const int top = static_cast<int>(std::lround(static_cast<double>(i) * pitch));
        if (top > height()) break;
        painter.drawText(0, top + ascent, QString::fromLatin1(lines_[i]));
    }
}

void HeaderViewerHost::HdrPressed(int slot) {
    ws_.CurSlot = slot;
    if (!ws_.slot(slot).Loaded()) return;
    viewer_.Show().WriteAllCards();
}

}  // namespace wendrel
