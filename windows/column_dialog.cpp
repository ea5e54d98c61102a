#include "windows/column_dialog.h"

#include <QComboBox>
#include <QDialog>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>

#include "app/column_choice.h"

namespace wendrel {

std::optional<ColumnChoice> AskTableColumns(QWidget* parent, const std::string& fileName,
                                            const std::vector<TableColumn>& columns) {
    QDialog dialog(parent);
    dialog.setWindowTitle("Choose Columns");
    auto* form = new QFormLayout(&dialog);
    auto* question = new QLabel(QString::fromStdString("The table in \"" + fileName +
                                                       "\" has no columns of the names this program looks for. "
                                                       "Which columns hold the wavelength and the flux?"),
                                &dialog);
    question->setTextFormat(Qt::PlainText);
    question->setWordWrap(true);
    form->addRow(question);
    const ColumnPreselection preselected = PreselectColumns(columns);
    const auto list = [&](const char* objectName, size_t selected) {
        auto* combo = new QComboBox(&dialog);
        combo->setObjectName(objectName);
        for (const TableColumn& c : columns) combo->addItem(QString::fromStdString(ColumnLabel(c)));
        combo->setCurrentIndex(static_cast<int>(selected));
        return combo;
    };
    QComboBox* wavelength = list("wavelength", preselected.wavelength);
    QComboBox* flux = list("flux", preselected.flux);
    form->addRow("Wavelength:", wavelength);
    form->addRow("Flux:", flux);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, &dialog);
    QObject::connect(buttons, &QDialogButtonBox::accepted, &dialog, &QDialog::accept);
    QObject::connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
    form->addRow(buttons);
    if (dialog.exec() != QDialog::Accepted || columns.empty()) return std::nullopt;
    return ColumnChoice{columns[static_cast<size_t>(wavelength->currentIndex())].name,
                        columns[static_cast<size_t>(flux->currentIndex())].name, {}};
}

}  // namespace wendrel
