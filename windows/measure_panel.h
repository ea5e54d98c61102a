// The plot window's measurement panel: the numbers of the line measured or
// fitted last by a drag with Ctrl (or Shift and Ctrl), the number of
// continuum pixels a measurement takes beyond each end of its span, the
// profile and number of components of a fit, and "Copy", which puts the
// numbers on the clipboard as text. It is not modal; closing it takes the
// span off the plot.
#pragma once

#include <QDialog>
#include <functional>

#include "plot/line_fit.h"

class QComboBox;
class QPlainTextEdit;
class QPushButton;
class QSpinBox;

namespace wendrel {

class MeasurePanel : public QDialog {
    Q_OBJECT

public:
    // `closed` runs when the user closes the panel, `changed` when they change
    // the continuum pixels, the profile or the number of components.
    MeasurePanel(QWidget* parent, std::function<void()> closed, std::function<void()> changed);

    // Shows the text, bringing the panel forward; Copy copies `copied`, or
    // the text where that is empty.
    void ShowText(const QString& text, const QString& copied = {});
    QString Text() const;
    QPushButton* CopyButton() const { return copy_; }

    int ContinuumPixels() const;
    LineProfile Profile() const;
    int Components() const;
    QSpinBox* ContinuumPixelsBox() const { return continuumPixels_; }
    QComboBox* ProfileBox() const { return profile_; }
    QSpinBox* ComponentsBox() const { return components_; }

    // The close box and Escape.
    void reject() override;

private:
    std::function<void()> closed_;
    QPlainTextEdit* text_ = nullptr;
    QString copied_;
    QPushButton* copy_ = nullptr;
    QSpinBox* continuumPixels_ = nullptr;
    QComboBox* profile_ = nullptr;
    QSpinBox* components_ = nullptr;
};

}  // namespace wendrel
