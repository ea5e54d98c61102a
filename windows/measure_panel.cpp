#include "windows/measure_panel.h"

#include <QClipboard>
#include <QComboBox>
#include <QFontDatabase>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QVBoxLayout>

namespace wendrel {

MeasurePanel::MeasurePanel(QWidget* parent, std::function<void()> closed, std::function<void()> changed)
    : QDialog(parent), closed_(std::move(closed)) {
    setObjectName("frmMeasure");
    setWindowTitle("Line Measurement");
    setModal(false);
    auto* layout = new QVBoxLayout(this);
    auto* settings = new QHBoxLayout;
    continuumPixels_ = new QSpinBox(this);
    continuumPixels_->setRange(1, 1000);
    continuumPixels_->setValue(ContinuumChoice().PixelsEachSide);
    profile_ = new QComboBox(this);
    profile_->addItems({"Gaussian", "Lorentzian", "Voigt"});
    components_ = new QSpinBox(this);
    components_->setRange(1, kMaxFitComponents);
    settings->addWidget(new QLabel("Continuum pixels each side:", this));
    settings->addWidget(continuumPixels_);
    settings->addSpacing(16);
    settings->addWidget(new QLabel("Fit:", this));
    settings->addWidget(components_);
    settings->addWidget(profile_);
    settings->addStretch();
    layout->addLayout(settings);
    // Changing a setting measures or fits the span again.
    connect(continuumPixels_, &QSpinBox::valueChanged, this, [changed] { changed(); });
    connect(components_, &QSpinBox::valueChanged, this, [changed] { changed(); });
    connect(profile_, &QComboBox::currentIndexChanged, this, [changed] { changed(); });

    text_ = new QPlainTextEdit(this);
    text_->setReadOnly(true);
    text_->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    text_->setLineWrapMode(QPlainTextEdit::NoWrap);
    const QFontMetrics metrics(text_->font());
    text_->setMinimumSize(metrics.horizontalAdvance(QString(96, '0')), metrics.lineSpacing() * 14);
    layout->addWidget(text_);
    copy_ = new QPushButton("Copy", this);
    connect(copy_, &QPushButton::clicked, this,
            [this] { QGuiApplication::clipboard()->setText(copied_); });
    layout->addWidget(copy_, 0, Qt::AlignRight);
}

void MeasurePanel::ShowText(const QString& text, const QString& copied) {
    text_->setPlainText(text);
    copied_ = copied;
    show();
    raise();
}

QString MeasurePanel::Text() const { return text_->toPlainText(); }

int MeasurePanel::ContinuumPixels() const { return continuumPixels_->value(); }
LineProfile MeasurePanel::Profile() const { return static_cast<LineProfile>(profile_->currentIndex()); }
int MeasurePanel::Components() const { return components_->value(); }

void MeasurePanel::reject() {
    QDialog::reject();
    if (closed_) closed_();
}

}  // namespace wendrel
