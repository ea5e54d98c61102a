// The plot window's Tools menu: velocities found and applied to the rows'
// bars and labels, and a ratio row; then a velocity axis with a line per row.
#include <QComboBox>
#include <QDialog>
#include <QRadioButton>

#include "analysis/velocity_axis.h"
#include "app/velocity_entry.h"
#include "tests/windows/program_fixture.h"
#include "windows/plot_window.h"

namespace wendrel::testing {
namespace {

class ComparisonWindowTest : public ProgramTest {};

TEST_F(ComparisonWindowTest, FindVelocitiesAppliesThemAndDivideFillsTheNextRow) {
    for (const auto& [name, velocity] : {std::pair("a.fits", 0.0), std::pair("b.fits", 2000.0)}) {
        SpectrumFile s;
        s.cd1_1 = 0.5;
        for (int p = 0; p < 3000; ++p) {
            const double rest = (4000 + 0.5 * p) / (1 + velocity / kSpeedOfLightKms);
            double flux = 100;
            for (int k = 0; k < 25; ++k)
                flux -= 30 * std::exp(-0.5 * std::pow(rest - 4050 - 55.3 * k - 9 * std::sin(1.7 * k), 2));
            s.stored.push_back(flux);
        }
        WriteFileBytes(std::filesystem::path(DataFile(name).toStdString()), SpectrumBytes(s));
    }
    Start().LoadAtStart({DataFile("a.fits"), DataFile("b.fits")});
    ProcessEvents();
    frmPlot_Spectra& plot = MustShow<frmPlot_Spectra>("the plot");

    QString found;
    AnswerNextDialog([&](QWidget& dialog) {
        Click(dialog.findChild<QPushButton*>("find"));
        const auto* results = dialog.findChild<QListWidget*>("results");
        if (results->count() == 1) found = results->item(0)->text();
        Click(dialog.findChild<QPushButton*>("apply"));
        static_cast<QDialog&>(dialog).reject();
    });
    Choose(plot, "Tools", "Find Velocities ...");
    EXPECT_TRUE(found.startsWith("2  b.fits  ")) << found.toStdString();
    EXPECT_NEAR(ws().slot(2).Velocity, 2000, 5);
    EXPECT_EQ(row(2).Label12->text().toStdString(), VelocityText(ws().slot(2).Velocity));

    AnswerNextDialog([](QWidget& dialog) {
        dialog.findChild<QComboBox*>("rowA")->setCurrentIndex(0);
        dialog.findChild<QComboBox*>("rowB")->setCurrentIndex(1);
        static_cast<QDialog&>(dialog).accept();
    });
    Choose(plot, "Tools", "Divide ...");
    ASSERT_TRUE(ws().slot(3).Loaded());
    EXPECT_EQ(row(3).Label7->text(), "a.fits / b.fits");

    // A line per row: one picked from the Lines menu's list, one typed.
    AnswerNextDialog([](QWidget& dialog) {
        dialog.findChild<QRadioButton*>("eachRow")->setChecked(true);
        auto* first = dialog.findChild<QComboBox*>("rowRest1");
        first->setCurrentIndex(first->findText(QString::fromUtf8("H\u03b1 "), Qt::MatchStartsWith));
        dialog.findChild<QComboBox*>("rowRest2")->setEditText("4861.33");
        static_cast<QDialog&>(dialog).accept();
    });
    Choose(plot, "View", "Velocity Axis ...");
    EXPECT_GT(ws().View.VelocityRestLambda, 6562);
    EXPECT_DOUBLE_EQ(ws().slot(2).AxisScale, ws().View.VelocityRestLambda / 4861.33);
    EXPECT_TRUE(messages_.empty());
}

}  // namespace
}  // namespace wendrel::testing
