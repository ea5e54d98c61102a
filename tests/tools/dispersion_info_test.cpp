// wendrel-info on spectra with wavelength scales that are not linear: the
// "dispersion" it reports and, with --pixels, where each pixel starts.
#include <gtest/gtest.h>

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <cmath>
#include <cstdlib>
#include <fstream>
#include <sys/wait.h>

#include "tests/fits/fits_test_support.h"

namespace wendrel::testing {
namespace {

class DispersionInfoTest : public FitsFileTest {
protected:
    // The JSON lines of a run, and its exit status.
    std::vector<QJsonObject> Info(const std::string& arguments, int& exitCode) {
        const auto outPath = dir_ / "out.txt";
        const std::string command = "cd '" + dir_.string() + "' && '" WENDREL_INFO_PATH "' " + arguments + " >'" +
                                    outPath.string() + "' 2>/dev/null";
        const int status = std::system(command.c_str());
        exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
        std::ifstream in(outPath);
        std::vector<QJsonObject> lines;
        for (std::string line; std::getline(in, line);)
            lines.push_back(QJsonDocument::fromJson(QByteArray::fromStdString(line)).object());
        return lines;
    }
};

TEST_F(DispersionInfoTest, ReportsTheScaleAndEachPixelsStart) {
    SpectrumFile linear;
    linear.stored = Ramp(3);
    linear.crval1 = 4000.5;
    linear.cd1_1 = 0.1;
    Write(SpectrumBytes(linear), "linear.fits");

    SpectrumFile log = linear;
    log.crval1 = 3.6;
    log.cd1_1 = 1e-3;
    log.extraCards = {IntCard("DC-FLAG", 1)};
    Write(SpectrumBytes(log), "log.fits");

    SpectrumFile multispec = linear;
    multispec.crval1 = 1;
    multispec.cd1_1 = 1;
    // Linear spline with knots 6000, 6010 at pixels 1 and 3.
    multispec.extraCards = {
        StringCard("WAT2_001", "wtype=multispec spec1 = \"1 1 2 6000 5 3 0 1 2 1 0 4 1 1 3 6000 6010\"")};
    Write(SpectrumBytes(multispec), "multispec.fits");

    SpectrumFile broken = multispec;
    broken.extraCards = {StringCard("WAT2_001", "wtype=multispec spec1 = \"1 1 2 6000 5 3 0 1 2 1 0 9 1 1 3\"")};
    Write(SpectrumBytes(broken), "broken.fits");

    int exitCode = 0;
    const auto lines = Info("--pixels linear.fits log.fits multispec.fits broken.fits", exitCode);
    EXPECT_EQ(exitCode, 1);  // broken.fits is refused
    ASSERT_EQ(lines.size(), 5u);
    const auto lambdas = [](const QJsonObject& line) {
        std::vector<double> v;
        for (const auto& x : line["lambda"].toArray()) v.push_back(x.toDouble());
        return v;
    };

    EXPECT_EQ(lines[0]["dispersion"].toString(), "linear");
    EXPECT_EQ(lambdas(lines[0]), (std::vector<double>{4000.5, 4000.5 + 0.1, 4000.5 + 2 * 0.1}));
    EXPECT_EQ(lines[0]["lambdaEnd"].toDouble(), 4000.5 + 3 * 0.1);

    EXPECT_EQ(lines[1]["dispersion"].toString(), "log-linear");
    const std::vector<double> log10s = lambdas(lines[1]);
    ASSERT_EQ(log10s.size(), 3u);
    for (size_t k = 0; k < 3; ++k) EXPECT_NEAR(log10s[k], std::pow(10.0, 3.6 + 1e-3 * static_cast<double>(k)), 1e-9);
    EXPECT_NEAR(lines[1]["lambdaEnd"].toDouble(), std::pow(10.0, 3.603), 1e-9);
    EXPECT_EQ(lines[1]["lambdaStart"].toDouble(), log10s[0]);
    EXPECT_EQ(lines[1]["lambda0"].toDouble(), log10s[0]);
    EXPECT_NEAR(lines[1]["dlambda"].toDouble(), (std::pow(10.0, 3.603) - std::pow(10.0, 3.6)) / 3, 1e-9);

    EXPECT_EQ(lines[2]["dispersion"].toString(), "multispec");
    EXPECT_EQ(lambdas(lines[2]), (std::vector<double>{6000, 6005, 6010}));
    EXPECT_EQ(lines[2]["lambdaEnd"].toDouble(), 6015);

    EXPECT_FALSE(lines[3]["loaded"].toBool());
    const QJsonArray messages = lines[3]["messages"].toArray();
    ASSERT_EQ(messages.size(), 1);
    EXPECT_TRUE(messages[0].toString().contains("function type 9")) << messages[0].toString().toStdString();
    EXPECT_FALSE(lines[3].contains("dispersion"));

    // Without --pixels there is no "lambda".
    const auto plain = Info("log.fits", exitCode);
    ASSERT_EQ(plain.size(), 2u);
    EXPECT_EQ(plain[0]["dispersion"].toString(), "log-linear");
    EXPECT_FALSE(plain[0].contains("lambda"));
}

}  // namespace
}  // namespace wendrel::testing
