// The file chooser as the rows' Load buttons open it: folders, file types,
// names typed or double-clicked, full paths, Enter and Escape, and refused
// files.
#include <QComboBox>

#include "fits/fits_reader.h"
#include "tests/windows/program_fixture.h"

namespace wendrel::testing {

class ChooserTest : public ProgramTest {
protected:
    void SetUp() override {
        ProgramTest::SetUp();
        WriteSpectrum(data_ / "alpha.fts", "HD 1234", 4000, 1234.75);
        WriteSpectrum(data_ / "beta.fts", "Vega", 5000, 2.5e17);
        WriteFileBytes(data_ / "notes.doc", std::string(2880, 'x'));
        Start();
    }
    static QStringList Listed(frmLoad_FitsFile& chooser) {
        QStringList names;
        for (int i = 0; i < chooser.fileList()->count(); ++i) names << chooser.fileList()->item(i)->text();
        return names;
    }
    // A double click on a list entry as the window system reports it.
    static void DoubleClick(QListWidget* list, QListWidgetItem* item) {
        ASSERT_NE(item, nullptr);
        list->scrollToItem(item);
        const QPoint point = list->visualItemRect(item).center();
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, point);
        QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, point);
        QTest::mouseRelease(list->viewport(), Qt::LeftButton, {}, point);
        ProcessEvents();
    }
};

TEST_F(ChooserTest, FoldersTypedOrDoubleClickedFileTypesEscapeAndEnter) {
    frmLoad_FitsFile& chooser = PressLoad(3);
    EXPECT_EQ(chooser.FolderPath().toStdString(), start_.string());
    EXPECT_EQ(chooser.typeList()->currentText(), "*.fts");
    TypeName(chooser, QString::fromStdString(data_.parent_path().string()));  // a typed folder opens
    Click(Button(chooser, "OK"));
    EXPECT_EQ(chooser.FolderPath().toStdString(), data_.parent_path().string());
    QListWidget* folders = chooser.folderList();
    for (int i = 0; i < folders->count(); ++i)
        if (folders->item(i)->data(Qt::UserRole).toString().toStdString() == data_.string())
            DoubleClick(folders, folders->item(i));
    EXPECT_EQ(chooser.folderLabel()->text().toStdString(), data_.string());
    EXPECT_EQ(Listed(chooser), QStringList({"alpha.fts", "beta.fts"}));
    EXPECT_EQ(chooser.fileNameBox()->text(), "alpha.fts");
    QTest::keyClick(chooser.typeList(), Qt::Key_End);  // "Spectra (*.fits ... *.ascii)"
    ProcessEvents();
    EXPECT_EQ(Listed(chooser), QStringList({"alpha.fts", "beta.fts"}));
    QTest::keyClick(chooser.typeList(), Qt::Key_Up);  // "*.*"
    ProcessEvents();
    EXPECT_EQ(Listed(chooser), QStringList({"alpha.fts", "beta.fts", "notes.doc"}));
    QTest::keyClick(chooser.fileNameBox(), Qt::Key_Escape);
    ProcessEvents();
    EXPECT_FALSE(chooser.isVisible());
    EXPECT_TRUE(LoadedRows().empty());
    PressLoad(3);
    TypeName(chooser, "beta.fts");
    QTest::keyClick(chooser.fileNameBox(), Qt::Key_Return);
    ProcessEvents();
    EXPECT_FALSE(chooser.isVisible());
    EXPECT_EQ(LoadedRows(), std::vector<int>{3});
}

TEST_F(ChooserTest, ADoubleClickedFileFillsTheRowARefusedOneLeavesItAndThePlotShowsBoth) {
    LoadThroughChooser(1, "beta.fts");
    frmLoad_FitsFile& chooser = PressLoad(2);
    EXPECT_EQ(chooser.FolderPath().toStdString(), data_.string());  // where the last load was
    QFocusEvent focusBack(QEvent::FocusIn, Qt::ActiveWindowFocusReason);  // the list taking the focus
    QApplication::sendEvent(chooser.fileList(), &focusBack);
    EXPECT_EQ(chooser.fileNameBox()->text().toStdString(), "beta.fts");  // leaves the name loaded last
    DoubleClick(chooser.fileList(), chooser.fileList()->findItems("alpha.fts", Qt::MatchExactly).value(0));
    EXPECT_EQ(std::filesystem::current_path(), data_);
    LoadThroughChooser(2, "notes.doc");
    EXPECT_EQ(messages_, std::vector<std::string>{"notes.doc: " + std::string(kNotFitsMessage)});
    EXPECT_EQ(Shown<frmLoad_FitsFile>(), nullptr);
    EXPECT_TRUE(RowShows(1, true) && RowShows(2, true));
    const auto captions = [&](int slot) {
        const auto& r = row(slot);
        return QStringList({r.Label7->text(), r.Label8->text(), r.Label14->text(), r.Label10->text(),
                            r.Label12->text()});
    };
    // The level caption is the level's whole part in plain decimal digits.
    EXPECT_EQ(captions(1), QStringList({"beta.fts", "Vega    ", "250000000000000000", "-75", "0"}));
    EXPECT_EQ(captions(2), QStringList({"alpha.fts", "HD 1234 ", "1234", "-60", "0"}));
    Click(mainWindow().plotButton());
    EXPECT_NE(Shown<frmPlot_Spectra>(), nullptr);
    EXPECT_EQ(std::pair(ws().View.LambdaMin, ws().View.LambdaMax), std::pair(3999.5, 5249.5));
}

}  // namespace wendrel::testing
