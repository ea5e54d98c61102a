#include "windows/help_window.h"

#include <QCloseEvent>
#include <QLabel>
#include <QTextBrowser>

#include "app/help_reference.h"
#include "store/rounding.h"
#include "store/workspace.h"
#include "windows/outer_frame.h"
#include "windows/twips.h"

namespace wendrel {
namespace {

constexpr double kHelpMinWidth = 2000;

}  // namespace

frmHelp::frmHelp(Workspace& ws) : ws_(ws), title_(new QLabel(this)), reference_(new QTextBrowser(this)) {
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle("Help");
    // The layout divides by the width less 500 twips; keep well clear of that.
    setMinimumWidth(TwipsToPixels(kHelpMinWidth));

    QFont titleFont("Arial");
    titleFont.setStyleHint(QFont::SansSerif);
    titleFont.setPointSizeF(15.75);
    titleFont.setBold(true);
    title_->setFont(titleFont);
    title_->setAlignment(Qt::AlignCenter);
    QPalette titlePalette = title_->palette();
    titlePalette.setColor(QPalette::WindowText, QColor(192, 0, 0));
    title_->setPalette(titlePalette);

    QFont paragraphFont("Sans Serif");
    paragraphFont.setStyleHint(QFont::SansSerif);
    paragraphFont.setPointSizeF(8.25);
    paragraphFont.setBold(true);
    for (QLabel*& label : paragraphs_) {
        label = new QLabel(this);
        label->setFont(paragraphFont);
        label->setWordWrap(true);
        label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    }
    reference_->setObjectName("reference");
    reference_->setOpenLinks(false);
    reference_->setMarkdown(QString::fromStdString("## Reference\n\n" + HelpReference()));
    Form_Load();
}

void frmHelp::Form_Load() {
    winId();  // the window system's frame is known from here on
    SetOuterSizeTwips(*this, ws_.Config.HelpWidth, ws_.Config.HelpHeight);
    MoveOuterTwips(*this, ws_.Config.HelpLeft, ws_.Config.HelpTop);
    title_->setText("Help - Wendrel");
    for (size_t i = 0; i < paragraphs_.size(); ++i)
        paragraphs_[i]->setText(QString::fromLatin1(HelpParagraphs()[i]));
    loaded_ = true;
    Form_Resize();
    KeepOnScreen(*this);
}

void frmHelp::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    Form_Resize();
}

void frmHelp::Form_Resize() {
    if (!loaded_) return;
    const QRectF outer = OuterGeometryTwips(*this);
    const HelpLayout layout = HelpLayoutFor(outer.width());

    SetOuterSizeTwips(*this, outer.width(), layout.WindowHeight + kHelpReferenceHeight);

    const int left = TwipsToPixels(kHelpLabelLeft);
    const int labelWidth = std::max(0, TwipsToPixels(layout.LabelWidth));
    title_->setGeometry(left, TwipsToPixels(kHelpTitleTop), labelWidth, TwipsToPixels(kHelpTitleHeight));

    // Each paragraph reaches down to the next one (the last to the reference
    // below), so that no two paragraphs are drawn over each other.
    const int referenceTop = height() - TwipsToPixels(kHelpReferenceHeight);
    for (size_t i = 0; i < paragraphs_.size(); ++i) {
        const int top = TwipsToPixels(layout.Tops[i]);
        const int bottom = i + 1 < paragraphs_.size() ? TwipsToPixels(layout.Tops[i + 1]) : referenceTop;
        paragraphs_[i]->setGeometry(left, top, labelWidth, std::max(0, bottom - top));
    }
    reference_->setGeometry(left, referenceTop, labelWidth, std::max(0, height() - referenceTop - left));
}

void frmHelp::closeEvent(QCloseEvent* event) {
    Form_Unload();
    event->accept();
}

void frmHelp::Form_Unload() {
    const QRectF outer = OuterGeometryTwips(*this);
    ws_.Config.HelpLeft = Nearest16(outer.left());
    ws_.Config.HelpTop = Nearest16(outer.top());
    ws_.Config.HelpWidth = Nearest16(outer.width());
    ws_.Config.HelpHeight = Nearest16(outer.height());
}

}  // namespace wendrel
