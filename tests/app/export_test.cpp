// Spectra exported as shown, as CSV and as FITS tables, read back by the
// program's own reader with the same wavelengths and values.
#include <gtest/gtest.h>
#include <fitsio.h>

#include <cmath>
#include <filesystem>
#include <limits>

#include "app/slot_loading.h"
#include "app/spectrum_export.h"
#include "plot/pixel_wavelengths.h"
#include "tests/support/fits_writer.h"
#include "tests/support/recording_ui.h"
#include "tests/support/temp_folder.h"

namespace wendrel::testing {
namespace {

namespace fs = std::filesystem;

class Export : public ::testing::Test {
protected:
    // Row 2: 300 pixels of a log-linear scale with a blank pixel, drawn at
    // 667 km/s; row 4: a linear spectrum at rest.
    Export() {
        SpectrumFile s;
        for (int p = 0; p < 300; ++p) s.stored.push_back(p == 17 ? NAN : 1000 + 50 * std::sin(p / 9.0));
        s.crval1 = std::log10(6500.0);
        s.cd1_1 = 2e-5;
        s.extraCards = {IntCard("DC-FLAG", 1)};
        const fs::path logLinear = temp.Write("log.fits", SpectrumBytes(s));
        s.crval1 = 4000, s.cd1_1 = 0.25, s.extraCards = {};
        const fs::path linear = temp.Write("lin.fits", SpectrumBytes(s));
        EXPECT_TRUE(LoadIntoSlot(ws, 2, logLinear, ui));
        EXPECT_TRUE(LoadIntoSlot(ws, 4, linear, ui));
        ws.slot(2).Velocity = 667;
    }
    // The spectra an exported file reads back as: rows 2 and 4, as shown.
    void ExpectReadBackAsShown(const fs::path& file) {
        const LoadResult read = LoadFitsFile(file, ws.Config);
        EXPECT_EQ(read.messages, std::vector<std::string>{});
        ASSERT_EQ(read.spectra.size(), 2u);
        EXPECT_EQ(read.spectra[1].FileName, file.filename().string() + "#2");
        ExpectSameAsShown(read.spectra[0], ws.slot(2));
        ExpectSameAsShown(read.spectra[1], ws.slot(4));
    }
    // Same wavelengths as the row shows, same flux values, to 1e-12 relative.
    static void ExpectSameAsShown(const Spectrum& back, const Row& shown) {
        ASSERT_EQ(back.Flux.size(), shown->Flux.size());
        for (size_t p = 0; p < shown->Flux.size(); ++p) {
            const double wave = RestWavelength(shown, ObservedPixelCentre(shown.spectrum(), static_cast<int64_t>(p) + 1));
            EXPECT_NEAR(ObservedPixelCentre(back, static_cast<int64_t>(p) + 1), wave, 1e-12 * wave) << p;
            if (std::isnan(shown->Flux[p])) {
                EXPECT_TRUE(std::isnan(back.Flux[p])) << p;
            } else {
                EXPECT_NEAR(back.Flux[p], shown->Flux[p], 1e-12 * std::abs(shown->Flux[p])) << p;
            }
        }
    }

    TempFolder temp;
    Workspace ws;
    RecordingUi ui;
};

TEST_F(Export, CsvBlocksNameTheirRowsAndLoadBack) {
    const std::string text = SpectraCsvText(ws);
    const size_t second = text.find("\n# file ");
    ASSERT_NE(second, std::string::npos);
    EXPECT_TRUE(text.starts_with("# file " + (temp.path() / "log.fits").string() +
                                 ", spectrum 1, velocity 667 km/s, units: wavelength in Angstroms"))
        << text.substr(0, 200);
    EXPECT_NE(text.find("flux as stored in the file, per observed Angstrom"), std::string::npos);
    EXPECT_EQ(text.substr(text.find('\n') + 1, 24), "wavelength,flux,percent\n");
    EXPECT_NE(text.find("nan"), std::string::npos);  // the blank pixel

    ASSERT_EQ(ExportSpectra(ws, temp.path() / "both.csv"), "");
    EXPECT_EQ(FileBytes(temp.path() / "both.csv"), text);
    ExpectReadBackAsShown(temp.path() / "both.csv");
}

TEST_F(Export, FitsTablesCarryUnitsVelocityAndPercentAndLoadBack) {
    const fs::path file = temp.path() / "shown.fits";
    ASSERT_EQ(ExportSpectra(ws, file), "");
    ExpectReadBackAsShown(file);

    int status = 0, hdus = 0;
    fitsfile* fits = nullptr;
    fits_open_diskfile(&fits, file.c_str(), READONLY, &status);
    fits_get_num_hdus(fits, &hdus, &status);
    EXPECT_EQ(hdus, 3);  // the empty primary header and one table per row
    fits_movabs_hdu(fits, 3, nullptr, &status);
    char unit[FLEN_VALUE] = {}, source[FLEN_VALUE] = {};
    double velocity = -1;
    fits_read_key(fits, TSTRING, "TUNIT1", unit, nullptr, &status);
    fits_read_key(fits, TDOUBLE, "VELOCITY", &velocity, nullptr, &status);
    fits_read_key(fits, TSTRING, "SRCFILE", source, nullptr, &status);
    std::vector<double> percent(300);
    fits_read_col(fits, TDOUBLE, 3, 1, 1, 300, nullptr, percent.data(), nullptr, &status);
    fits_close_file(fits, &status);
    ASSERT_EQ(status, 0);
    EXPECT_EQ(std::tuple(std::string(unit), velocity), std::tuple("Angstrom", 0.0));
    EXPECT_EQ(std::string(source), (temp.path() / "lin.fits").string().substr(0, std::string(source).size()));
    for (size_t p = 0; p < percent.size(); ++p) {
        if (!std::isnan(ws.slot(4)->FluxPct[p])) {
            EXPECT_DOUBLE_EQ(percent[p], ws.slot(4)->FluxPct[p]) << p;
        }
    }
}

// In nm and um the wavelengths are written in that unit, named so that they read back in Angstroms.
TEST_F(Export, OtherWavelengthUnitsAreNamedAndLoadBackAsShown) {
    for (const WavelengthUnit unit : {WavelengthUnit::Nanometre, WavelengthUnit::Micrometre}) {
        ws.View.XUnit = unit;
        const std::string key(UnitKey(unit));
        const std::string text = SpectraCsvText(ws);
        const std::string names = "wavelength (" + key + "),flux,percent\n";
        EXPECT_EQ(text.substr(text.find('\n') + 1, names.size()), names);
        EXPECT_NE(text.find("units: wavelength in " + key + " at"), std::string::npos) << key;
        for (const char* name : {"shown.csv", "shown.fits"}) {
            ASSERT_EQ(ExportSpectra(ws, temp.path() / name), "");
            ExpectReadBackAsShown(temp.path() / name);
        }
        int status = 0;
        fitsfile* fits = nullptr;
        char tunit[FLEN_VALUE] = {};
        fits_open_diskfile(&fits, (temp.path() / "shown.fits").c_str(), READONLY, &status);
        fits_movabs_hdu(fits, 2, nullptr, &status);
        fits_read_key(fits, TSTRING, "TUNIT1", tunit, nullptr, &status);
        fits_close_file(fits, &status);
        EXPECT_EQ(std::string(tunit), key);
    }
}

TEST_F(Export, RefusedWithAMessageNamingTheFile) {
    EXPECT_EQ(ExportSpectra(ws, temp.path() / "shown.txt"),
              "The spectra could not be exported to \"" + (temp.path() / "shown.txt").string() +
                  "\": the name must end in .csv or .fits.");
    EXPECT_NE(ExportSpectra(ws, temp.path() / "no/such/folder.csv").find("No such file or directory"),
              std::string::npos);
    EXPECT_NE(ExportSpectra(Workspace{}, temp.path() / "x.fits").find("no spectrum is loaded"), std::string::npos);
    EXPECT_FALSE(fs::exists(temp.path() / "x.fits"));
}

}  // namespace
}  // namespace wendrel::testing
