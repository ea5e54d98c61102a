#include "app/spectrum_export.h"

#include <fitsio.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <cctype>
#include <charconv>
#include <cstdio>
#include <cstring>
#include <vector>

#include "app/file_replace.h"
#include "plot/pixel_wavelengths.h"

namespace wendrel {

namespace {

// The shortest text that reads back as the same double.
std::string Exact(double value) {
    std::array<char, 32> buffer;
    const auto [end, ec] = std::to_chars(buffer.data(), buffer.data() + buffer.size(), value);
    (void)ec;  // 32 characters hold every double
    return std::string(buffer.data(), end);
}

// The wavelengths of the slot's pixel centres in its rest frame, in `unit`.
std::vector<double> RestCentres(const Row& shown, WavelengthUnit unit) {
    const Row s = InItsRestFrame(shown);
    std::vector<double> centres(s->Flux.size());
    for (size_t p = 0; p < centres.size(); ++p)
        centres[p] = RestWavelength(s, ObservedPixelCentre(s.spectrum(), static_cast<int64_t>(p) + 1)) /
                     AngstromsPerUnit(unit);
    return centres;
}

std::string FluxUnitText(const Row& s) {
    return "flux as stored in the file, per observed Angstrom" + (s->FluxUnit.empty() ? "" : " (" + s->FluxUnit + ")");
}

std::string LowerEnding(const std::filesystem::path& file) {
    std::string ending = file.extension().string();
    std::ranges::transform(ending, ending.begin(), [](unsigned char c) { return std::tolower(c); });
    return ending;
}

std::string CfitsioText(int status) {
    char text[FLEN_STATUS] = {};
    fits_get_errstatus(status, text);
    return text;
}

// One binary table of the slot at the end of the open file.
void WriteTable(fitsfile* fits, const Row& s, int row, WavelengthUnit unit, int& status) {
    const std::vector<double> waves = RestCentres(s, unit);
    const auto pixels = static_cast<LONGLONG>(waves.size());
    char wave[] = "WAVE", flux[] = "FLUX", percent[] = "PERCENT", err[] = "ERR", form[] = "1D";
    std::string angstrom(FitsUnitName(unit));
    char pct[] = "%";
    std::string fluxUnit = s->FluxUnit;
    char* types[] = {wave, flux, percent, err};
    char* forms[] = {form, form, form, form};
    char* units[] = {angstrom.data(), fluxUnit.data(), pct, fluxUnit.data()};
    const std::string extension = "ROW" + std::to_string(row);
    const int columns = s->Sigma.empty() ? 3 : 4;
    fits_create_tbl(fits, BINARY_TBL, pixels, columns, types, forms, units, extension.c_str(), &status);
    fits_write_col(fits, TDOUBLE, 1, 1, 1, pixels, const_cast<double*>(waves.data()), &status);
    fits_write_col(fits, TDOUBLE, 2, 1, 1, pixels, const_cast<double*>(s->Flux.data()), &status);
    fits_write_col(fits, TDOUBLE, 3, 1, 1, pixels, const_cast<double*>(s->FluxPct.data()), &status);
    if (!s->Sigma.empty()) fits_write_col(fits, TDOUBLE, 4, 1, 1, pixels, const_cast<double*>(s->Sigma.data()), &status);
    if (!s->ObjectName.empty()) fits_write_key_str(fits, "OBJECT", s->ObjectName.c_str(), "object name", &status);
    double velocity = s.Velocity, level = s->Level;
    LONGLONG number = s->NumberInFile;
    fits_write_key(fits, TDOUBLE, "VELOCITY", &velocity, "radial velocity in km/s, positive receding", &status);
    fits_write_key(fits, TLONGLONG, "SPECNUM", &number, "number of the spectrum in its source file", &status);
    fits_write_key(fits, TDOUBLE, "LEVEL", &level, "continuum level: PERCENT = 100 * FLUX / LEVEL", &status);
    fits_write_key_longwarn(fits, &status);
    fits_write_key_longstr(fits, "SRCFILE", (s->SourcePath.empty() ? s->FileName : s->SourcePath).c_str(), "the source file", &status);
    fits_write_comment(fits, "WAVE: wavelengths of the pixel centres in the rest frame of VELOCITY.", &status);
    fits_write_comment(fits, ("FLUX: " + FluxUnitText(s) + ".").c_str(), &status);
    if (!s->Sigma.empty()) fits_write_comment(fits, "ERR: the 1-sigma uncertainty of FLUX, as the file gives it.", &status);
}

// The FITS file written into a new file beside `file`, which then takes its
// place. Returns the reason it could not be, empty when it was.
// Only row `only` when it is not 0.
std::string WriteFits(const Workspace& ws, const std::filesystem::path& file, int only = 0) {
    std::error_code error;
    std::filesystem::path temp;
    for (unsigned attempt = 0; temp.empty() || std::filesystem::exists(std::filesystem::symlink_status(temp, error));
         ++attempt)
        temp = file.parent_path() /
               ("." + file.filename().string() + "-" + std::to_string(::getpid()) + "-" + std::to_string(attempt));
    int status = 0;
    fitsfile* fits = nullptr;
    if (fits_create_diskfile(&fits, temp.c_str(), &status) != 0) return CfitsioText(status);
    fits_create_img(fits, 8, 0, nullptr, &status);
    fits_write_key_str(fits, "ORIGIN", "Wendrel", "the program that wrote the file", &status);
    fits_write_comment(fits, "One binary table per spectrum, as the program showed it: WAVE, FLUX, PERCENT.",
                       &status);
    for (int row = 1; row <= kMaxSlots; ++row)
        if (ws.slot(row).Loaded() && (only == 0 || row == only))
            WriteTable(fits, ws.slot(row), row, ws.View.XUnit, status);
    int closing = 0;
    fits_close_file(fits, &closing);
    if (status == 0) status = closing;
    if (status == 0 && std::rename(temp.c_str(), file.c_str()) == 0) return {};
    const std::string reason = status != 0 ? CfitsioText(status) : std::strerror(errno);
    std::filesystem::remove(temp, error);
    return reason;
}

}  // namespace

std::string SpectraCsvText(const Workspace& ws) {
    std::string text;
    for (int row = 1; row <= kMaxSlots; ++row) {
        const Row& s = ws.slot(row);
        if (!s.Loaded()) continue;
        if (!text.empty()) text += "\n";
        text += "# file " + (s->SourcePath.empty() ? s->FileName : s->SourcePath) + ", spectrum " + std::to_string(s->NumberInFile) + ", velocity " +
                Exact(s.Velocity) + " km/s, units: wavelength in " +
                (ws.View.XUnit == WavelengthUnit::Angstrom ? "Angstroms" : std::string(UnitKey(ws.View.XUnit))) +
                " at the pixel centres in the rest frame of that velocity, " + FluxUnitText(s) + ", percent of the continuum level " + Exact(s->Level) +
                "; row " + std::to_string(row) + ", object " + s->ObjectName + "\n";
        // A unit other than Angstroms is named with the column, where the text reader finds it.
        text += ws.View.XUnit == WavelengthUnit::Angstrom ? "wavelength"
                                                          : "wavelength (" + std::string(UnitKey(ws.View.XUnit)) + ")";
        text += s->Sigma.empty() ? ",flux,percent\n" : ",flux,percent,sigma\n";
        const std::vector<double> waves = RestCentres(s, ws.View.XUnit);
        for (size_t p = 0; p < waves.size(); ++p)
            text += Exact(waves[p]) + "," + Exact(s->Flux[p]) + "," + Exact(s->FluxPct[p]) +
                    (s->Sigma.empty() ? "\n" : "," + Exact(s->Sigma[p]) + "\n");
    }
    return text;
}

std::string ExportSpectra(const Workspace& ws, const std::filesystem::path& file) {
    const std::string about = "The spectra could not be exported to \"" + file.string() + "\": ";
    if (std::ranges::none_of(ws.Slots, &Row::Loaded)) return about + "no spectrum is loaded.";
    const std::string ending = LowerEnding(file);
    std::string reason;
    if (ending == ".csv") {
        const int error = ReplaceFileWith(file, SpectraCsvText(ws));
        if (error != 0) reason = std::strerror(error);
    } else if (ending == ".fits" || ending == ".fit" || ending == ".fts") {
        reason = WriteFits(ws, file);
    } else {
        reason = "the name must end in .csv or .fits";
    }
    return reason.empty() ? std::string() : about + reason + ".";
}

std::string ExportRow(const Workspace& ws, int row, const std::filesystem::path& file) {
    if (row < 1 || row > kMaxSlots || !ws.slot(row).Loaded()) return "Row " + std::to_string(row) + " holds no spectrum.";
    const std::string reason = WriteFits(ws, file, row);
    return reason.empty() ? std::string() : "Row " + std::to_string(row) + " could not be written to \"" + file.string() + "\": " + reason + ".";
}

}  // namespace wendrel
