// Reading a FITS spectrum: what the file holds and what the user is to be told.
#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "store/workspace.h"

namespace wendrel {

// A column of a FITS table as a chooser lists it: its name (TTYPE) and
// unit (TUNIT, empty when it has none).
struct TableColumn {
    std::string name, unit;
    bool operator==(const TableColumn&) const = default;
};

// The columns a table's spectrum is to be read from, named by the user
// where the reader knows no pair of the table's column names.
struct ColumnChoice {
    std::string wavelength, flux;
    std::string uncertainty;  // empty: the reader looks for one by its names
};

// What one read of a file gave.
struct LoadResult {
    // The spectra read, in the file's order, each with its header cards,
    // keyword values, pixels, wavelength range, continuum level, percent
    // values and FileName: the file's name, or "name.fits#N" for the N-th of
    // a file that holds several. Empty when the file was refused.
    std::vector<Spectrum> spectra;
    // The number of each spectrum in the file, from 1 (some may have been
    // refused).
    std::vector<int64_t> numbers;
    // How many spectra the read looked for: those the file holds, or 1 when
    // one was asked for by its number.
    size_t spectraInFile = 0;
    // Warnings and refusals, in the order they arose.
    std::vector<std::string> messages;
    // When the file was refused because its tables hold no wavelength and
    // flux column of the names the reader looks for (or of the chosen
    // names): the columns of the last such table, to choose from.
    std::vector<TableColumn> tableColumns;
};

// The name of the N-th spectrum (from 1) of a file that holds several.
inline std::string SpectrumName(const std::string& fileName, int64_t number) {
    return fileName + "#" + std::to_string(number);
}

// Reads the spectra of `file` with the wavelength keywords named in `keys`:
// FITS files (told by their first card, SIMPLE), also gzip-compressed,
// their primary image or, when the primary header holds no data, the first
// extension that holds a spectrum (an image or a table); text files of
// wavelength and flux columns (named .txt, .dat, .csv, .tsv or .ascii).
// "name.fits#N", when no file has that name but name.fits exists, reads the
// N-th spectrum of name.fits alone. A path without a folder or without a
// file name is refused without a message. `columns`, when given, names the
// wavelength and flux columns of a table instead of the names the reader
// looks for.
LoadResult LoadFitsFile(const std::filesystem::path& file, const Settings& keys,
                        const std::optional<ColumnChoice>& columns = std::nullopt);

// The program's message texts the reader shows.
inline constexpr const char* kNotFitsMessage = "This is not a fits file!  Please try again.";
inline constexpr const char* kEightBitMessage =
    "Sorry, this program does not support 8-bit integer data.  Convert to 16-bit unsigned.";
inline constexpr const char* kLambda0Message = "You need to set the keyword for Lambda 0.";
inline constexpr const char* kDLambdaMessage = "You need to set the keyword for dLambda/dP.";

}  // namespace wendrel
