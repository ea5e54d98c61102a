// Files named at start and files dropped on the main window load into rows
// and show the plot; dropped addresses of no local file are refused or named.
#include <QDropEvent>
#include <QMimeData>
#include <QUrl>

#include "tests/windows/program_fixture.h"

namespace wendrel::testing {
namespace {

class OpenFilesTest : public ProgramTest {
protected:
    // Drops the urls on the middle of row `slot`'s number (0: on the Plot
    // Spectra button, above the rows); returns whether the window took them.
    bool DropOn(int slot, const QList<QUrl>& urls) {
        const QWidget* target = slot ? static_cast<QWidget*>(row(slot).Label4) : mainWindow().plotButton();
        const QPoint point = target->mapTo(&mainWindow(), target->rect().center());
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

    QUrl Local(const std::string& name) const { return QUrl::fromLocalFile(DataFile(name)); }
};

TEST_F(OpenFilesTest, FilesNamedAtStartLoadIntoTheRowsAndThePlotShows) {
    WriteSpectrum(start_ / "here.fits", "A", 4100);
    WriteSpectrum(data_ / "s2.fits", "B", 4200);
    Start().LoadAtStart({"here.fits", DataFile("missing.fits"), DataFile("s2.fits")});
    ProcessEvents();
    EXPECT_EQ(LoadedRows(), (std::vector<int>{1, 2}));  // s2.fits takes the row missing.fits left empty
    EXPECT_TRUE(RowShows(2, true) && RowShows(3, false));
    ASSERT_EQ(messages_.size(), 1u);
    EXPECT_TRUE(messages_[0].starts_with("missing.fits: ")) << messages_[0];
    EXPECT_NE(Shown<frmPlot_Spectra>(), nullptr);
    EXPECT_EQ(std::pair(ws().LambdaMin, ws().LambdaMax), std::pair(4100.0, 4450.0));
}

TEST_F(OpenFilesTest, DroppedFilesGoToTheRowTheyFallOnOrTheFirstEmptyRows) {
    for (const char* name : {"a.fits", "b.fits", "c.fits"}) WriteSpectrum(data_ / name);
    Start();
    EXPECT_FALSE(DropOn(2, {QUrl("https://example.org/d.fits")}));  // no local file: not taken
    ASSERT_TRUE(DropOn(4, {Local("a.fits"), Local("b.fits")}));
    EXPECT_EQ(LoadedRows(), (std::vector<int>{4, 5}));
    EXPECT_NE(Shown<frmPlot_Spectra>(), nullptr);
    ASSERT_TRUE(DropOn(4, {Local("c.fits")}));  // replaces the row's spectrum
    EXPECT_EQ(row(4).Label7->text(), "c.fits");
    ASSERT_TRUE(DropOn(1, {Local("a.fits")}));
    ASSERT_TRUE(DropOn(0, {Local("c.fits"), QUrl("https://example.org/d.fits")}));
    EXPECT_EQ(LoadedRows(), (std::vector<int>{1, 2, 4, 5}));
    EXPECT_EQ(ws().slot(2).FileName, "c.fits");
    EXPECT_EQ(messages_, std::vector<std::string>{"This dropped item is no file on this computer and was not loaded:\n"
                                                  "https://example.org/d.fits"});
}

}  // namespace
}  // namespace wendrel::testing
