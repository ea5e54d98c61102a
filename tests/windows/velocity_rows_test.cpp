// The rows' velocity bars and value labels through the program: steps, the
// shift of the slot, redraws only with data, the reset on load and the
// exact value typed into an input box.
#include <QInputDialog>
#include <QTimer>

#include "store/rest_frame.h"
#include "tests/windows/program_fixture.h"

namespace wendrel::testing {
namespace {

class VelocityRowsTest : public ProgramTest {
protected:
    void SetUp() override {
        ProgramTest::SetUp();
        WriteSpectrum(data_ / "blue.fts", {.object = "Blue", .crval1 = 4000, .cd1_1 = 1, .pixels = 250});
        WriteSpectrum(data_ / "red.fts", {.object = "Red", .crval1 = 6000, .cd1_1 = 2, .pixels = 300});
    }

    void StartWithBlue() {
        Start();
        LoadThroughChooser(1, data_, "blue.fts");
        ASSERT_TRUE(messages_.empty());
        ASSERT_TRUE(ws().slot(1).Loaded);
    }

    // Double-clicks the velocity label of a row and, once the input box is
    // up, lets `answer` fill it in; returns whether a box came up.
    bool TypeVelocity(int slot, const std::function<void(QInputDialog&)>& answer) {
        bool asked = false;
        QTimer::singleShot(0, [&] {
            auto* box = qobject_cast<QInputDialog*>(QApplication::activeModalWidget());
            if (!box) return;
            asked = true;
            EXPECT_EQ(box->inputMode(), QInputDialog::IntInput);
            answer(*box);
        });
        QTest::mouseDClick(row(slot).Label12, Qt::LeftButton);
        ProcessEvents();
        return asked;
    }
};

TEST_F(VelocityRowsTest, BarStepsByOneAndOneHundredAndShiftsTheSlot) {
    StartWithBlue();
    QScrollBar* bar = row(1).HScroll1;
    bar->triggerAction(QAbstractSlider::SliderSingleStepAdd);  // the right arrow button
    EXPECT_EQ(ws().slot(1).Velocity, 1);
    EXPECT_EQ(row(1).Label12->text(), "1");
    bar->triggerAction(QAbstractSlider::SliderPageStepAdd);  // a click in the trough
    EXPECT_EQ(ws().slot(1).Velocity, 101);
    EXPECT_EQ(row(1).Label12->text(), "101");
    bar->setValue(-40000);
    EXPECT_EQ(ws().slot(1).Velocity, -32767);
    EXPECT_EQ(row(1).Label12->text(), "-32767");
    EXPECT_DOUBLE_EQ(ws().LambdaMin, 4000 / RestFrameFactor(-32767));
    EXPECT_DOUBLE_EQ(ws().LambdaMax, 4250 / RestFrameFactor(-32767));
}

TEST_F(VelocityRowsTest, AChangeWithDataRedrawsAndSoOpensThePlot) {
    StartWithBlue();
    ASSERT_EQ(plotWindow(), nullptr);
    row(1).HScroll1->setValue(667);
    ProcessEvents();
    EXPECT_TRUE(PlotVisible());
    EXPECT_DOUBLE_EQ(ws().PlotLeft, 4000 / RestFrameFactor(667));  // the view showed all and follows
}

TEST_F(VelocityRowsTest, AChangeWithoutDataOnlySetsVelocityAndCaption) {
    StartWithBlue();
    Click(row(1).Command2);
    ASSERT_FALSE(ws().DataReady);
    row(1).HScroll1->setValue(250);
    ProcessEvents();
    EXPECT_EQ(ws().slot(1).Velocity, 250);
    EXPECT_EQ(row(1).Label12->text(), "250");
    EXPECT_EQ(plotWindow(), nullptr);
}

TEST_F(VelocityRowsTest, ALoadPutsBarLabelAndVelocityBackToZeroWithoutARedraw) {
    StartWithBlue();
    row(1).HScroll1->setValue(500);
    ProcessEvents();
    ASSERT_TRUE(PlotVisible());
    plotWindow()->close();  // PlotShown false: the load itself draws nothing
    ProcessEvents();
    LoadThroughChooser(1, data_, "red.fts");
    EXPECT_EQ(row(1).Label7->text(), "red.fts");
    EXPECT_EQ(ws().slot(1).Velocity, 0);
    EXPECT_EQ(row(1).HScroll1->value(), 0);
    EXPECT_EQ(row(1).Label12->text(), "0");
    EXPECT_EQ(plotWindow(), nullptr);  // resetting the bar is no velocity change
    // Slot 2, loaded fresh, starts at 0 too.
    LoadThroughChooser(2, data_, "blue.fts");
    EXPECT_EQ(row(2).HScroll1->value(), 0);
    EXPECT_EQ(row(2).Label12->text(), "0");
}

TEST_F(VelocityRowsTest, DoubleClickOnTheValueAsksForAnExactVelocity) {
    StartWithBlue();
    ASSERT_TRUE(TypeVelocity(1, [](QInputDialog& box) {
        EXPECT_EQ(box.intValue(), 0);
        EXPECT_EQ(box.intMinimum(), -32767);
        EXPECT_EQ(box.intMaximum(), 32767);
        box.setIntValue(-1234);
        box.accept();
    }));
    EXPECT_EQ(row(1).HScroll1->value(), -1234);
    EXPECT_EQ(ws().slot(1).Velocity, -1234);
    EXPECT_EQ(row(1).Label12->text(), "-1234");
    EXPECT_TRUE(PlotVisible());

    // Cancelled, nothing changes; too large a value is held to the bar's end.
    ASSERT_TRUE(TypeVelocity(1, [](QInputDialog& box) {
        EXPECT_EQ(box.intValue(), -1234);
        box.setIntValue(77);
        box.reject();
    }));
    EXPECT_EQ(ws().slot(1).Velocity, -1234);
    ASSERT_TRUE(TypeVelocity(1, [](QInputDialog& box) {
        box.setIntValue(99999);
        box.accept();
    }));
    EXPECT_EQ(ws().slot(1).Velocity, 32767);
    EXPECT_EQ(row(1).Label12->text(), "32767");
}

}  // namespace
}  // namespace wendrel::testing
