#include "windows/file_drops.h"

#include <QDropEvent>
#include <QMimeData>
#include <QUrl>
#include <QWidget>
#include <cmath>

#include "store/workspace.h"
#include "windows/twips.h"

namespace wendrel {

namespace {

// Row 1's band starts this far above its labels' top (1080 twips), so that
// it holds the row's Load button, which stands 120 twips higher.
constexpr double kFirstBandTop = 1080 - 150;
constexpr double kRowHeight = 600;

bool HasLocalFile(const QMimeData* data) {
    if (!data || !data->hasUrls()) return false;
    for (const QUrl& url : data->urls())
        if (url.isLocalFile()) return true;
    return false;
}

}  // namespace

int RowAtTwips(double y) {
    const double row = std::floor((y - kFirstBandTop) / kRowHeight) + 1;
    return row >= 1 && row <= kMaxSlots ? static_cast<int>(row) : 0;
}

FileDrops::FileDrops(QWidget& window, QWidget& client, DropHandler handler)
    : QObject(&window), window_(window), client_(client), handler_(std::move(handler)) {
    window_.setAcceptDrops(true);
    window_.installEventFilter(this);
}

bool FileDrops::eventFilter(QObject* watched, QEvent* event) {
    if (watched != &window_) return false;
    switch (event->type()) {
        case QEvent::DragEnter:
        case QEvent::DragMove: {
            auto* drag = static_cast<QDropEvent*>(event);
            if (!HasLocalFile(drag->mimeData())) return false;
            drag->setDropAction(Qt::CopyAction);
            drag->accept();
            return true;
        }
        case QEvent::Drop: {
            auto* drop = static_cast<QDropEvent*>(event);
            if (!HasLocalFile(drop->mimeData())) return false;
            drop->setDropAction(Qt::CopyAction);
            drop->accept();
            QStringList files, others;
            for (const QUrl& url : drop->mimeData()->urls())
                (url.isLocalFile() ? files : others) << (url.isLocalFile() ? url.toLocalFile() : url.toString());
            const QPointF inClient = client_.mapFrom(&window_, drop->position());
            handler_(RowAtTwips(inClient.y() * TwipsPerPixel()), files, others);
            return true;
        }
        default:
            return false;
    }
}

}  // namespace wendrel
