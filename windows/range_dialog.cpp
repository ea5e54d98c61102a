#include "windows/range_dialog.h"

#include <QDialog>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLineEdit>
#include <algorithm>

namespace wendrel {

std::optional<std::pair<QString, QString>> AskRange(QWidget* parent, const QString& title, const QString& lowName,
                                                    const QString& highName, const QString& low, const QString& high) {
    QDialog dialog(parent);
    dialog.setWindowTitle(title);
    auto* form = new QFormLayout(&dialog);
    auto* lowField = new QLineEdit(low, &dialog);
    auto* highField = new QLineEdit(high, &dialog);
    lowField->setObjectName("low");
    highField->setObjectName("high");
    // Wide enough for either number and a few more digits typed.
    const QFontMetrics metrics(lowField->font());
    const int width = metrics.horizontalAdvance((low.size() > high.size() ? low : high) + "0000") + 16;
    for (QLineEdit* field : {lowField, highField}) field->setMinimumWidth(std::max(width, metrics.horizontalAdvance("0") * 12));
    form->addRow(lowName, lowField);
    form->addRow(highName, highField);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, &dialog);
    QObject::connect(buttons, &QDialogButtonBox::accepted, &dialog, &QDialog::accept);
    QObject::connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
    form->addRow(buttons);
    if (dialog.exec() != QDialog::Accepted) return std::nullopt;
    return std::pair(lowField->text(), highField->text());
}

}  // namespace wendrel
