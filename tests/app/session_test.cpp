// Sessions saved and opened again: relative and absolute paths, a moved
// folder, missing and refused files, refused session texts; the choices kept between runs.
#include <gtest/gtest.h>

#include <filesystem>

#include "app/recent_files.h"
#include "app/view_choices.h"
#include "app/session_file.h"
#include "app/slot_loading.h"
#include "app/slot_rows.h"
#include "app/velocity_axis_rows.h"
#include "tests/support/fits_writer.h"
#include "tests/support/recording_ui.h"
#include "tests/support/temp_folder.h"

namespace wendrel::testing {
namespace {

namespace fs = std::filesystem;

class Sessions : public ::testing::Test {
protected:
    // work/a.fits, work/sub/two.fits (two apertures of 100 pixels) and
    // elsewhere/b.fits, loaded into rows 1, 3 (the second aperture) and 5,
    // with offsets, velocities and a view of their own.
    Sessions() {
        fs::create_directories(work / "sub");
        fs::create_directories(temp.path() / "elsewhere");
        SpectrumFile s;
        for (int p = 0; p < 200; ++p) s.stored.push_back(100 + p % 7);
        WriteFileBytes(work / "a.fits", SpectrumBytes(s));
        s.crval1 = 5000;
        WriteFileBytes(temp.path() / "elsewhere/b.fits", SpectrumBytes(s));
        s.extraCards = {IntCard("NAXIS", 2), IntCard("NAXIS2", 2), StringCard("APNUM1", "1 1")};
        FitsBytes two = SpectrumCards(s);
        two.cards[3] = IntCard("NAXIS1", 100);
        WriteFileBytes(work / "sub/two.fits", ToBytes(two));

        ws.Config.DLambdaKey = "CD1_1";
        EXPECT_TRUE(LoadIntoSlot(ws, 1, work / "a.fits", ui));
        EXPECT_TRUE(LoadIntoSlot(ws, 3, work / "sub/two.fits#2", ui));
        EXPECT_TRUE(LoadIntoSlot(ws, 5, temp.path() / "elsewhere/b.fits", ui));
        ws.slot(1).Offset = -42;
        ws.slot(3).Velocity = 667.123456789;
        ws.slot(5).SlotColor = 0x123456;
        RecalcLambdaRange(ws);
        SetVelocityAxis(ws, 4861.25, {0, 0, 6562.8});  // row 3 about its own line
        std::tie(ws.View.PlotLeft, ws.View.PlotRight) = std::pair(4010.1234567890123, 4150.987654321);
        std::tie(ws.View.Intensity, ws.View.IntensityLow, ws.View.IntensityHigh) =
            std::tuple(PlotView::IntensityRange::Fixed, -3.25, 170.5);
        std::tie(ws.View.ScaleFlux, ws.View.ShowLegend, ws.View.LineMarksInVacuum) = std::tuple(true, true, true);
        ws.View.LineMarkSets = {"balmer", "nad"};
        ws.View.Look = {PlotLook::Axes::Every, true, true, 1234.5, -60, true, 3, false};
        std::tie(ws.View.ShowUncertainties, ws.View.XUnit) = std::tuple(true, WavelengthUnit::Micrometre);
    }

    TempFolder temp;
    const fs::path work = temp.path() / "work";
    Workspace ws;
    RecordingUi ui;
};

TEST_F(Sessions, SavedAndOpenedAfterTheFolderMovedGivesTheSameRowsAndView) {
    ASSERT_EQ(WriteSessionFile(work / "s.wendrel", ws), "");
    const Session saved = SessionOf(ws, work / "s.wendrel");
    ASSERT_EQ(saved.Rows.size(), 3u);
    EXPECT_EQ(saved.Rows[0].File, "a.fits");
    EXPECT_EQ(std::tie(saved.Rows[1].File, saved.Rows[1].Spectrum), std::tuple("sub/two.fits", 2));
    EXPECT_EQ(saved.Rows[2].File, (temp.path() / "elsewhere/b.fits").lexically_normal().generic_string());

    fs::rename(work, temp.path() / "moved");
    Workspace opened;
    opened.Config.DLambdaKey = "CDELT1";  // the session's keys replace these
    const SessionRead read = ReadSessionFile(temp.path() / "moved/s.wendrel");
    ASSERT_TRUE(read.session) << read.error;
    EXPECT_EQ(OpenSession(opened, *read.session, temp.path() / "moved/s.wendrel", ui), 3);
    EXPECT_EQ(ui.messages, std::vector<std::string>{});
    EXPECT_EQ(ui.redraws, 1);  // once, after all the rows
    for (int row = 1; row <= kMaxSlots; ++row) {
        const Row &a = ws.slot(row), &b = opened.slot(row);
        ASSERT_EQ(a.Loaded(), b.Loaded()) << row;
        if (!a.Loaded()) continue;
        EXPECT_EQ(std::tie(a->FileName, a->NumberInFile, a->Flux, a->Lambda0, a.Offset, a.Velocity, a.SlotColor),
                  std::tie(b->FileName, b->NumberInFile, b->Flux, b->Lambda0, b.Offset, b.Velocity, b.SlotColor));
    }
    EXPECT_EQ(opened.slot(1)->SourcePath, (temp.path() / "moved/a.fits").lexically_normal().string());
    EXPECT_EQ(std::tie(opened.Config.DLambdaKey, opened.View.PlotLeft, opened.View.PlotRight, opened.View.LambdaMin, opened.View.LambdaMax),
              std::tie(ws.Config.DLambdaKey, ws.View.PlotLeft, ws.View.PlotRight, ws.View.LambdaMin, ws.View.LambdaMax));
    EXPECT_EQ(std::tie(opened.View.Intensity, opened.View.IntensityLow, opened.View.IntensityHigh, opened.View.ScaleFlux,
                       opened.View.ShowLegend, opened.View.LineMarkSets, opened.View.LineMarksInVacuum,
                       opened.View.ShowUncertainties, opened.View.XUnit, opened.View.VelocityRestLambda,
                       opened.View.VelocityRowRest, opened.slot(3).AxisScale),
              std::tie(ws.View.Intensity, ws.View.IntensityLow, ws.View.IntensityHigh, ws.View.ScaleFlux, ws.View.ShowLegend,
                       ws.View.LineMarkSets, ws.View.LineMarksInVacuum, ws.View.ShowUncertainties, ws.View.XUnit,
                       ws.View.VelocityRestLambda, ws.View.VelocityRowRest, ws.slot(3).AxisScale));
    EXPECT_EQ(opened.View.Look, ws.View.Look);
    EXPECT_TRUE(opened.DataReady);
}

TEST_F(Sessions, MissingAndRefusedFilesLeaveTheirRowsEmptyInOneMessage) {
    ASSERT_EQ(WriteSessionFile(work / "s.wendrel", ws), "");
    fs::remove(work / "a.fits");
    WriteFileBytes(temp.path() / "elsewhere/b.fits", "no spectrum");
    ws.slot(7).Data = std::make_shared<Spectrum>();  // a row the session does not name is emptied
    ui = {};
    const SessionRead read = ReadSessionFile(work / "s.wendrel");
    ASSERT_TRUE(read.session);
    EXPECT_EQ(OpenSession(ws, *read.session, work / "s.wendrel", ui), 1);
    std::vector<int> loaded;
    for (int row = 1; row <= kMaxSlots; ++row)
        if (ws.slot(row).Loaded()) loaded.push_back(row);
    EXPECT_EQ(loaded, std::vector<int>{3});
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_NE(ui.messages[0].find("a.fits: the file is missing."), std::string::npos) << ui.messages[0];
    EXPECT_NE(ui.messages[0].find("b.fits: This is not a fits file!"), std::string::npos) << ui.messages[0];
    EXPECT_EQ(ui.redraws, 1);
}

TEST_F(Sessions, NewerBrokenAndMisshapenSessionsAreRefused) {
    const std::string good = SessionText(SessionOf(ws, work / "s.wendrel"));
    ASSERT_TRUE(ParseSessionText(good, "s").session);
    const auto replaced = [&](const std::string& from, const std::string& to) {
        std::string text = good;
        return text.replace(text.find(from), from.size(), to);
    };
    const std::pair<std::string, std::string> cases[] = {
        {replaced("\"version\": 1", "\"version\": 2"), "written by a newer version"},
        {good.substr(0, good.size() / 2), "it is no JSON text"},
        {"[1, 2]", "it holds no JSON object"},
        {replaced("\"version\": 1", "\"version\": \"1\""), "\"version\" is not a number"},
        {replaced("\"row\": 5", "\"row\": 11"), "\"row\" is not a whole number from 1 to 10"},
        {replaced("\"row\": 5", "\"row\": 3"), "row 3 is given twice"},
        {replaced("\"file\": \"a.fits\"", "\"file\": \"\""), "\"file\" is not a text"},
        {replaced("\"scale\": \"flux\"", "\"scale\": \"log\""), "\"scale\" is neither flux nor percent"},
        {replaced("\"view\"", "\"View\""), "\"view\" is not an object"},
        {replaced("\"low\": -3.25", "\"low\": 500"), "the fixed intensity range does not rise"},
        {replaced("\"axes\": \"every\"", "\"axes\": \"all\""), "\"axes\" is neither classic nor every"},
        {replaced("\"lineWidth\": 3", "\"lineWidth\": 9"), "\"lineWidth\" is no whole number from 1 to 8"},
        {replaced("\"legendAt\": [", "\"legendAt\": [1, "), "\"legendAt\" is not a pair of numbers"},
        {replaced("\"xunit\": \"um\"", "\"xunit\": \"mm\""), "\"xunit\" is none of A, nm and um"},
        {replaced("\"velocityAxis\": 4861.25", "\"velocityAxis\": -1"), "\"velocityAxis\" is not a rest wavelength"},
        {replaced("\"velocityAxis\": 6562.8", "\"velocityAxis\": -2"), "a row's \"velocityAxis\" is not a rest"},
    };
    for (const auto& [text, why] : cases) {
        const SessionRead read = ParseSessionText(text, "s.wendrel");
        EXPECT_FALSE(read.session) << why;
        EXPECT_TRUE(read.error.starts_with("The session \"s.wendrel\" cannot be opened: ")) << read.error;
        EXPECT_NE(read.error.find(why), std::string::npos) << read.error;
    }
    EXPECT_NE(ReadSessionFile(work / "none.wendrel").error.find("there is no such file"), std::string::npos);
    // A session written before the look, the band and the unit were kept opens with the defaults.
    std::string older = replaced("\"xunit\": \"um\"", "\"older\": 0");
    older.replace(older.find("\"uncertainties\": true"), 21, "\"old\": 1");
    older.replace(older.find("\"velocityAxis\": 4861.25"), 23, "\"oldest\": 2");
    older.replace(older.find("\"stackCurves\""), 13, "\"unknown\"");
    const SessionRead read = ParseSessionText(older, "old.wendrel");
    ASSERT_TRUE(read.session) << read.error;
    EXPECT_EQ(std::tuple(read.session->ShowUncertainties, read.session->XUnit, read.session->VelocityRestLambda,
                         read.session->Look.StackCurves),
              std::tuple(false, WavelengthUnit::Angstrom, 0.0, true));
}

// The view's choices and the recent list kept between runs; a broken file gives the defaults.
TEST(KeptChoices, RoundTripAndDefaultsWhenBroken) {
    std::vector<std::string> list;
    for (const char* entry : {"a", "b", "c", "d", "e", "f", "g", "h", "i", "c"}) list = WithRecent(list, entry);
    EXPECT_EQ(list, (std::vector<std::string>{"c", "i", "h", "g", "f", "e", "d", "b"}));
    TempFolder temp;
    const fs::path file = ViewFilePath(temp.path() / "Wendrel3.ini");
    EXPECT_EQ(file, temp.path() / "Wendrel3-view.json");
    PlotView view;
    std::tie(view.ScaleFlux, view.ShowLegend, view.Intensity, view.IntensityLow, view.IntensityHigh) =
        std::tuple(true, true, PlotView::IntensityRange::Fixed, -5.5, 250);
    std::tie(view.LineMarkSets, view.LineMarksInVacuum, view.PlotLeft) = std::tuple(std::set<std::string>{"balmer", "nad"}, true, 6000);
    ASSERT_TRUE(WriteKeptChoices(file, view, list));
    const KeptChoices kept = ReadKeptChoices(file);
    const auto choices = [](const PlotView& v) {
        return std::tuple(v.ScaleFlux, v.ShowLegend, v.Intensity, v.IntensityLow, v.IntensityHigh, v.LineMarkSets, v.LineMarksInVacuum);
    };
    EXPECT_EQ(choices(kept.view), choices(view));
    EXPECT_EQ(kept.view.PlotLeft, PlotView().PlotLeft);  // the range is not a choice
    EXPECT_EQ(kept.recent, list);
    for (const char* broken : {"{\"version\": 1, \"recent\": [\"a\", 3]}", "{\"version\": 2, \"view\": {\"legend\": true}}", "{\"vers", ""}) {
        temp.Write("Wendrel3-view.json", broken);
        const KeptChoices read = ReadKeptChoices(file);
        EXPECT_TRUE(choices(read.view) == choices(PlotView()) && read.recent.empty()) << broken;
    }
    fs::remove(file);
    EXPECT_TRUE(ReadKeptChoices(file).recent.empty());
}

}  // namespace
}  // namespace wendrel::testing
