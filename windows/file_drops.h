// Files dragged from a file manager onto the main window: the drag is taken
// when it carries files of this computer, and a drop reports the row it fell
// on (or 0 away from the rows) with the dropped files.
#pragma once

#include <QObject>
#include <QStringList>
#include <functional>

class QWidget;

namespace wendrel {

// The slot row whose band holds the height y (twips from the top of the main
// window's client area), or 0 above the first row and below the last. Each
// row's band is 600 twips high and holds its Load button.
int RowAtTwips(double y);

class FileDrops : public QObject {
public:
    // `files` are the dropped local files in their order; `others` the
    // dropped addresses that are no local files.
    using DropHandler = std::function<void(int row, const QStringList& files, const QStringList& others)>;

    // Takes drops on `window`, whose client area is `client`.
    FileDrops(QWidget& window, QWidget& client, DropHandler handler);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QWidget& window_;
    QWidget& client_;
    DropHandler handler_;
};

}  // namespace wendrel
