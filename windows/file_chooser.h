// frmLoad_FitsFile: the non-modal window in which the user picks the FITS
// file for the current slot by drive, folder, file type and name. "OK" loads
// the file into slot CurSlot and hides the window; the window keeps its
// folder, list and name for the next opening.
#pragma once

#include <QWidget>

#include "app/ui_hooks.h"
#include "store/workspace.h"

class QComboBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QListWidgetItem;
class QPushButton;

namespace wendrel {

class frmLoad_FitsFile : public QWidget {
    Q_OBJECT

public:
    // Opening (Form_Load): placed at LoadLeft, LoadTop; lists the "*.fts"
    // files of `startFolder`, or of the current folder when that is empty or
    // no longer a folder.
    frmLoad_FitsFile(Workspace& ws, UiHooks& ui, QWidget* parent = nullptr, const QString& startFolder = {});

    // Selects entry `index` of the file-type list as the opener does: the
    // file list is refreshed even when the entry was already selected.
    void SelectFileType(int index);

    // The folder whose files are listed.
    QString FolderPath() const { return folder_; }
    // Makes `path` the listed folder (Dir1_Change).
    void SetFolder(const QString& path);

    // OK: loads the name in the file-name box from the listed folder. A path
    // typed there instead (with a separator, or starting with "~"; relative
    // to the listed folder) opens the folder it names, or loads the file it
    // names from that file's folder.
    void Command1_Click();
    void Command2_Click();  // Cancel
    void File1_DblClick(QListWidgetItem* item);

    QLineEdit* fileNameBox() const { return Text1; }
    QListWidget* fileList() const { return File1; }
    QListWidget* folderList() const { return Dir1; }
    QComboBox* typeList() const { return Combo1; }
    QComboBox* driveList() const { return Drive1; }
    QLabel* folderLabel() const { return Label4; }

protected:
    void resizeEvent(QResizeEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    // The typed text as an absolute path, "~" being the home folder.
    QString TypedPath(const QString& text) const;
    void Combo1_Click(int index);
    void Drive1_Change(int index);
    void Dir1_Change();
    void Dir1_DblClick(QListWidgetItem* item);
    void File1_Click(QListWidgetItem* item);
    void FillDriveList();
    void FillFolderList();
    void FillFileList();
    void RecordPlace();
    void Form_Resize();

    Workspace& ws_;
    UiHooks& ui_;
    QString folder_;
    QString pattern_;
    int driveIndex_ = -1;

    QLabel* Label1;
    QLineEdit* Text1;
    QListWidget* File1;
    QLabel* Label2;
    QComboBox* Combo1;
    QLabel* Label3;
    QLabel* Label4;
    QListWidget* Dir1;
    QLabel* Label5;
    QComboBox* Drive1;
    QPushButton* Command1;
    QPushButton* Command2;
};

}  // namespace wendrel
