#include "windows/measure_panel.h"

#include <QClipboard>
#include <QFontDatabase>
#include <QGuiApplication>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace wendrel {

MeasurePanel::MeasurePanel(QWidget* parent, std::function<void()> closed) : QDialog(parent), closed_(std::move(closed)) {
    setObjectName("frmMeasure");
    setWindowTitle("Line Measurement");
    setModal(false);
    auto* layout = new QVBoxLayout(this);
    text_ = new QPlainTextEdit(this);
    text_->setReadOnly(true);
    text_->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    text_->setLineWrapMode(QPlainTextEdit::NoWrap);
    const QFontMetrics metrics(text_->font());
    text_->setMinimumSize(metrics.horizontalAdvance(QString(64, '0')), metrics.lineSpacing() * 11);
    layout->addWidget(text_);
    copy_ = new QPushButton("Copy", this);
    connect(copy_, &QPushButton::clicked, this, [this] { QGuiApplication::clipboard()->setText(Text()); });
    layout->addWidget(copy_, 0, Qt::AlignRight);
}

void MeasurePanel::ShowText(const QString& text) {
    text_->setPlainText(text);
    show();
    raise();
}

QString MeasurePanel::Text() const { return text_->toPlainText(); }

void MeasurePanel::reject() {
    QDialog::reject();
    if (closed_) closed_();
}

}  // namespace wendrel
