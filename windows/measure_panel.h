// The plot window's measurement panel: the numbers of the line measured last
// by a drag with Ctrl, and "Copy", which puts them on the clipboard as text.
// It is not modal; closing it takes the span off the plot.
#pragma once

#include <QDialog>
#include <functional>

class QPlainTextEdit;
class QPushButton;

namespace wendrel {

class MeasurePanel : public QDialog {
    Q_OBJECT

public:
    // `closed` runs when the user closes the panel.
    MeasurePanel(QWidget* parent, std::function<void()> closed);

    // Shows the text, bringing the panel forward.
    void ShowText(const QString& text);
    QString Text() const;
    QPushButton* CopyButton() const { return copy_; }

    // The close box and Escape.
    void reject() override;

private:
    std::function<void()> closed_;
    QPlainTextEdit* text_ = nullptr;
    QPushButton* copy_ = nullptr;
};

}  // namespace wendrel
