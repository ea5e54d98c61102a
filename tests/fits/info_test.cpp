// wendrel-info, run as a program: its JSON lines, its errors and exit codes.
#include <gtest/gtest.h>

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <sys/wait.h>

#include "tests/fits/fits_test_support.h"

namespace wendrel::testing {
namespace {

struct InfoRun {
    int exitCode = -1;
    std::vector<QJsonObject> lines;
    std::string out, err;
};

class InfoTest : public FitsFileTest {
protected:
    InfoRun Info(const std::string& arguments) {
        const auto outPath = dir_ / "out.txt", errPath = dir_ / "err.txt";
        const std::string command = "cd '" + dir_.string() + "' && '" WENDREL_INFO_PATH "' " + arguments +
                                    " >'" + outPath.string() + "' 2>'" + errPath.string() + "'";
        const int status = std::system(command.c_str());
        InfoRun run;
        run.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
        run.out = Slurp(outPath);
        run.err = Slurp(errPath);
        std::istringstream lines(run.out);
        for (std::string line; std::getline(lines, line);) {
            QJsonParseError error{};
            const QJsonDocument doc = QJsonDocument::fromJson(QByteArray::fromStdString(line), &error);
            EXPECT_EQ(error.error, QJsonParseError::NoError) << line;
            run.lines.push_back(doc.object());
        }
        return run;
    }

    static std::string Slurp(const std::filesystem::path& path) {
        std::ifstream in(path, std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), {});
    }
};

TEST_F(InfoTest, PrintsOneLinePerFileAndTheWorkspace) {
    SpectrumFile s;
    s.stored = {1, 2, 3, NAN};
    s.object = "Vega";
    s.crval1 = 4000.125;
    s.cd1_1 = 0.1;
    Write(SpectrumBytes(s), "vega.fits");
    Write("not fits", "bad.fits");

    const InfoRun run = Info("--pixels --header vega.fits bad.fits");
    EXPECT_EQ(run.exitCode, 1);
    ASSERT_EQ(run.lines.size(), 3u) << run.out;

    const QJsonObject& vega = run.lines[0];
    EXPECT_EQ(vega["slot"].toInt(), 1);
    EXPECT_EQ(vega["file"].toString(), "vega.fits");
    EXPECT_TRUE(vega["loaded"].toBool());
    EXPECT_TRUE(vega["messages"].toArray().isEmpty());
    EXPECT_EQ(vega["object"].toString(), "Vega    ");
    EXPECT_EQ(vega["bitpix"].toDouble(), -32);
    EXPECT_EQ(vega["naxis1"].toDouble(), 4);
    EXPECT_EQ(vega["dlambda"].toDouble(), 0.1);  // 17 digits read back exactly
    EXPECT_EQ(vega["lambdaEnd"].toDouble(), 4000.125 + 4 * 0.1);
    EXPECT_EQ(vega["level"].toDouble(), 3);
    EXPECT_EQ(vega["pctMax"].toDouble(), 100);
    EXPECT_EQ(vega["numCards"].toInt(), 7);
    const QJsonArray fluxPct = vega["fluxPct"].toArray();
    ASSERT_EQ(fluxPct.size(), 4);
    EXPECT_EQ(fluxPct[0].toDouble(), 1 * 100 / 3.0);
    EXPECT_TRUE(fluxPct[3].isNull());
    EXPECT_TRUE(vega["flux"].toArray()[3].isNull());
    ASSERT_EQ(vega["cards"].toArray().size(), 7);
    EXPECT_TRUE(vega["cards"].toArray()[0].toString().startsWith("SIMPLE  ="));

    const QJsonObject& bad = run.lines[1];
    EXPECT_EQ(bad["slot"].toInt(), 2);
    EXPECT_FALSE(bad["loaded"].toBool());
    EXPECT_EQ(bad["messages"].toArray(), QJsonArray{kNotFitsMessage});
    EXPECT_FALSE(bad.contains("level"));

    const QJsonObject& workspace = run.lines[2];
    EXPECT_EQ(workspace["lambdaMin"].toDouble(), 4000.125);
    EXPECT_EQ(workspace["plotRight"].toDouble(), 4000.125 + 4 * 0.1);
    EXPECT_TRUE(workspace["dataReady"].toBool());
}

TEST_F(InfoTest, KeysOptionAndMessagesInOrder) {
    SpectrumFile s;
    s.bitpix = 16;
    s.stored = {5, 6};
    s.extraCards = {RealCard("W0", 6000), RealCard("WPC", 2)};
    Write(SpectrumBytes(s), "w.fits");
    const InfoRun run = Info("--keys=W0,WPC w.fits");
    EXPECT_EQ(run.exitCode, 0);
    ASSERT_EQ(run.lines.size(), 2u);
    EXPECT_EQ(run.lines[0]["lambda0"].toDouble(), 6000);
    EXPECT_EQ(run.lines[0]["messages"].toArray(), QJsonArray{kSignedDataMessage});
    EXPECT_FALSE(run.lines[0].contains("flux"));
    EXPECT_FALSE(run.lines[0].contains("cards"));
}

TEST_F(InfoTest, NonAsciiCardsStayValidJson) {
    SpectrumFile s;
    s.stored = {5, 6};
    s.object = "Caf\xe9";
    Write(SpectrumBytes(s), "cafe.fits");
    const InfoRun run = Info("cafe.fits");
    ASSERT_EQ(run.lines.size(), 2u);
    EXPECT_EQ(run.lines[0]["object"].toString(), QString::fromLatin1("Caf\xe9    "));
}

TEST_F(InfoTest, WrongUsageIsAnErrorOnStandardError) {
    Write(FloatSpectrum({1}), "one.fits");
    std::string eleven;
    for (int i = 0; i < 11; ++i) eleven += " one.fits";
    const struct { std::string arguments; std::string mentions; } cases[] = {
        {"", "no FITS file"},
        {eleven, "11 files"},
        {"--frobnicate one.fits", "unknown option --frobnicate"},
        {"--keys one.fits", "two keyword names"},
        {"one.fits --keys", "--keys needs a value"},
        {"--pixels=yes one.fits", "--pixels takes no value"},
        {"''", "empty file name"},
        {"/", "does not name a file"},
    };
    for (const auto& c : cases) {
        const InfoRun run = Info(c.arguments);
        EXPECT_EQ(run.exitCode, 2) << c.arguments;
        EXPECT_TRUE(run.out.empty()) << c.arguments;
        EXPECT_NE(run.err.find(c.mentions), std::string::npos) << c.arguments << ": " << run.err;
    }
    const InfoRun ten = Info(eleven.substr(9));
    EXPECT_EQ(ten.exitCode, 0);
    EXPECT_EQ(ten.lines.size(), 11u);
}

}  // namespace
}  // namespace wendrel::testing
