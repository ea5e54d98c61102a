#include "windows/picture_size_dialog.h"

#include <QComboBox>
#include <QDialog>
#include <QDialogButtonBox>
#include <QDoubleSpinBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QMessageBox>

namespace wendrel {

namespace {

QDoubleSpinBox* NumberBox(QWidget* parent, const char* name, double low, double high, int decimals, double value) {
    auto* box = new QDoubleSpinBox(parent);
    box->setObjectName(name);
    box->setRange(low, high);
    box->setDecimals(decimals);
    box->setValue(value);
    return box;
}

}  // namespace

std::optional<PictureRequest> AskPictureSize(QWidget* parent, const PictureRequest& offered) {
    QDialog dialog(parent);
    dialog.setWindowTitle("Picture Size");
    auto* width = NumberBox(&dialog, "width", 0, kMaxPicturePixels, 0, offered.width);
    auto* height = NumberBox(&dialog, "height", 0, kMaxPicturePixels, 0, offered.height);
    auto* unit = new QComboBox(&dialog);
    unit->setObjectName("unit");
    unit->addItems({"pixels", "inches"});
    auto* dpi = NumberBox(&dialog, "dpi", kMinPictureDpi, kMaxPictureDpi, 0, offered.dpi);
    auto* font = NumberBox(&dialog, "fontPoints", kMinFontPoints, kMaxFontPoints, 1, offered.fontPoints);
    auto* size = new QHBoxLayout;
    size->addWidget(width);
    size->addWidget(height);
    size->addWidget(unit);
    auto* form = new QFormLayout(&dialog);
    form->addRow("Width and height:", size);
    form->addRow("Dots per inch:", dpi);
    form->addRow("Font size (points):", font);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, &dialog);
    form->addRow(buttons);

    const auto inInches = [unit] { return unit->currentIndex() == 1; };
    const auto request = [&] {
        const auto pixels = [&](const QDoubleSpinBox* box) {
            return inInches() ? PixelsOfInches(box->value(), dpi->value()) : static_cast<int>(box->value());
        };
        return PictureRequest{pixels(width), pixels(height), dpi->value(), font->value()};
    };
    // The numbers shown change with the unit; the picture they describe does not.
    QObject::connect(unit, &QComboBox::currentIndexChanged, &dialog, [=](int index) {
        for (QDoubleSpinBox* box : {width, height}) {
            const double value = box->value();
            box->setDecimals(index == 1 ? 2 : 0);
            box->setMaximum(index == 1 ? kMaxPicturePixels / kMinPictureDpi : kMaxPicturePixels);
            box->setValue(index == 1 ? InchesOfPixels(static_cast<int>(value), dpi->value())
                                     : PixelsOfInches(value, dpi->value()));
        }
    });
    QObject::connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
    QObject::connect(buttons, &QDialogButtonBox::accepted, &dialog, [&] {
        const std::string problem = PictureRequestProblem(request());
        if (problem.empty()) return dialog.accept();
        QMessageBox::warning(&dialog, "Picture Size", QString::fromStdString(problem));
    });
    if (dialog.exec() != QDialog::Accepted) return std::nullopt;
    return request();
}

}  // namespace wendrel
