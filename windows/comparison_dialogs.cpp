#include "windows/comparison_dialogs.h"

#include <QComboBox>
#include <QDialog>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLineEdit>
#include <QListWidget>
#include <QMainWindow>
#include <QMenuBar>
#include <QPushButton>
#include <algorithm>
#include <cmath>
#include <functional>

#include "app/row_combination.h"
#include "app/row_smoothing.h"
#include "app/velocity_search.h"

namespace wendrel {

namespace {

// A list of the loaded rows, "3  name.fits", each item's data its row.
QComboBox* RowChoice(QDialog* dialog, const Workspace& ws, const char* name, int preferred) {
    auto* box = new QComboBox(dialog);
    box->setObjectName(name);
    for (int row = 1; row <= kMaxSlots; ++row) {
        if (!ws.slot(row).Loaded()) continue;
        box->addItem(QString::number(row) + "  " + QString::fromStdString(ws.slot(row)->FileName), row);
        if (row == preferred) box->setCurrentIndex(box->count() - 1);
    }
    return box;
}

QDialogButtonBox* OkCancel(QDialog* dialog) {
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, dialog);
    QObject::connect(buttons, &QDialogButtonBox::accepted, dialog, &QDialog::accept);
    QObject::connect(buttons, &QDialogButtonBox::rejected, dialog, &QDialog::reject);
    return buttons;
}

std::optional<double> NumberOf(const QLineEdit* field) {
    bool ok = false;
    const double value = field->text().trimmed().toDouble(&ok);
    if (!ok || !std::isfinite(value)) return std::nullopt;
    return value;
}

}  // namespace

void AddComparisonMenus(QMainWindow* window, QMenu* view, Workspace& ws, UiHooks& ui) {
    view->addSeparator();
    QAction* smooth = view->addAction("Smooth ...");
    smooth->setObjectName("mSmooth");
    QObject::connect(smooth, &QAction::triggered, window, [window, &ws, &ui] { AskSmoothing(window, ws, ui); });

    QMenu* tools = window->menuBar()->addMenu("Tools");
    tools->setObjectName("mTools");
    const auto add = [&](const char* name, const char* caption, std::function<void()> command) {
        QAction* item = tools->addAction(caption);
        item->setObjectName(name);
        QObject::connect(item, &QAction::triggered, window, command);
    };
    add("mFindVelocities", "Find Velocities ...", [window, &ws, &ui] { RunFindVelocities(window, ws, ui); });
    add("mDivide", "Divide ...", [window, &ws, &ui] { AskCombination(window, ws, ui, RowCombination::Ratio); });
    add("mSubtract", "Subtract ...", [window, &ws, &ui] { AskCombination(window, ws, ui, RowCombination::Difference); });
}

void AskSmoothing(QWidget* parent, Workspace& ws, UiHooks& ui) {
    QDialog dialog(parent);
    dialog.setWindowTitle("Smooth");
    auto* form = new QFormLayout(&dialog);
    QComboBox* row = RowChoice(&dialog, ws, "row", ws.View.PickedSlot);
    auto* kind = new QComboBox(&dialog);
    kind->setObjectName("kind");
    kind->addItem("None", -1);
    kind->addItem("Boxcar (pixels)", static_cast<int>(SmoothingKernel::Boxcar));
    kind->addItem("Gaussian, FWHM in \u00c5", static_cast<int>(SmoothingKernel::GaussianAngstrom));
    kind->addItem("Gaussian, FWHM in km/s", static_cast<int>(SmoothingKernel::GaussianVelocity));
    kind->addItem("Median (pixels)", static_cast<int>(SmoothingKernel::Median));
    auto* width = new QLineEdit("5", &dialog);
    width->setObjectName("width");
    const auto showRow = [&] {
        const Row& r = ws.slot(row->currentData().toInt());
        if (!r.Loaded() || !r.Smoothed) return kind->setCurrentIndex(0);
        kind->setCurrentIndex(kind->findData(static_cast<int>(r.Smoothed->Kernel)));
        width->setText(QString::number(r.Smoothed->Width));
    };
    showRow();
    QObject::connect(row, &QComboBox::currentIndexChanged, &dialog, showRow);
    form->addRow("Row", row);
    form->addRow("Kernel", kind);
    form->addRow("Width", width);
    form->addRow(OkCancel(&dialog));
    if (dialog.exec() != QDialog::Accepted || row->count() == 0) return;
    const int slot = row->currentData().toInt();
    std::optional<Smoothing> how;
    if (kind->currentData().toInt() >= 0) {
        const std::optional<double> typed = NumberOf(width);
        if (!typed || !(*typed > 0))
            return ui.ShowMessage("The width \"" + width->text().toStdString() + "\" is not a positive number.");
        how = Smoothing{static_cast<SmoothingKernel>(kind->currentData().toInt()), *typed};
    }
    if (const std::string why = SmoothRowAndFollow(ws, slot, how, ui); !why.empty()) ui.ShowMessage(why);
}

void AskCombination(QWidget* parent, Workspace& ws, UiHooks& ui, RowCombination kind) {
    QDialog dialog(parent);
    const bool ratio = kind == RowCombination::Ratio;
    dialog.setWindowTitle(ratio ? "Divide" : "Subtract");
    auto* form = new QFormLayout(&dialog);
    QComboBox* a = RowChoice(&dialog, ws, "rowA", 0);
    QComboBox* b = RowChoice(&dialog, ws, "rowB", 0);
    if (b->count() > 1) b->setCurrentIndex(1);
    form->addRow(ratio ? "Divide row" : "From row", a);
    form->addRow(ratio ? "by row" : "subtract row", b);
    form->addRow(OkCancel(&dialog));
    if (dialog.exec() != QDialog::Accepted || a->count() == 0) return;
    const std::string why = CombineIntoNextRow(ws, {kind, a->currentData().toInt(), b->currentData().toInt()}, ui);
    if (!why.empty()) ui.ShowMessage(why);
}

void RunFindVelocities(QWidget* parent, Workspace& ws, UiHooks& ui) {
    QDialog dialog(parent);
    dialog.setWindowTitle("Find Velocities");
    auto* form = new QFormLayout(&dialog);
    QComboBox* templ = RowChoice(&dialog, ws, "template", 0);
    auto* rows = new QListWidget(&dialog);
    rows->setObjectName("rows");
    auto* low = new QLineEdit("-2000", &dialog);
    auto* high = new QLineEdit("30000", &dialog);
    low->setObjectName("low");
    high->setObjectName("high");
    auto* results = new QListWidget(&dialog);
    results->setObjectName("results");
    results->setMinimumWidth(520);
    auto* find = new QPushButton("Find", &dialog);
    find->setObjectName("find");
    auto* apply = new QPushButton("Apply", &dialog);
    apply->setObjectName("apply");
    apply->setEnabled(false);
    auto* close = new QDialogButtonBox(QDialogButtonBox::Close, &dialog);
    QObject::connect(close, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);

    const auto listRows = [&] {
        rows->clear();
        for (int row = 1; row <= kMaxSlots; ++row) {
            if (!ws.slot(row).Loaded() || row == templ->currentData().toInt()) continue;
            auto* item = new QListWidgetItem(QString::number(row) + "  " + QString::fromStdString(ws.slot(row)->FileName), rows);
            item->setData(Qt::UserRole, row);
            item->setFlags(item->flags() | Qt::ItemIsUserCheckable);
            item->setCheckState(Qt::Checked);
        }
    };
    listRows();
    QObject::connect(templ, &QComboBox::currentIndexChanged, &dialog, listRows);

    std::vector<FoundVelocity> found;
    QObject::connect(find, &QPushButton::clicked, &dialog, [&] {
        const auto lowKms = NumberOf(low), highKms = NumberOf(high);
        if (!lowKms || !highKms || !(*lowKms < *highKms))
            return ui.ShowMessage("The search range needs two velocities in km/s, the lower one first.");
        std::vector<int> chosen;
        for (int i = 0; i < rows->count(); ++i)
            if (rows->item(i)->checkState() == Qt::Checked) chosen.push_back(rows->item(i)->data(Qt::UserRole).toInt());
        found = FindVelocities(ws, templ->currentData().toInt(), chosen, {*lowKms, *highKms});
        results->clear();
        for (const FoundVelocity& f : found) results->addItem(QString::fromStdString(FoundVelocityText(ws, f)));
        apply->setEnabled(std::ranges::any_of(found, [](const FoundVelocity& f) { return f.Result.Refusal.empty(); }));
    });
    QObject::connect(apply, &QPushButton::clicked, &dialog, [&] {
        ApplyVelocities(ws, found, ui);
        apply->setEnabled(false);  // applied once; a new search finds them again
    });

    form->addRow("Template row", templ);
    form->addRow("Rows to measure", rows);
    form->addRow("Lowest velocity (km/s)", low);
    form->addRow("Highest velocity (km/s)", high);
    form->addRow(find);
    form->addRow("Velocities", results);
    form->addRow(apply);
    form->addRow(close);
    dialog.exec();
}

}  // namespace wendrel
