#include "fits/table_reader.h"

#include <array>
#include <cctype>
#include <cmath>
#include <limits>
#include <optional>
#include <span>
#include <vector>

#include "fits/continuum_level.h"
#include "fits/large_pages.h"
#include "fits/spectral_axis.h"
#include "fits/spectrum_finish.h"
#include "fits/uncertainties.h"
#include "fits/quoted_name.h"

namespace wendrel {

namespace {

constexpr double kBlank = std::numeric_limits<double>::quiet_NaN();

// The names a wavelength and a flux column go by in the archives' tables,
// the first found winning.
constexpr std::array<const char*, 4> kWavelengthNames = {"WAVE", "WAVELENGTH", "LAMBDA", "LOGLAM"};
constexpr std::array<const char*, 4> kFluxNames = {"FLUX", "SPEC", "F_LAMBDA", "FLUX_REDUCED"};

// Uncertainty columns: 1-sigma errors, then inverse variances and variances.
constexpr std::array<const char*, 8> kSigmaNames = {"ERR",      "ERROR",    "SIGMA",      "STATERROR",
                                                    "FLUX_ERR", "ERR_FLUX", "FLUX_ERROR", "ERR_REDUCED"};
constexpr std::array<const char*, 3> kVarianceNames = {"IVAR", "VAR", "VARIANCE"};

struct Column {
    int number = 0;
    std::string name;
    int type = 0;  // cfitsio type code; negative for variable-length arrays
    LONGLONG repeat = 1;
    LONGLONG width = 0;  // bytes of one value in a row
};

std::string Upper(std::string text) {
    for (char& c : text) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return text;
}

std::optional<Column> FindColumn(fitsfile* fits, std::span<const std::string> names) {
    for (const std::string& name : names) {
        int status = 0, number = 0;
        // An exact name: the wildcards cfitsio would match with are not taken.
        if (name.empty() || name.find_first_of("*?#") != std::string::npos) continue;
        if (fits_get_colnum(fits, CASEINSEN, const_cast<char*>(name.c_str()), &number, &status) != 0) continue;
        Column c{number, name};
        fits_get_coltypell(fits, number, &c.type, &c.repeat, &c.width, &status);
        if (status == 0) return c;
    }
    return std::nullopt;
}

std::string KeyText(fitsfile* fits, const std::string& key) {
    char value[FLEN_VALUE] = {};
    int status = 0;
    fits_read_key(fits, TSTRING, key.c_str(), value, nullptr, &status);
    return status == 0 ? value : "";
}

std::vector<TableColumn> ColumnsOf(fitsfile* fits) {
    int status = 0, count = 0;
    fits_get_num_cols(fits, &count, &status);
    std::vector<TableColumn> columns;
    for (int k = 1; k <= count; ++k) {
        std::string name = KeyText(fits, "TTYPE" + std::to_string(k));
        columns.push_back({name.empty() ? "column " + std::to_string(k) : name, KeyText(fits, "TUNIT" + std::to_string(k))});
    }
    return columns;
}

std::string ColumnNames(const std::vector<TableColumn>& columns) {
    std::string names;
    for (const TableColumn& c : columns) names += (names.empty() ? "" : ", ") + c.name;
    return names;
}

// Whether the HDU, or else the primary header, says VACUUM = T, as SDSS and
// LAMOST write for vacuum wavelengths. The HDU stays the current one.
bool SaysVacuum(fitsfile* fits, int& status) {
    const auto flag = [&] {
        int value = 0, missing = 0;
        fits_read_key(fits, TLOGICAL, "VACUUM", &value, nullptr, &missing);
        return missing == 0 && value != 0;
    };
    if (flag()) return true;
    int here = 0, type = 0;
    fits_get_hdu_num(fits, &here);
    if (fits_movabs_hdu(fits, 1, &type, &status) != 0) return false;
    const bool primary = flag();
    fits_movabs_hdu(fits, here, &type, &status);
    return primary;
}

// Bytes of one value of a column of type `type` (a variable-length array's
// values lie in the heap).
LONGLONG ValueBytes(int type) {
    switch (std::abs(type)) {
        case TSHORT: case TUSHORT: return 2;
        case TINT: case TUINT: case TLONG: case TULONG: case TFLOAT: return 4;
        case TLONGLONG: case TDOUBLE: case TCOMPLEX: return 8;
        case TDBLCOMPLEX: return 16;
        default: return 1;
    }
}

// The sizes the table's header declares, against the bytes the file holds,
// so that no value is given memory the file cannot fill.
struct DeclaredSizes {
    LONGLONG rows = 0, rowBytes = 0, heapBytes = 0, fileBytes = 0, dataStart = 0;

    // Why the table cannot fit into the file, empty when it can.
    std::string TableProblem() const {
        const long double needed = static_cast<long double>(rows) * static_cast<long double>(rowBytes) +
                                   static_cast<long double>(heapBytes);
        if (rows >= 0 && rowBytes >= 0 && heapBytes >= 0 && needed <= static_cast<long double>(fileBytes - dataStart))
            return {};
        return "its table declares " + std::to_string(rows) + " rows of " + std::to_string(rowBytes) +
               " bytes (NAXIS2 and NAXIS1) and " + std::to_string(heapBytes) +
               " bytes of arrays (PCOUNT), more than the file's " + std::to_string(fileBytes) + " bytes hold.";
    }
    // Why `count` values of the column cannot be in a row or in the heap.
    std::string ColumnProblem(const Column& c, LONGLONG count) const {
        const bool inHeap = c.type < 0;
        const long double bytes = static_cast<long double>(count) * (inHeap ? ValueBytes(c.type) : c.width);
        if (count >= 0 && bytes <= static_cast<long double>(inHeap ? heapBytes : rowBytes)) return {};
        return "its column " + c.name + " declares " + std::to_string(count) + " values, more than " +
               (inHeap ? "the table's arrays (PCOUNT = " + std::to_string(heapBytes) + " bytes)"
                       : "a row of " + std::to_string(rowBytes) + " bytes") + " can hold.";
    }
};

DeclaredSizes SizesOf(fitsfile* fits, int& status) {
    DeclaredSizes sizes;
    fits_get_num_rowsll(fits, &sizes.rows, &status);
    fits_read_key(fits, TLONGLONG, "NAXIS1", &sizes.rowBytes, nullptr, &status);
    int missing = 0;
    fits_read_key(fits, TLONGLONG, "PCOUNT", &sizes.heapBytes, nullptr, &missing);
    LONGLONG headerStart = 0, dataEnd = 0;
    fits_get_hduaddrll(fits, &headerStart, &sizes.dataStart, &dataEnd, &status);
    sizes.fileBytes = fits->Fptr->filesize;
    return sizes;
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

// The uncertainty column of a table: the one `columns` names, else the first
// found of those named after the flux column (ERR_REDUCED for FLUX_REDUCED),
// then of the reader's error names. Its values are 1-sigma errors, inverse
// variances (IVAR...) or variances (VAR...), as its name says.
std::optional<Column> FindUncertainty(fitsfile* fits, const Column& flux, const std::optional<ColumnChoice>& columns) {
    std::vector<std::string> names;
    if (columns && !columns->uncertainty.empty()) {
        names.push_back(columns->uncertainty);
    } else {
        const std::string upper = Upper(flux.name);
        if (const size_t cut = upper.find('_'); cut != std::string::npos)
            for (const char* stem : {"ERR", "ERROR", "SIGMA", "IVAR", "VAR"}) names.push_back(stem + upper.substr(cut));
        names.insert(names.end(), kSigmaNames.begin(), kSigmaNames.end());
        names.insert(names.end(), kVarianceNames.begin(), kVarianceNames.end());
    }
    return FindColumn(fits, names);
}

// `count` values of a column from `firstRow` on; nulls and NaN become blanks.
bool ReadValues(fitsfile* fits, int column, LONGLONG firstRow, LONGLONG count, std::vector<double>& values,
                int& status) {
    values.clear();
    ReserveOnLargePages(values, static_cast<size_t>(count));
    values.resize(static_cast<size_t>(count));
    double blank = kBlank;
    int anyNull = 0;
    fits_read_col(fits, TDOUBLE, column, firstRow, 1, count, &blank, values.data(), &anyNull, &status);
    return status == 0;
}

}  // namespace

TableSpectra ReadTableSpectra(fitsfile* fits, const std::string& name, const std::string& primaryObject,
                              const std::string& primaryUnit, const std::optional<ColumnChoice>& columns) {
    TableSpectra table;
    int hduType = 0, status = 0;
    fits_get_hdu_type(fits, &hduType, &status);
    if (hduType != BINARY_TBL && hduType != ASCII_TBL) return table;
    const std::vector<std::string> waveNames =
        columns ? std::vector<std::string>{columns->wavelength} : std::vector<std::string>(kWavelengthNames.begin(), kWavelengthNames.end());
    const std::vector<std::string> fluxNames =
        columns ? std::vector<std::string>{columns->flux} : std::vector<std::string>(kFluxNames.begin(), kFluxNames.end());
    const std::optional<Column> wave = FindColumn(fits, std::span<const std::string>(waveNames));
    const std::optional<Column> flux = FindColumn(fits, std::span<const std::string>(fluxNames));
    if (!wave || !flux) {
        table.offered = ColumnsOf(fits);
        const std::string lacks = columns ? "no column named " + (!wave ? columns->wavelength : columns->flux)
                                          : !wave ? "no wavelength column" : "no flux column";
        table.columns = lacks + " (columns: " + ColumnNames(table.offered) + ").";
        return table;
    }
    const std::optional<Column> sigma = FindUncertainty(fits, *flux, columns);
    if (columns && !columns->uncertainty.empty() && !sigma) {
        table.offered = ColumnsOf(fits);
        table.columns = "no column named " + columns->uncertainty + " (columns: " + ColumnNames(table.offered) + ").";
        return table;
    }
    table.found = true;
    LoadResult& result = table.result;
    const auto refuse = [&](const std::string& shown, const std::string& text) {
        result.messages.push_back(Quoted(shown) + ": " + text);
    };

    const DeclaredSizes sizes = SizesOf(fits, status);
    if (status == 0) {
        if (std::string problem = sizes.TableProblem(); !problem.empty()) {
            refuse(name, problem);
            return table;
        }
    }

    const bool logarithmic = Upper(wave->name) == "LOGLAM";
    const std::string unit = KeyText(fits, "TUNIT" + std::to_string(wave->number));
    const std::optional<double> angstroms = logarithmic ? 1.0 : AngstromsPerUnit(unit);
    if (!angstroms) {
        refuse(name, "its wavelength column is in \"" + unit +
                         "\", a unit this program does not know (it knows Angstrom, nm, um, micron, mm, cm and m).");
        return table;
    }

    Spectrum header;
    header.Bitpix = BitpixOf(flux->type);
    // SDSS gives vacuum wavelengths as log10.
    if (logarithmic || SaysVacuum(fits, status)) header.Medium = "vacuum";
    for (const std::string& object : {KeyText(fits, "OBJECT"), KeyText(fits, "TARGNAME"), primaryObject})
        if (header.ObjectName.empty()) header.ObjectName = object;
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

    const LONGLONG rows = sizes.rows;
    const bool arrays = wave->repeat > 1 || flux->repeat > 1 || wave->type < 0 || flux->type < 0;
    const LONGLONG spectra = arrays ? rows : 1;
    result.spectraInFile = static_cast<size_t>(spectra);
    std::vector<double> waves;
    for (LONGLONG k = 1; k <= spectra && status == 0; ++k) {
        Spectrum s = header;
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
        const LONGLONG perRow = arrays ? pixels : 1;
        std::string problem = sizes.ColumnProblem(*wave, perRow);
        if (problem.empty()) problem = sizes.ColumnProblem(*flux, perRow);
        if (!problem.empty()) {
            refuse(s.FileName, problem);
            continue;
        }
        if (!ReadValues(fits, wave->number, arrays ? k : 1, pixels, waves, status) ||
            !ReadValues(fits, flux->number, arrays ? k : 1, pixels, s.Flux, status))
            break;
        if (sigma) {
            LONGLONG sigmaCount = arrays ? sigma->repeat : rows, offset = 0;
            if (arrays && sigma->type < 0) fits_read_descriptll(fits, sigma->number, k, &sigmaCount, &offset, &status);
            if (status != 0) break;
            if (sigmaCount != pixels || !sizes.ColumnProblem(*sigma, perRow).empty()) {
                result.messages.push_back(Quoted(s.FileName) + ": its uncertainty column " + sigma->name + " holds " +
                                          std::to_string(sigmaCount) + " values for " + std::to_string(pixels) +
                                          " pixels, so the uncertainties are left out.");
            } else {
                if (!ReadValues(fits, sigma->number, arrays ? k : 1, pixels, s.Sigma, status)) break;
                TakeSigma(sigma->name, s.Sigma, s.Flux);
            }
        }
        // Arrays longer than the spectrum end in wavelengths of NaN or 0.
        while (!waves.empty() && (std::isnan(waves.back()) || waves.back() == 0)) waves.pop_back();
        s.Flux.resize(waves.size());
        if (!s.Sigma.empty()) s.Sigma.resize(waves.size());
        for (double& w : waves) w = logarithmic ? std::pow(10.0, w) : w * *angstroms;
        s.Naxis1 = static_cast<double>(waves.size());
        if (problem = TakePixelCentres(s, std::move(waves)); !problem.empty()) {
            refuse(s.FileName, problem);
            continue;
        }
        std::vector<double> blockMax;
        AppendBlockMaxima(s.Flux, blockMax);
        if (problem = TakeLevelAndPercent(s, blockMax); !problem.empty()) {
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
