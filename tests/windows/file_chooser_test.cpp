// The file chooser as the rows' Load buttons open it: picking folders, file
// types and names, loading with OK or a double click, Cancel and the close box.
#include <QStorageInfo>

#include "tests/windows/program_fixture.h"
#include "app/chooser_layout.h"

namespace wendrel::testing {
namespace {

class ChooserTest : public ProgramTest {
protected:
    void SetUp() override {
        ProgramTest::SetUp();
        WriteSpectrum(data_ / "alpha.fts", {.object = "HD 1234", .value = 1234.75});
        WriteSpectrum(data_ / "beta.fts", {.object = "Vega", .crval1 = 5000, .value = 88.5});
    }

    static QStringList Listed(frmLoad_FitsFile& chooser) {
        QStringList names;
        for (int i = 0; i < chooser.fileList()->count(); ++i) names << chooser.fileList()->item(i)->text();
        return names;
    }

    // Selects an entry of the type list with the keyboard, as a user does.
    static void ChooseType(frmLoad_FitsFile& chooser, int index) {
        QComboBox* types = chooser.typeList();
        QTest::keyClick(types, Qt::Key_Home);
        for (int i = 0; i < index; ++i) QTest::keyClick(types, Qt::Key_Down);
        ProcessEvents();
        ASSERT_EQ(types->currentIndex(), index);
    }

    // The controls' places for the chooser's outer size, in pixels.
    static void ExpectLaidOut(frmLoad_FitsFile& chooser, const ChooserLayout& c) {
        auto px = [](const TwipsRect& r) {
            return QRect(TwipsToPixels(r.left), TwipsToPixels(r.top), TwipsToPixels(r.width), TwipsToPixels(r.height));
        };
        EXPECT_EQ(chooser.fileNameBox()->geometry(), px(c.text1));
        EXPECT_EQ(chooser.fileList()->geometry(), px(c.file1));
        EXPECT_EQ(chooser.typeList()->geometry(), px(c.combo1));
        EXPECT_EQ(chooser.folderLabel()->geometry(), px(c.label4));
        EXPECT_EQ(chooser.folderList()->geometry(), px(c.dir1));
        EXPECT_EQ(chooser.driveList()->geometry(), px(c.drive1));
        EXPECT_EQ(Button(chooser, "OK")->geometry(), px(c.command1));
        EXPECT_EQ(Button(chooser, "Cancel")->geometry(), px(c.command2));
    }
};

TEST_F(ChooserTest, OpensOnTheCurrentFolderWithTheFtsPattern) {
    Start();
    frmLoad_FitsFile& chooser = PressLoad(1);
    EXPECT_TRUE(chooser.isVisible());
    EXPECT_EQ(chooser.windowTitle(), "Load 1-D Calibrated Fits file");
    EXPECT_EQ(chooser.palette().color(QPalette::Window), QColor(0xC0, 0xC0, 0xC0));
    EXPECT_EQ(ws().CurSlot, 1);
    EXPECT_EQ(chooser.FolderPath().toStdString(), start_.string());
    EXPECT_EQ(chooser.folderLabel()->text().toStdString(), start_.string());
    EXPECT_EQ(chooser.typeList()->currentText(), "*.fts");
    QStringList types;
    for (int i = 0; i < chooser.typeList()->count(); ++i) types << chooser.typeList()->itemText(i);
    EXPECT_EQ(types, QStringList({"*.fts", "*.fit", "*.fits", "*.*"}));
    EXPECT_TRUE(Listed(chooser).isEmpty());
    EXPECT_TRUE(chooser.fileNameBox()->text().isEmpty());
    // The drive list stands on the volume that holds the folder.
    EXPECT_EQ(chooser.driveList()->currentData().toString(),
              QStorageInfo(QString::fromStdString(start_.string())).rootPath());
    EXPECT_FALSE(mainWindow().isHidden());
}

TEST_F(ChooserTest, FolderChangeListsItsFilesAndPutsTheFirstInTheBox) {
    Start();
    frmLoad_FitsFile& chooser = PressLoad(1);
    OpenSibling(chooser, data_);
    EXPECT_EQ(chooser.FolderPath().toStdString(), data_.string());
    EXPECT_EQ(chooser.folderLabel()->text().toStdString(), data_.string());
    EXPECT_EQ(Listed(chooser), QStringList({"alpha.fts", "beta.fts"}));
    EXPECT_EQ(chooser.fileNameBox()->text(), "alpha.fts");
}

TEST_F(ChooserTest, TypedNameAndOkLoadDoubleClickLoads) {
    Start();
    LoadThroughChooser(1, data_, "beta.fts");
    EXPECT_TRUE(messages_.empty()) << messages_.front();
    EXPECT_FALSE(program().fileChooser()->isVisible());
    EXPECT_TRUE(ws().slot(1).Loaded);
    EXPECT_TRUE(ws().DataReady);
    EXPECT_EQ(ws().FilePath, data_.string());
    EXPECT_EQ(std::filesystem::current_path(), data_);
    EXPECT_TRUE(RowShowsLoaded(1));
    EXPECT_EQ(row(1).Label7->text(), "beta.fts");
    EXPECT_EQ(row(1).Label8->text(), "Vega    ");  // blanks inside the quotes stay
    EXPECT_EQ(row(1).Label14->text(), "88");
    EXPECT_EQ(row(1).Label10->text(), "-75");
    EXPECT_EQ(row(1).Label12->text(), "0");

    frmLoad_FitsFile& chooser = PressLoad(2);
    EXPECT_EQ(chooser.FolderPath().toStdString(), data_.string());
    DoubleClickFile(chooser, "alpha.fts");
    EXPECT_TRUE(messages_.empty());
    EXPECT_FALSE(chooser.isVisible());
    EXPECT_TRUE(RowShowsLoaded(2));
    EXPECT_EQ(row(2).Label7->text(), "alpha.fts");
    EXPECT_EQ(row(2).Label8->text(), "HD 1234 ");
    EXPECT_EQ(row(2).Label14->text(), "1234");
    EXPECT_EQ(row(2).Label10->text(), "-60");
    EXPECT_EQ(row(2).Label12->text(), "0");
    EXPECT_EQ(ws().LambdaMin, 4000);
    EXPECT_EQ(ws().LambdaMax, 5250);
    for (int slot = 3; slot <= 10; ++slot) EXPECT_TRUE(RowShowsEmpty(slot)) << slot;
}

TEST_F(ChooserTest, EnterInTheNameBoxConfirmsEscapeCancels) {
    Start();
    frmLoad_FitsFile& chooser = PressLoad(1);
    OpenSibling(chooser, data_);
    chooser.move(60, 45);
    ProcessEvents();
    QTest::keyClick(chooser.fileNameBox(), Qt::Key_Escape);
    ProcessEvents();
    EXPECT_FALSE(chooser.isVisible());
    EXPECT_FALSE(ws().slot(1).Loaded);
    EXPECT_EQ(ws().LoadLeft, 900);

    PressLoad(2);
    TypeName(chooser, "beta.fts");
    QTest::keyClick(chooser.fileNameBox(), Qt::Key_Return);
    ProcessEvents();
    EXPECT_FALSE(chooser.isVisible());
    EXPECT_TRUE(ws().slot(2).Loaded);
    EXPECT_EQ(row(2).Label7->text(), "beta.fts");
}

TEST_F(ChooserTest, ClickingAFilePutsItsNameInTheBox) {
    Start();
    frmLoad_FitsFile& chooser = PressLoad(1);
    OpenSibling(chooser, data_);
    QListWidget* list = chooser.fileList();
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualItemRect(FileItem(chooser, "beta.fts")).center());
    ProcessEvents();
    EXPECT_EQ(chooser.fileNameBox()->text(), "beta.fts");
    EXPECT_TRUE(chooser.isVisible());
    EXPECT_FALSE(ws().slot(1).Loaded);
}

TEST_F(ChooserTest, LoadPressedInAnotherRowWhileOpenLoadsThere) {
    Start();
    frmLoad_FitsFile& chooser = PressLoad(3);
    OpenSibling(chooser, data_);
    EXPECT_EQ(&PressLoad(5), &chooser);
    EXPECT_TRUE(chooser.isVisible());
    EXPECT_EQ(ws().CurSlot, 5);
    EXPECT_EQ(chooser.FolderPath().toStdString(), data_.string());
    Click(Button(chooser, "OK"));
    EXPECT_TRUE(ws().slot(5).Loaded);
    EXPECT_EQ(row(5).Label7->text(), "alpha.fts");
    EXPECT_FALSE(ws().slot(3).Loaded);
    EXPECT_TRUE(RowShowsEmpty(3));
}

TEST_F(ChooserTest, ReopeningKeepsFolderAndNameAndRefreshesTheFtsList) {
    Start();
    LoadThroughChooser(1, data_, "beta.fts");
    frmLoad_FitsFile& chooser = PressLoad(2);
    ChooseType(chooser, 3);
    Click(Button(chooser, "Cancel"));
    ASSERT_FALSE(chooser.isVisible());
    WriteSpectrum(data_ / "gamma.fts");
    WriteFileBytes(data_ / "notes.txt", "notes");

    EXPECT_EQ(&PressLoad(3), &chooser);
    EXPECT_EQ(chooser.typeList()->currentText(), "*.fts");
    EXPECT_EQ(chooser.typeList()->currentIndex(), 0);
    EXPECT_EQ(Listed(chooser), QStringList({"alpha.fts", "beta.fts", "gamma.fts"}));
    EXPECT_EQ(chooser.FolderPath().toStdString(), data_.string());
    EXPECT_EQ(chooser.fileNameBox()->text(), "beta.fts");
}

TEST_F(ChooserTest, EachFileTypeListsItsFilesAndKeepsTheName) {
    WriteSpectrum(data_ / "c.fit");
    WriteSpectrum(data_ / "d.fits");
    WriteFileBytes(data_ / "notes.txt", "notes");
    Start();
    frmLoad_FitsFile& chooser = PressLoad(1);
    OpenSibling(chooser, data_);
    TypeName(chooser, "typed by hand");
    const QStringList expected[] = {{"alpha.fts", "beta.fts"},
                                    {"c.fit"},
                                    {"d.fits"},
                                    {"alpha.fts", "beta.fts", "c.fit", "d.fits", "notes.txt"}};
    for (int index : {3, 1, 2, 0}) {
        SCOPED_TRACE(index);
        ChooseType(chooser, index);
        EXPECT_EQ(Listed(chooser), expected[index]);
        EXPECT_EQ(chooser.fileNameBox()->text(), "typed by hand");
    }
}

TEST_F(ChooserTest, FolderWithoutMatchingFilesGivesAnEmptyBoxAndOkDoesNothing) {
    std::filesystem::create_directories(data_ / "empty");
    WriteFileBytes(data_ / "empty" / "readme.txt", "nothing here");
    Start();
    frmLoad_FitsFile& chooser = PressLoad(4);
    OpenSibling(chooser, data_);
    OpenFolder(chooser, data_ / "empty");
    EXPECT_EQ(chooser.FolderPath().toStdString(), (data_ / "empty").string());
    EXPECT_EQ(chooser.fileList()->count(), 0);
    EXPECT_TRUE(chooser.fileNameBox()->text().isEmpty());
    Click(Button(chooser, "OK"));
    EXPECT_TRUE(messages_.empty());
    EXPECT_FALSE(ws().slot(4).Loaded);
    EXPECT_FALSE(ws().DataReady);
    EXPECT_TRUE(RowShowsEmpty(4));
    EXPECT_FALSE(chooser.isVisible());
}

TEST_F(ChooserTest, ChoosingTheCurrentDriveReturnsToTheCurrentFolder) {
    Start();
    frmLoad_FitsFile& chooser = PressLoad(1);
    OpenSibling(chooser, data_);
    QComboBox* drives = chooser.driveList();
    const int index = drives->findData(QStorageInfo(QString::fromStdString(start_.string())).rootPath());
    ASSERT_GE(index, 0);
    drives->setCurrentIndex(index);
    emit drives->activated(index);
    ProcessEvents();
    EXPECT_EQ(chooser.FolderPath().toStdString(), start_.string());
    EXPECT_EQ(chooser.folderLabel()->text().toStdString(), start_.string());
    EXPECT_TRUE(messages_.empty());
}

TEST_F(ChooserTest, RootFolderPathEndsWithTheSeparator) {
    Start();
    frmLoad_FitsFile& chooser = PressLoad(1);
    OpenFolder(chooser, "/");
    EXPECT_EQ(chooser.folderLabel()->text(), "/");
    TypeName(chooser, "");
    Click(Button(chooser, "OK"));
    EXPECT_EQ(ws().FilePath, "/");
    EXPECT_EQ(std::filesystem::current_path(), "/");
}

TEST_F(ChooserTest, CancelRecordsThePlaceOkDoesNotCloseBoxDoes) {
    Start();
    frmLoad_FitsFile* chooser = &PressLoad(1);
    EXPECT_EQ(chooser->frameGeometry().topLeft(), QPoint(TwipsToPixels(500), TwipsToPixels(500)));
    chooser->move(100, 80);
    ProcessEvents();
    Click(Button(*chooser, "Cancel"));
    EXPECT_FALSE(chooser->isVisible());
    EXPECT_EQ(ws().LoadLeft, 1500);
    EXPECT_EQ(ws().LoadTop, 1200);
    EXPECT_FALSE(ws().slot(1).Loaded);

    EXPECT_EQ(&PressLoad(1), chooser);
    EXPECT_EQ(chooser->frameGeometry().topLeft(), QPoint(100, 80));
    chooser->move(200, 40);
    ProcessEvents();
    OpenSibling(*chooser, data_);
    Click(Button(*chooser, "OK"));
    EXPECT_TRUE(ws().slot(1).Loaded);
    EXPECT_EQ(ws().LoadLeft, 1500);
    EXPECT_EQ(ws().LoadTop, 1200);

    PressLoad(2);
    chooser->close();
    ProcessEvents();
    EXPECT_EQ(ws().LoadLeft, 3000);
    EXPECT_EQ(ws().LoadTop, 600);
    EXPECT_EQ(program().fileChooser(), nullptr);

    // A new chooser: at the recorded place, on the folder of the last OK.
    chooser = &PressLoad(3);
    EXPECT_EQ(chooser->frameGeometry().topLeft(), QPoint(200, 40));
    EXPECT_EQ(chooser->FolderPath().toStdString(), data_.string());
    EXPECT_EQ(chooser->fileNameBox()->text(), "alpha.fts");
    EXPECT_EQ(chooser->typeList()->currentText(), "*.fts");
}

TEST_F(ChooserTest, WindowKeepsItsMinimumSizeAndLaysOutOnResize) {
    Start();
    frmLoad_FitsFile& chooser = PressLoad(1);

    // As first shown, every control lies inside the window but the folder label.
    for (QWidget* w : chooser.findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
        if (w == chooser.folderLabel()) continue;
        EXPECT_TRUE(chooser.rect().contains(w->geometry())) << w->metaObject()->className();
    }

    chooser.resize(50, 50);
    ProcessEvents();
    EXPECT_EQ(chooser.frameGeometry().size(), QSize(TwipsToPixels(6525), TwipsToPixels(3540)));
    ExpectLaidOut(chooser, LayOutChooser(6525, 3540));
    EXPECT_EQ(chooser.fileList()->geometry(), QRect(8, 56, 158, 96));

    chooser.resize(600, 500);
    ProcessEvents();
    const QRect outer = chooser.frameGeometry();
    ExpectLaidOut(chooser, LayOutChooser(PixelsToTwips(outer.width()), PixelsToTwips(outer.height())));
}

}  // namespace
}  // namespace wendrel::testing
