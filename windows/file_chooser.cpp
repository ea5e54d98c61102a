#include "windows/file_chooser.h"

#include <QCloseEvent>
#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QShortcut>
#include <QSignalBlocker>
#include <QStorageInfo>

#include "app/chooser_layout.h"
#include "app/slot_loading.h"
#include "store/rounding.h"
#include "windows/outer_frame.h"
#include "windows/twips.h"

namespace wendrel {
namespace {

// Text in the file-name box that is a path rather than a name in the listed
// folder: it holds a separator or starts with the home folder's "~".
bool NamesAPath(const QString& text) {
    return text.contains('/') || text.contains(QDir::separator()) || text == "~" || text.startsWith("~/");
}

// The chooser's outer size when it first opens, in twips.
constexpr double kDesignWidth = 7125;
constexpr double kDesignHeight = 5550;

QString StartFolder(const QString& wanted) {
    if (!wanted.isEmpty() && QFileInfo(wanted).isDir()) return QDir(wanted).absolutePath();
    return QDir::currentPath();
}

// The file list. Taking the focus without a current entry, as when the
// reopened window gets it back, a list makes its first entry current: that is
// no choice of the user's and must not replace the name in the name box.
class FileList : public QListWidget {
public:
    using QListWidget::QListWidget;

protected:
    void focusInEvent(QFocusEvent* event) override {
        const QSignalBlocker quiet(this);
        QListWidget::focusInEvent(event);
    }
};

void Place(QWidget* w, const TwipsRect& r) {
    w->setGeometry(TwipsToPixels(r.left), TwipsToPixels(r.top), TwipsToPixels(r.width),
                   TwipsToPixels(r.height));
}

}  // namespace

frmLoad_FitsFile::frmLoad_FitsFile(Workspace& ws, UiHooks& ui, QWidget* parent, const QString& startFolder)
    : QWidget(parent, Qt::Window), ws_(ws), ui_(ui) {
    setWindowTitle("Load 1-D Calibrated Fits file");
    setAutoFillBackground(true);
    QPalette grey = palette();
    grey.setColor(QPalette::Window, QColor(0xC0, 0xC0, 0xC0));
    setPalette(grey);

    Label1 = new QLabel("File Name:", this);
    Text1 = new QLineEdit(this);
    File1 = new FileList(this);
    Label2 = new QLabel("List Files of Type:", this);
    Combo1 = new QComboBox(this);
    Label3 = new QLabel("Directories:", this);
    Label4 = new QLabel(this);
    Label4->setTextFormat(Qt::PlainText);  // a folder name is no markup
    Dir1 = new QListWidget(this);
    Label5 = new QLabel("Drives:", this);
    Drive1 = new QComboBox(this);
    Command1 = new QPushButton("OK", this);
    Command2 = new QPushButton("Cancel", this);
    // Enter in the name box confirms and Escape cancels, as in any file dialog.
    Command1->setDefault(true);
    connect(Text1, &QLineEdit::returnPressed, this, &frmLoad_FitsFile::Command1_Click);
    auto* cancel = new QShortcut(QKeySequence::Cancel, this);
    connect(cancel, &QShortcut::activated, this, &frmLoad_FitsFile::Command2_Click);

    connect(Combo1, &QComboBox::activated, this, &frmLoad_FitsFile::Combo1_Click);
    connect(Drive1, &QComboBox::activated, this, &frmLoad_FitsFile::Drive1_Change);
    connect(Dir1, &QListWidget::itemActivated, this, &frmLoad_FitsFile::Dir1_DblClick);
    connect(File1, &QListWidget::itemClicked, this, &frmLoad_FitsFile::File1_Click);
    connect(File1, &QListWidget::currentItemChanged, this,
            [this](QListWidgetItem* item) { File1_Click(item); });
    connect(File1, &QListWidget::itemActivated, this, &frmLoad_FitsFile::File1_DblClick);
    connect(Command1, &QPushButton::clicked, this, &frmLoad_FitsFile::Command1_Click);
    connect(Command2, &QPushButton::clicked, this, &frmLoad_FitsFile::Command2_Click);

    // Form_Load
    SetOuterSizeTwips(*this, kDesignWidth, kDesignHeight);
    MoveOuterTwips(*this, ws_.Config.LoadLeft, ws_.Config.LoadTop);
    KeepOnScreen(*this);
    for (const char* type : kChooserFileTypes) Combo1->addItem(type);
    pattern_ = kChooserFileTypes[0];
    folder_ = StartFolder(startFolder);
    FillDriveList();
    FillFolderList();
    FillFileList();
    Text1->setText(File1->count() > 0 ? File1->item(0)->text() : QString());
    Label4->setText(QDir::toNativeSeparators(folder_));
    Form_Resize();
}

QString frmLoad_FitsFile::TypedPath(const QString& text) const {
    QString path = QDir::fromNativeSeparators(text);
    if (path == "~" || path.startsWith("~/")) path = QDir::homePath() + path.mid(1);
    return QDir::cleanPath(QDir(folder_).absoluteFilePath(path));
}

void frmLoad_FitsFile::SelectFileType(int index) {
    Combo1->setCurrentIndex(index);
    Combo1_Click(index);
}

void frmLoad_FitsFile::Combo1_Click(int index) {
    if (index < 0 || index >= Combo1->count()) return;
    pattern_ = Combo1->itemText(index);
    FillFileList();
}

void frmLoad_FitsFile::Drive1_Change(int index) {
    const QString root = Drive1->itemData(index).toString();
    if (!QDir(root).isReadable()) {
        ui_.ShowMessage("The drive " + root.toStdString() + " cannot be read.");
        Drive1->setCurrentIndex(driveIndex_);
        return;
    }
    driveIndex_ = index;
    // The drive's current folder: the process's current folder when it lies on that drive.
    const QString current = QDir::currentPath();
    SetFolder(QStorageInfo(current).rootPath() == root ? current : root);
}

void frmLoad_FitsFile::SetFolder(const QString& path) {
    folder_ = QDir(path).absolutePath();
    Dir1_Change();
}

void frmLoad_FitsFile::Dir1_Change() {
    FillFolderList();
    FillFileList();
    Text1->setText(File1->count() > 0 ? File1->item(0)->text() : QString());
    Label4->setText(QDir::toNativeSeparators(folder_));
}

void frmLoad_FitsFile::Dir1_DblClick(QListWidgetItem* item) {
    if (item) SetFolder(item->data(Qt::UserRole).toString());
}

void frmLoad_FitsFile::File1_Click(QListWidgetItem* item) {
    if (item) Text1->setText(item->text());
}

void frmLoad_FitsFile::File1_DblClick(QListWidgetItem* item) {
    File1_Click(item);
    Command1_Click();
}

void frmLoad_FitsFile::Command1_Click() {
    QString folder = folder_;
    QString name = Text1->text();
    if (NamesAPath(name)) {
        const QFileInfo typed(TypedPath(name));
        if (typed.isDir()) {  // a folder typed in is opened, as if chosen in the folder list
            SetFolder(typed.absoluteFilePath());
            FillDriveList();
            return;
        }
        folder = typed.absolutePath();
        name = typed.fileName();
        if (QFileInfo(folder).isDir()) {
            SetFolder(folder);
            FillDriveList();
        }
        Text1->setText(name);
    }
    Label4->setText(QDir::toNativeSeparators(folder_));
    if (ws_.CurSlot < 0 || ws_.CurSlot > kMaxSlots) return;
    QDir::setCurrent(folder);
    LoadIntoSlot(ws_, ws_.CurSlot, std::filesystem::path(folder.toStdString()) / name.toStdString(), ui_);
    hide();
}

void frmLoad_FitsFile::Command2_Click() {
    RecordPlace();
    hide();
}

void frmLoad_FitsFile::closeEvent(QCloseEvent* event) {
    RecordPlace();
    event->accept();
}

void frmLoad_FitsFile::RecordPlace() {
    const QRectF outer = OuterGeometryTwips(*this);
    ws_.Config.LoadLeft = Nearest16(outer.left());
    ws_.Config.LoadTop = Nearest16(outer.top());
}

void frmLoad_FitsFile::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    Form_Resize();
}

void frmLoad_FitsFile::Form_Resize() {
    if (isMinimized()) return;
    const QRectF outer = OuterGeometryTwips(*this);
    if (outer.height() < kChooserMinHeight || outer.width() < kChooserMinWidth) {
        SetOuterSizeTwips(*this, std::max(outer.width(), kChooserMinWidth),
                          std::max(outer.height(), kChooserMinHeight));
        return;  // the resize comes back here with the new size
    }
    const ChooserLayout c = LayOutChooser(outer.width(), outer.height());
    Place(Label1, c.label1);
    Place(Text1, c.text1);
    Place(File1, c.file1);
    Place(Label2, c.label2);
    Place(Combo1, c.combo1);
    Place(Label3, c.label3);
    Place(Label4, c.label4);
    Place(Dir1, c.dir1);
    Place(Label5, c.label5);
    Place(Drive1, c.drive1);
    Place(Command1, c.command1);
    Place(Command2, c.command2);
}

void frmLoad_FitsFile::FillDriveList() {
    Drive1->clear();
    const QString currentRoot = QStorageInfo(folder_).rootPath();
    for (const QStorageInfo& volume : QStorageInfo::mountedVolumes()) {
        if (!volume.isValid() || !volume.isReady()) continue;
        Drive1->addItem(QDir::toNativeSeparators(volume.rootPath()), volume.rootPath());
        if (volume.rootPath() == currentRoot) driveIndex_ = Drive1->count() - 1;
    }
    Drive1->setCurrentIndex(driveIndex_);
}

// The folder list shows the current folder's ancestors from the root down,
// then its subfolders, indented by depth like an opened folder tree.
void frmLoad_FitsFile::FillFolderList() {
    Dir1->clear();
    QStringList chain;
    for (QDir d(folder_);; ) {
        chain.prepend(d.absolutePath());
        if (!d.cdUp()) break;
    }
    int depth = 0;
    for (const QString& path : chain) {
        const QString name = depth == 0 ? QDir::toNativeSeparators(path) : QDir(path).dirName();
        auto* item = new QListWidgetItem(QString(depth * 2, ' ') + name, Dir1);
        item->setData(Qt::UserRole, path);
        ++depth;
    }
    Dir1->setCurrentRow(Dir1->count() - 1);
    const QStringList subfolders =
        QDir(folder_).entryList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name | QDir::IgnoreCase);
    for (const QString& name : subfolders) {
        auto* item = new QListWidgetItem(QString(depth * 2, ' ') + name, Dir1);
        item->setData(Qt::UserRole, QDir(folder_).filePath(name));
    }
}

void frmLoad_FitsFile::FillFileList() {
    File1->blockSignals(true);
    File1->clear();
    QDir dir(folder_);
    dir.setFilter(QDir::Files | QDir::Hidden | QDir::System);
    dir.setSorting(QDir::Name | QDir::IgnoreCase);
    const std::string type = pattern_.toStdString();
    for (const QString& name : dir.entryList())
        if (FileTypeLists(type, name.toStdString())) File1->addItem(name);
    File1->blockSignals(false);
}

}  // namespace wendrel
