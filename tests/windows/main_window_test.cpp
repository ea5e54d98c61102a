// The main window: its look at start, a row's offset, velocity and Unload,
// File > Exit writing the settings file, and files named at start or dropped.
#include <QDropEvent>
#include <QFileDialog>
#include <QInputDialog>
#include <QMimeData>
#include <QUrl>

#include "app/settings_file.h"
#include "tests/windows/program_fixture.h"
#include "windows/about_box.h"

namespace wendrel::testing {

class MainWindowTest : public ProgramTest {
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

static std::string Settings(const std::string& from, const std::string& to) {
    std::string text = SettingsFileText(wendrel::Settings{});
    return text.replace(text.find(from), from.size(), to);
}

// Stored off every screen, the window opens on one. At the end the places go
// into the start folder, wherever the loads were; an open window vanishes
// without storing its place.
TEST_F(MainWindowTest, EmptyRowsOnAScreenARowsControlsAndExitWritingThePlaces) {
    std::ofstream(SettingsFile(), std::ios::binary) << Settings("200,200", "30000,30000");
    WriteSpectrum(data_ / "blue.fts");
    Start();
    EXPECT_TRUE(mainWindow().isVisible() && OnAScreen(mainWindow()));
    for (int slot = 1; slot <= kMaxSlots; ++slot) EXPECT_TRUE(RowShows(slot, false)) << slot;
    Click(mainWindow().plotButton());
    EXPECT_EQ(Shown<frmPlot_Spectra>(), nullptr);  // nothing to plot yet

    LoadThroughChooser(1, "blue.fts");
    EXPECT_EQ(Shown<frmPlot_Spectra>(), nullptr);  // a load opens no plot
    row(1).Command4->setFocus();  // Tab runs on through the row's bars: offset, then velocity
    QTest::keyClicks(row(1).Command4, "\t\t");
    EXPECT_EQ(mainWindow().focusWidget(), row(1).HScroll1);
    QTest::keyClick(row(1).VScroll1, Qt::Key_Down);
    ProcessEvents();
    EXPECT_EQ(std::pair(ws().slot(1).Offset, row(1).Label10->text()), std::pair(-74, QString("-74")));
    EXPECT_NE(Shown<frmPlot_Spectra>(), nullptr);
    for (const char* typed : {" 796.9 ", "abc"}) {  // a double click asks for the velocity
        AnswerNextDialog([typed](QWidget& dialog) {
            if (auto* box = qobject_cast<QInputDialog*>(&dialog)) box->setTextValue(typed);
            static_cast<QDialog&>(dialog).accept();
        });
        QTest::mouseDClick(row(1).Label12, Qt::LeftButton);
        ProcessEvents();
    }
    EXPECT_EQ(std::tuple(ws().slot(1).Velocity, row(1).HScroll1->value(), row(1).Label12->text(), messages_),
              std::tuple(796.9, 797, QString("796.9"), std::vector<std::string>{"\"abc\" is not a velocity in km/s or a redshift z=..."}));
    messages_.clear();
    Click(row(1).Command2);
    EXPECT_TRUE(RowShows(1, false));
    EXPECT_EQ(Shown<frmPlot_Spectra>(), nullptr);
    mainWindow().move(40, 30);
    PressLoad(2).move(20, 10);
    ProcessEvents();
    Click(Button(MustShow<frmLoad_FitsFile>("the chooser"), "Cancel"));
    Choose(mainWindow(), "Help", "About");
    MustShow<frmAbout>("About").move(350, 360);
    Choose(mainWindow(), "File", "Exit");
    EXPECT_EQ(ended_, 1);
    EXPECT_FALSE(std::filesystem::exists(data_ / "Wendrel3.ini"));
    EXPECT_EQ(FileBytes(SettingsFile()), Settings("200,200\r\n500,500", "600,450\r\n300,150"));
    EXPECT_TRUE(messages_.empty());
}

// Files named at start fill the rows from the first; a dropped file goes to
// the row it falls on, or to the first empty rows.
TEST_F(MainWindowTest, FilesNamedAtStartOrDroppedLoadIntoRowsAndShowThePlot) {
    WriteSpectrum(start_ / "here.fits", "A", 4100);
    for (const char* name : {"a.fits", "b.fits"}) WriteSpectrum(data_ / name, "B", 4200);
    Start().LoadAtStart({"here.fits", DataFile("missing.fits")});
    ProcessEvents();
    EXPECT_EQ(LoadedRows(), std::vector<int>{1});
    ASSERT_EQ(messages_.size(), 1u);
    EXPECT_TRUE(messages_[0].starts_with("missing.fits: ")) << messages_[0];
    EXPECT_NE(Shown<frmPlot_Spectra>(), nullptr);
    messages_.clear();
    const QUrl remote("https://example.org/d.fits");
    EXPECT_FALSE(DropOn(2, {remote}));  // no local file: not taken
    ASSERT_TRUE(DropOn(4, {Local("a.fits")}));
    ASSERT_TRUE(DropOn(0, {Local("b.fits"), remote}));
    EXPECT_EQ(LoadedRows(), (std::vector<int>{1, 2, 4}));
    EXPECT_EQ(QStringList({row(2).Label7->text(), row(4).Label7->text()}), QStringList({"b.fits", "a.fits"}));
    EXPECT_EQ(messages_, std::vector<std::string>{"This dropped item is no file on this computer and was not "
                                                  "loaded:\nhttps://example.org/d.fits"});
    // A file's name and its OBJECT are shown as they are, not as markup (the value ends at its first "/").
    WriteSpectrum(data_ / "<i>tag.fts", "M31 <i>core</i>");
    ASSERT_TRUE(DropOn(5, {Local("<i>tag.fts")}));
    EXPECT_EQ(std::tuple(row(5).Label7->text(), row(5).Label8->text(), row(5).Label7->textFormat(), row(5).Label8->textFormat()),
              std::tuple(QString("<i>tag.fts"), QString("M31 <i>core"), Qt::PlainText, Qt::PlainText));
}

// File > Open: Qt's file dialog, spectra first, in the folder of the last
// load; the chosen files fill the next empty rows.
TEST_F(MainWindowTest, FileOpenLoadsSeveralFilesIntoTheNextEmptyRows) {
    for (const char* name : {"a.fits", "b.fits", "c.fits"}) WriteSpectrum(data_ / name, "B", 4200);
    Start().LoadAtStart({DataFile("a.fits")});
    QString folder, filter;
    AnswerNextDialog([&](QWidget& dialog) {
        auto* files = qobject_cast<QFileDialog*>(&dialog);
        ASSERT_NE(files, nullptr);
        std::tie(folder, filter) = std::tuple(files->directory().absolutePath(), files->nameFilters().value(0));
        files->findChild<QLineEdit*>("fileNameEdit")->setText("\"b.fits\" \"c.fits\"");
        static_cast<QDialog&>(dialog).accept();
    });
    Choose(mainWindow(), "File", "Open ...");
    EXPECT_EQ(folder.toStdString(), data_.string());
    EXPECT_TRUE(filter.startsWith("Spectra (*.fits")) << filter.toStdString();
    EXPECT_EQ(LoadedRows(), (std::vector<int>{1, 2, 3}));
    EXPECT_EQ(QStringList({row(2).Label7->text(), row(3).Label7->text()}), QStringList({"b.fits", "c.fits"}));
}

}  // namespace wendrel::testing

namespace wendrel::testing {

// A session saved, refused when broken, opened over changed rows after the
// question, and named at start of a new run, which finds it in File > Recent.
TEST_F(ProgramTest, SessionsAndTheRecentList) {
    frmPlot_Spectra& plot = StartWithTwoSpectra();
    ws().View.LineMarkSets = {"balmer"};
    const std::filesystem::path session = data_ / "two.wendrel";
    ASSERT_TRUE(program_->SaveSessionTo(session));
    EXPECT_EQ(program_->RecentEntries(),
              (std::vector<std::string>{session.string(), (data_ / "s2.fits").string(), (data_ / "s1.fits").string()}));

    Click(row(1).Command2);
    ws().View.LineMarkSets.clear();
    program_->OpenSessionFile(data_ / "none.wendrel");
    ASSERT_EQ(messages_.size(), 1u);
    EXPECT_NE(messages_[0].find("there is no such file"), std::string::npos);
    std::vector<std::string> questions;
    bool answer = false;
    program_->SetQuestionBox([&](const std::string& text) { return questions.push_back(text), answer; });
    program_->OpenSessionFile(session);
    EXPECT_EQ(LoadedRows(), std::vector<int>{2});
    answer = true;
    program_->OpenSessionFile(session);
    EXPECT_EQ(questions.size(), 2u);
    EXPECT_EQ(LoadedRows(), (std::vector<int>{1, 2}));
    EXPECT_TRUE(RowShows(1, true));
    EXPECT_TRUE(plot.findChild<QAction*>("mLine_balmer")->isChecked());

    program_.reset();
    Start().LoadAtStart({QString::fromStdString(session.string())});
    ProcessEvents();
    EXPECT_EQ(LoadedRows(), (std::vector<int>{1, 2}));
    EXPECT_EQ(messages_.size(), 1u);
    EXPECT_EQ(program_->RecentEntries().front(), session.string());
}

}  // namespace wendrel::testing
