#include "windows/velocity_axis_dialog.h"

#include <QComboBox>
#include <QDialog>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QLocale>

#include "app/velocity_axis_rows.h"
#include "plot/x_axis_mapping.h"

namespace wendrel {

namespace {

// An editable list of the Lines menu's lines, showing `rest` (nothing for 0).
QComboBox* RestChooser(QWidget* parent, const std::vector<PickableLine>& lines, double rest) {
    auto* box = new QComboBox(parent);
    box->setEditable(true);
    box->setInsertPolicy(QComboBox::NoInsert);
    for (const PickableLine& line : lines) box->addItem(QString::fromStdString(line.Caption), line.Wavelength);
    box->setCurrentIndex(-1);
    box->setEditText(rest > 0 ? QString::number(rest, 'f', QLocale::FloatingPointShortest) : QString());
    box->setMinimumContentsLength(18);
    return box;
}

// The chooser's rest wavelength: a picked line's, else the typed one.
std::string ChosenRest(const QComboBox* box, double& rest) {
    const int picked = box->findText(box->currentText());
    if (picked >= 0) return (rest = box->itemData(picked).toDouble(), std::string());
    return ReadVelocityRest(box->currentText().toStdString(), rest);
}

}  // namespace

std::optional<VelocityAxisAnswer> AskVelocityAxisRests(QWidget* parent, const Workspace& ws, std::string& refusal) {
    QDialog dialog(parent);
    dialog.setWindowTitle("Velocity Axis");
    auto* form = new QFormLayout(&dialog);
    const QString medium = ws.View.LineMarksInVacuum ? "vacuum" : "air";
    auto* about = new QLabel("The x axis shows velocities in km/s about a rest wavelength in Angstroms (" + medium +
                                 ", as the Lines menu shows), each spectrum in its rest frame; empty or 0 shows "
                                 "wavelengths. Type one or pick a line.",
                             &dialog);
    about->setWordWrap(true);
    form->addRow(about);
    const std::vector<PickableLine> lines = PickableLines(ws);
    const bool perRowNow = RestPerRow(ws.View);
    auto* allRows = new QRadioButton("The same for all rows", &dialog);
    auto* eachRow = new QRadioButton("One for each row", &dialog);
    allRows->setObjectName("allRows");
    eachRow->setObjectName("eachRow");
    (perRowNow ? eachRow : allRows)->setChecked(true);
    QComboBox* common = RestChooser(&dialog, lines, ws.View.VelocityRestLambda);
    common->setObjectName("commonRest");
    form->addRow(allRows, common);
    form->addRow(eachRow);
    std::vector<std::pair<int, QComboBox*>> rows;
    for (int slot = 1; slot <= kMaxSlots; ++slot) {
        const Row& s = ws.slot(slot);
        if (!s.Loaded()) continue;
        QComboBox* box = RestChooser(&dialog, lines, SlotRestLambda(ws.View, slot));
        box->setObjectName("rowRest" + QString::number(slot));
        form->addRow("Row " + QString::number(slot) + ": " + QString::fromStdString(s->FileName), box);
        rows.emplace_back(slot, box);
    }
    const auto follow = [&] {
        common->setEnabled(allRows->isChecked());
        for (const auto& [slot, box] : rows) box->setEnabled(eachRow->isChecked());
    };
    QObject::connect(allRows, &QRadioButton::toggled, &dialog, follow);
    follow();
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, &dialog);
    QObject::connect(buttons, &QDialogButtonBox::accepted, &dialog, &QDialog::accept);
    QObject::connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
    form->addRow(buttons);
    if (dialog.exec() != QDialog::Accepted) return std::nullopt;

    VelocityAxisAnswer answer;
    if (allRows->isChecked()) {
        refusal = ChosenRest(common, answer.Common);
        return refusal.empty() ? std::optional(answer) : std::nullopt;
    }
    // The first row with a rest wavelength gives the axis's; rows left empty take it.
    for (const auto& [slot, box] : rows) {
        double rest = 0;
        refusal = ChosenRest(box, rest);
        if (!refusal.empty()) {
            refusal = "Row " + std::to_string(slot) + ": " + refusal;
            return std::nullopt;
        }
        answer.PerRow.resize(static_cast<size_t>(slot));
        answer.PerRow[static_cast<size_t>(slot - 1)] = rest;
        if (answer.Common == 0) answer.Common = rest;
    }
    return answer;
}

}  // namespace wendrel
