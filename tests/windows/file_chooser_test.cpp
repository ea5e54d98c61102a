// The file chooser as the rows' Load buttons open it: folders, file types,
// names typed or double-clicked, full paths, Enter and Escape, and refused
// files.
#include <QComboBox>

#include "fits/fits_reader.h"
#include "tests/windows/program_fixture.h"

namespace wendrel::testing {
namespace {

class ChooserTest : public ProgramTest {
protected:
    void SetUp() override {
        ProgramTest::SetUp();
        WriteSpectrum(data_ / "alpha.fts", "HD 1234", 4000, 1234.75);
        WriteSpectrum(data_ / "beta.fts", "Vega", 5000, 2.5e17);
        WriteFileBytes(data_ / "notes.txt", std::string(2880, 'x'));
    }

    static QStringList Listed(frmLoad_FitsFile& chooser) {
        QStringList names;
        for (int i = 0; i < chooser.fileList()->count(); ++i) names << chooser.fileList()->item(i)->text();
        return names;
    }
    // A double click on a list entry as the window system reports it.
    static void DoubleClick(QListWidget* list, QListWidgetItem* item) {
        list->scrollToItem(item);
        const QPoint point = list->visualItemRect(item).center();
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, point);
        QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, point);
        QTest::mouseRelease(list->viewport(), Qt::LeftButton, {}, point);
        ProcessEvents();
    }
    void OpenFolder(frmLoad_FitsFile& chooser, const std::filesystem::path& folder) {
        QListWidget* list = chooser.folderList();
        for (int i = 0; i < list->count(); ++i)
            if (list->item(i)->data(Qt::UserRole).toString().toStdString() == folder.string())
                return DoubleClick(list, list->item(i));
    }
};

TEST_F(ChooserTest, OpensOnTheStartFolderAndListsTheChosenFolderAndType) {
    Start();
    frmLoad_FitsFile& chooser = PressLoad(3);
    EXPECT_EQ(chooser.windowTitle(), "Load 1-D Calibrated Fits file");
    EXPECT_EQ(chooser.FolderPath().toStdString(), start_.string());
    EXPECT_EQ(chooser.typeList()->currentText(), "*.fts");
    OpenFolder(chooser, data_.parent_path());
    OpenFolder(chooser, data_);
    EXPECT_EQ(chooser.folderLabel()->text().toStdString(), data_.string());
    EXPECT_EQ(Listed(chooser), QStringList({"alpha.fts", "beta.fts"}));
    EXPECT_EQ(chooser.fileNameBox()->text(), "alpha.fts");
    QTest::keyClick(chooser.typeList(), Qt::Key_End);
    ProcessEvents();
    EXPECT_EQ(Listed(chooser), QStringList({"alpha.fts", "beta.fts", "notes.txt"}));

    // Escape in the name box cancels, Enter confirms.
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

TEST_F(ChooserTest, ADoubleClickedFileFillsTheRowAndPlots) {
    Start();
    LoadThroughChooser(1, "beta.fts");
    frmLoad_FitsFile& chooser = PressLoad(2);
    EXPECT_EQ(chooser.FolderPath().toStdString(), data_.string());  // where the last load was
    DoubleClick(chooser.fileList(), chooser.fileList()->findItems("alpha.fts", Qt::MatchExactly).value(0));
    EXPECT_EQ(std::filesystem::current_path(), data_);
    // The level caption is the level's whole part in plain decimal digits.
    const std::pair<int, QStringList> captions[] = {{1, {"beta.fts", "Vega    ", "250000000000000000", "-75", "0"}},
                                                    {2, {"alpha.fts", "HD 1234 ", "1234", "-60", "0"}}};
    for (const auto& [slot, texts] : captions) {
        const auto& r = row(slot);
        EXPECT_TRUE(RowShows(slot, true));
        EXPECT_EQ(QStringList({r.Label7->text(), r.Label8->text(), r.Label14->text(), r.Label10->text(),
                               r.Label12->text()}), texts);
    }
    Click(mainWindow().plotButton());
    EXPECT_NE(Shown<frmPlot_Spectra>(), nullptr);
    EXPECT_EQ(ws().LambdaMin, 4000);
    EXPECT_EQ(ws().LambdaMax, 5250);
}

TEST_F(ChooserTest, ARefusedFileLeavesTheRowAsItWasAndATypedFolderOpens) {
    Start();
    LoadThroughChooser(2, "alpha.fts");
    LoadThroughChooser(2, "notes.txt");
    EXPECT_EQ(messages_, std::vector<std::string>{"notes.txt: " + std::string(kNotFitsMessage)});
    EXPECT_EQ(row(2).Label7->text(), "alpha.fts");
    EXPECT_EQ(ws().slot(2).FileName, "alpha.fts");
    EXPECT_EQ(Shown<frmLoad_FitsFile>(), nullptr);

    frmLoad_FitsFile& chooser = PressLoad(1);
    TypeName(chooser, QString::fromStdString(start_.string()));
    Click(Button(chooser, "OK"));
    EXPECT_TRUE(chooser.isVisible());
    EXPECT_EQ(chooser.FolderPath().toStdString(), start_.string());
}

}  // namespace
}  // namespace wendrel::testing
