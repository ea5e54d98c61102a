// Opening files without the chooser's lists: files named at start, files
// dropped on the main window, and full paths typed into the chooser's
// file-name box; the chooser starting at the folder of the last load.
#include <QDropEvent>
#include <QMimeData>
#include <QUrl>

#include "fits/fits_reader.h"
#include "tests/windows/program_fixture.h"
#include "windows/file_drops.h"

namespace wendrel::testing {
namespace {

namespace fs = std::filesystem;

class OpenFilesTest : public ProgramTest {
protected:
    // Spectra s1.fits .. sN.fits in the data folder, each starting 100
    // Angstroms after the one before.
    QStringList Spectra(int count) {
        QStringList files;
        for (int i = 1; i <= count; ++i) {
            const fs::path file = data_ / ("s" + std::to_string(i) + ".fits");
            WriteSpectrum(file, {.object = "star " + std::to_string(i), .crval1 = 4000.0 + 100 * i});
            files << QString::fromStdString(file.string());
        }
        return files;
    }

    std::vector<int> LoadedRows() {
        std::vector<int> rows;
        for (int slot = 1; slot <= kMaxSlots; ++slot)
            if (ws().slot(slot).Loaded) rows.push_back(slot);
        return rows;
    }

    // Drops the files at `point` of the main window, as a file manager's
    // drag ends; returns whether the window took the drop.
    bool DropAt(QPoint point, const QList<QUrl>& urls) {
        QMimeData data;
        data.setUrls(urls);
        QDragEnterEvent enter(point, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(&mainWindow(), &enter);
        if (!enter.isAccepted()) return false;
        QDropEvent drop(QPointF(point), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(&mainWindow(), &drop);
        ProcessEvents();
        return drop.isAccepted();
    }

    static QList<QUrl> Urls(const QStringList& files) {
        QList<QUrl> urls;
        for (const QString& file : files) urls << QUrl::fromLocalFile(file);
        return urls;
    }

    // A point of row `slot`: the middle of its slot number.
    QPoint OnRow(int slot) {
        const QWidget* label = row(slot).Label4;
        return label->mapTo(&mainWindow(), QPoint(label->width() / 2, label->height() / 2));
    }
    // A point above the rows: on the "Plot Spectra" button.
    QPoint OnTitle() {
        const QWidget* button = mainWindow().plotButton();
        return button->mapTo(&mainWindow(), QPoint(2, 2));
    }
};

TEST_F(OpenFilesTest, TwoFilesAtStartLoadIntoRowsOneAndTwoAndThePlotShows) {
    const QStringList files = Spectra(2);
    Start().LoadAtStart(files);
    ProcessEvents();
    EXPECT_EQ(LoadedRows(), (std::vector<int>{1, 2}));
    EXPECT_TRUE(RowShowsLoaded(1));
    EXPECT_EQ(row(2).Label7->text(), "s2.fits");
    EXPECT_EQ(ws().FilePath, data_.string());
    EXPECT_TRUE(messages_.empty());
    EXPECT_TRUE(PlotVisible());
    EXPECT_EQ(ws().LambdaMin, 4100);
    EXPECT_EQ(ws().LambdaMax, 4200 + 250);
}

TEST_F(OpenFilesTest, ElevenFilesAtStartLoadTenAndNameTheEleventh) {
    const QStringList files = Spectra(11);
    Start().LoadAtStart(files);
    EXPECT_EQ(LoadedRows().size(), 10u);
    EXPECT_EQ(ws().slot(10).FileName, "s10.fits");
    ASSERT_EQ(messages_.size(), 1u);
    EXPECT_EQ(messages_[0], "No empty row is left for this file, so it was not loaded:\n" + files[10].toStdString());
}

TEST_F(OpenFilesTest, AMissingFileAtStartKeepsItsRowEmpty) {
    QStringList files = Spectra(2);
    files.insert(1, QString::fromStdString((data_ / "missing.fits").string()));
    Start().LoadAtStart(files);
    EXPECT_EQ(LoadedRows(), (std::vector<int>{1, 3}));
    EXPECT_TRUE(RowShowsEmpty(2));
    ASSERT_EQ(messages_.size(), 1u);
    EXPECT_NE(messages_[0].find("Cannot open \"missing.fits\""), std::string::npos) << messages_[0];
    EXPECT_TRUE(PlotVisible());
}

TEST_F(OpenFilesTest, RelativeNamesAtStartAreFoundFromTheStartFolder) {
    WriteSpectrum(start_ / "here.fits");
    Start().LoadAtStart({"here.fits", "../data/none.fits"});
    EXPECT_EQ(LoadedRows(), (std::vector<int>{1}));
    EXPECT_EQ(ws().slot(1).FileName, "here.fits");
    EXPECT_EQ(messages_.size(), 1u);
}

TEST_F(OpenFilesTest, NoFilesAtStartChangeNothing) {
    Start().LoadAtStart({});
    EXPECT_TRUE(LoadedRows().empty());
    EXPECT_EQ(plotWindow(), nullptr);
    EXPECT_TRUE(messages_.empty());
}

TEST_F(OpenFilesTest, FilesDroppedOnARowGoThereAndIntoTheEmptyRowsBelow) {
    const QStringList files = Spectra(3);
    Start().LoadAtStart({files[0]});  // row 1 holds s1
    WriteSpectrum(data_ / "next.fits", {.crval1 = 6000});
    const QStringList dropped = {QString::fromStdString((data_ / "next.fits").string()), files[1], files[2]};
    ASSERT_TRUE(DropAt(OnRow(4), Urls(dropped)));
    EXPECT_EQ(LoadedRows(), (std::vector<int>{1, 4, 5, 6}));
    EXPECT_EQ(ws().slot(4).FileName, "next.fits");
    EXPECT_EQ(ws().slot(6).FileName, "s3.fits");
    EXPECT_TRUE(messages_.empty());
    EXPECT_TRUE(PlotVisible());

    // Dropped on a loaded row, a file replaces that row's spectrum.
    ASSERT_TRUE(DropAt(OnRow(1), Urls({files[2]})));
    EXPECT_EQ(ws().slot(1).FileName, "s3.fits");
    EXPECT_EQ(row(1).Label7->text(), "s3.fits");
}

TEST_F(OpenFilesTest, FilesDroppedAwayFromTheRowsFillTheFirstEmptyRows) {
    const QStringList files = Spectra(3);
    Start().LoadAtStart({files[0]});
    ASSERT_TRUE(DropAt(OnTitle(), Urls({files[1], files[2]})));
    EXPECT_EQ(LoadedRows(), (std::vector<int>{1, 2, 3}));
    EXPECT_EQ(ws().slot(2).FileName, "s2.fits");
}

TEST_F(OpenFilesTest, DroppedFilesThatAreNoFitsFilesAreRefusedByTheReader) {
    std::ofstream(data_ / "notes.txt") << std::string(3000, 'n');
    const QStringList files = Spectra(1);
    Start();
    ASSERT_TRUE(DropAt(OnRow(2), Urls({QString::fromStdString((data_ / "notes.txt").string()), files[0]})));
    EXPECT_EQ(messages_, std::vector<std::string>{kNotFitsMessage});
    EXPECT_TRUE(RowShowsEmpty(2));
    EXPECT_EQ(LoadedRows(), (std::vector<int>{3}));
}

TEST_F(OpenFilesTest, DropsWithoutLocalFilesAreNotTaken) {
    Start();
    EXPECT_FALSE(DropAt(OnRow(1), {QUrl("https://example.org/spectrum.fits")}));
    QMimeData text;
    text.setText("spectrum.fits");
    QDragEnterEvent enter(OnRow(1), Qt::CopyAction, &text, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(&mainWindow(), &enter);
    EXPECT_FALSE(enter.isAccepted());
    EXPECT_TRUE(LoadedRows().empty());
}

TEST_F(OpenFilesTest, AddressesAmongDroppedFilesAreNamedAsNotLoaded) {
    const QStringList files = Spectra(1);
    Start();
    ASSERT_TRUE(DropAt(OnRow(1), {QUrl::fromLocalFile(files[0]), QUrl("https://example.org/b.fits")}));
    EXPECT_EQ(LoadedRows(), (std::vector<int>{1}));
    EXPECT_EQ(messages_, std::vector<std::string>{
                             "This dropped item is no file on this computer and was not loaded:\n"
                             "https://example.org/b.fits"});
}

TEST(RowAtTwips, BandsOfTheRows) {
    struct Case {
        double y;
        int row;
    };
    for (const Case& c : {Case{0, 0}, Case{929, 0}, Case{930, 1}, Case{1080, 1}, Case{1529, 1}, Case{1530, 2},
                          Case{1080 + 600 * 9, 10}, Case{6929, 10}, Case{6930, 0}, Case{7245, 0}})
        EXPECT_EQ(RowAtTwips(c.y), c.row) << c.y;
}

TEST_F(OpenFilesTest, EveryRowsControlsLieInItsBand) {
    Start();
    const QWidget* client = mainWindow().centralWidget();
    for (int slot = 1; slot <= kMaxSlots; ++slot) {
        const QWidget* load = row(slot).Command1;
        const QRect r(load->mapTo(client, QPoint(0, 0)), load->size());
        EXPECT_EQ(RowAtTwips(PixelsToTwips(r.top())), slot);
        EXPECT_EQ(RowAtTwips(PixelsToTwips(r.bottom())), slot);
    }
}

TEST_F(OpenFilesTest, ATypedFolderPathOpensThatFolder) {
    WriteSpectrum(data_ / "alpha.fts");
    Start();
    frmLoad_FitsFile& chooser = PressLoad(1);
    TypeName(chooser, QString::fromStdString(data_.string()));
    QTest::keyClick(chooser.fileNameBox(), Qt::Key_Return);
    ProcessEvents();
    EXPECT_TRUE(chooser.isVisible());
    EXPECT_EQ(chooser.FolderPath().toStdString(), data_.string());
    EXPECT_EQ(chooser.fileNameBox()->text(), "alpha.fts");
    EXPECT_TRUE(LoadedRows().empty());
    EXPECT_TRUE(messages_.empty());

    TypeName(chooser, "../start");  // relative to the listed folder
    Click(Button(chooser, "OK"));
    EXPECT_EQ(chooser.FolderPath().toStdString(), start_.string());
}

TEST_F(OpenFilesTest, ATypedFilePathLoadsThatFileFromItsFolder) {
    WriteSpectrum(data_ / "beta.fits", {.object = "Vega"});
    Start();
    frmLoad_FitsFile& chooser = PressLoad(3);
    TypeName(chooser, QString::fromStdString((data_ / "beta.fits").string()));
    Click(Button(chooser, "OK"));
    EXPECT_FALSE(chooser.isVisible());
    EXPECT_EQ(LoadedRows(), (std::vector<int>{3}));
    EXPECT_EQ(ws().slot(3).FileName, "beta.fits");
    EXPECT_EQ(ws().FilePath, data_.string());
    EXPECT_EQ(fs::current_path(), data_);
    EXPECT_EQ(chooser.FolderPath().toStdString(), data_.string());
}

TEST_F(OpenFilesTest, ATypedPathOfAMissingFolderGoesToTheReader) {
    Start();
    frmLoad_FitsFile& chooser = PressLoad(1);
    TypeName(chooser, QString::fromStdString((root_ / "nowhere" / "x.fits").string()));
    Click(Button(chooser, "OK"));
    ASSERT_EQ(messages_.size(), 1u);
    EXPECT_NE(messages_[0].find("Cannot open \"x.fits\""), std::string::npos) << messages_[0];
    EXPECT_EQ(chooser.FolderPath().toStdString(), start_.string());
    EXPECT_FALSE(ws().slot(1).Loaded);
}

TEST_F(OpenFilesTest, ANewChooserStartsAtTheFolderOfTheLastLoad) {
    const QStringList files = Spectra(1);
    fs::create_directories(root_ / "other");
    std::ofstream(root_ / "other" / "bad.fts") << std::string(3000, 'x');
    Start().LoadAtStart(files);
    frmLoad_FitsFile* chooser = &PressLoad(2);
    EXPECT_EQ(chooser->FolderPath().toStdString(), data_.string());

    // A refused load elsewhere does not move the start of the next chooser.
    TypeName(*chooser, QString::fromStdString((root_ / "other" / "bad.fts").string()));
    Click(Button(*chooser, "OK"));
    EXPECT_EQ(messages_, std::vector<std::string>{kNotFitsMessage});
    chooser = &PressLoad(2);
    chooser->close();
    ProcessEvents();
    chooser = &PressLoad(2);
    EXPECT_EQ(chooser->FolderPath().toStdString(), data_.string());
}

}  // namespace
}  // namespace wendrel::testing
