#include "fits/table_reader.h"

#include <array>
#include <cmath>
#include <limits>
#include <optional>
#include <span>
#include <vector>

#include "fits/continuum_level.h"
#include "fits/large_pages.h"
#include "fits/spectral_axis.h"
#include "fits/spectrum_finish.h"

namespace wendrel {

namespace {

constexpr double kBlank = std::numeric_limits<double>::quiet_NaN();

std::string Quoted(const std::string& name) { return "\"" + name + "\""; }

// The names a wavelength and a flux column go by in the archives' tables,
// the first found winning.
constexpr std::array<const char*, 4> kWavelengthNames = {"WAVE", "WAVELENGTH", "LAMBDA", "LOGLAM"};
constexpr std::array<const char*, 3> kFluxNames = {"FLUX", "SPEC", "F_LAMBDA"};

struct Column {
    int number = 0;
    std::string name;
    int type = 0;  // cfitsio type code; negative for variable-length arrays
    LONGLONG repeat = 1;
};

std::optional<Column> FindColumn(fitsfile* fits, std::span<const char* const> names) {
    for (const char* name : names) {
        int status = 0, number = 0;
        if (fits_get_colnum(fits, CASEINSEN, const_cast<char*>(name), &number, &status) != 0) continue;
        Column c{number, name};
        LONGLONG width = 0;
        fits_get_coltypell(fits, number, &c.type, &c.repeat, &width, &status);
        if (status == 0) return c;
    }
    return std::nullopt;
}

std::string ColumnNames(fitsfile* fits) {
    int status = 0, count = 0;
    fits_get_num_cols(fits, &count, &status);
    std::string names;
    for (int k = 1; k <= count; ++k) {
        char key[FLEN_KEYWORD], value[FLEN_VALUE] = {};
        fits_make_keyn("TTYPE", k, key, &status);
        int missing = 0;
        fits_read_key(fits, TSTRING, key, value, nullptr, &missing);
        names += (k > 1 ? ", " : "") + std::string(missing == 0 ? value : "column " + std::to_string(k));
    }
    return names;
}

std::string KeyText(fitsfile* fits, const std::string& key) {
    char value[FLEN_VALUE] = {};
    int status = 0;
    fits_read_key(fits, TSTRING, key.c_str(), value, nullptr, &status);
    return status == 0 ? value : "";
}

int BitpixOf(int type) {
    switch (std::abs(type)) {
        case TBYTE: case TSBYTE: return 8;
        case TSHORT: case TUSHORT: return 16;
        case TINT: case TUINT: case TLONG: case TULONG: return 32;
        case TLONGLONG: return 64;
        case TFLOAT: return -32;
        default: return -64;
    }
}

// `count` values of a column from `firstRow`, element `firstElement` on;
// nulls and NaN become blanks.
bool ReadValues(fitsfile* fits, int column, LONGLONG firstRow, LONGLONG firstElement, LONGLONG count,
                std::vector<double>& values, int& status) {
    values.clear();
    ReserveOnLargePages(values, static_cast<size_t>(count));
    values.resize(static_cast<size_t>(count));
    double blank = kBlank;
    int anyNull = 0;
    fits_read_col(fits, TDOUBLE, column, firstRow, firstElement, count, &blank, values.data(), &anyNull, &status);
    return status == 0;
}

}  // namespace

TableSpectra ReadTableSpectra(fitsfile* fits, const std::string& name, const std::string& primaryObject,
                              const std::string& primaryUnit) {
    TableSpectra table;
    int hduType = 0, status = 0;
    fits_get_hdu_type(fits, &hduType, &status);
    if (hduType != BINARY_TBL && hduType != ASCII_TBL) return table;
    const std::optional<Column> wave = FindColumn(fits, kWavelengthNames);
    const std::optional<Column> flux = FindColumn(fits, kFluxNames);
    if (!wave || !flux) {
        table.columns = std::string(!wave ? "no wavelength column" : "no flux column") + " (columns: " +
                        ColumnNames(fits) + ").";
        return table;
    }
    table.found = true;
    LoadResult& result = table.result;
    const auto refuse = [&](const std::string& shown, const std::string& text) {
        result.messages.push_back(Quoted(shown) + ": " + text);
    };

    const bool logarithmic = wave->name == "LOGLAM";
    const std::string unit = KeyText(fits, "TUNIT" + std::to_string(wave->number));
    const std::optional<double> angstroms = logarithmic ? 1.0 : AngstromsPerUnit(unit);
    if (!angstroms) {
        refuse(name, "its wavelength column is in \"" + unit +
                         "\", a unit this program does not know (it knows Angstrom, nm, um, micron, mm, cm and m).");
        return table;
    }

    Slot header;
    header.Bitpix = BitpixOf(flux->type);
    if (logarithmic) header.Medium = "vacuum";  // SDSS gives vacuum wavelengths as log10
    header.ObjectName = KeyText(fits, "OBJECT");
    if (header.ObjectName.empty()) header.ObjectName = primaryObject;
    for (const std::string& unit :
         {KeyText(fits, "TUNIT" + std::to_string(flux->number)), KeyText(fits, "BUNIT"), primaryUnit})
        if (header.FluxUnit.empty()) header.FluxUnit = unit;
    int cards = 0, more = 0;
    fits_get_hdrspace(fits, &cards, &more, &status);
    for (int k = 1; k <= cards && status == 0; ++k) {
        char card[FLEN_CARD] = {};
        fits_read_record(fits, k, card, &status);
        header.HdrCard.emplace_back(std::string(card).append(80, ' ').substr(0, 80));
    }
    header.NumCards = static_cast<int>(header.HdrCard.size());

    LONGLONG rows = 0;
    fits_get_num_rowsll(fits, &rows, &status);
    const bool arrays = wave->repeat > 1 || flux->repeat > 1 || wave->type < 0 || flux->type < 0;
    const LONGLONG spectra = arrays ? rows : 1;
    result.spectraInFile = static_cast<size_t>(spectra);
    std::vector<double> waves;
    for (LONGLONG k = 1; k <= spectra && status == 0; ++k) {
        Slot s = header;
        s.FileName = spectra == 1 ? name : SpectrumName(name, k);
        LONGLONG pixels = rows, waveCount = rows;
        if (arrays) {
            const auto length = [&](const Column& c) {
                LONGLONG count = c.repeat, offset = 0;
                if (c.type < 0) fits_read_descriptll(fits, c.number, k, &count, &offset, &status);
                return count;
            };
            waveCount = length(*wave);
            pixels = length(*flux);
        }
        if (status != 0) break;
        if (waveCount != pixels) {
            refuse(s.FileName, "its wavelength and flux arrays differ in length (" + std::to_string(waveCount) +
                                   " and " + std::to_string(pixels) + " values).");
            continue;
        }
        if (!ReadValues(fits, wave->number, arrays ? k : 1, 1, pixels, waves, status) ||
            !ReadValues(fits, flux->number, arrays ? k : 1, 1, pixels, s.Flux, status))
            break;
        for (double& w : waves) w = logarithmic ? std::pow(10.0, w) : w * *angstroms;
        s.Naxis1 = static_cast<double>(pixels);
        if (std::string problem = TakePixelCentres(s, std::move(waves)); !problem.empty()) {
            refuse(s.FileName, problem);
            continue;
        }
        std::vector<double> blockMax;
        AppendBlockMaxima(s.Flux, blockMax);
        if (std::string problem = TakeLevelAndPercent(s, blockMax); !problem.empty()) {
            result.messages.push_back(Quoted(s.FileName) + " " + problem);
            continue;
        }
        MakeWavelengthsRise(s);
        result.spectra.push_back(std::move(s));
        result.numbers.push_back(k);
    }
    if (status != 0) {
        char text[FLEN_STATUS] = {};
        fits_get_errstatus(status, text);
        refuse(name, "its table cannot be read: " + std::string(text) + ".");
        result.spectra.clear();
        result.numbers.clear();
    }
    return table;
}

}  // namespace wendrel
