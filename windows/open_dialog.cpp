#include "windows/open_dialog.h"

#include <QFileDialog>

namespace wendrel {

QStringList AskFilesToOpen(QWidget* parent, const QString& folder) {
    QFileDialog dialog(parent, "Open", folder, kOpenFilters);
    dialog.setObjectName("openFiles");
    dialog.setFileMode(QFileDialog::ExistingFiles);
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    // The same dialog on every desktop, and one a test can answer.
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    return dialog.exec() == QDialog::Accepted ? dialog.selectedFiles() : QStringList();
}

}  // namespace wendrel
