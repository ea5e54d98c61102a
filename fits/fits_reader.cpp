#include "fits/fits_reader.h"

#include <charconv>
#include <new>
#include <stdexcept>

#include "fits/cfitsio_file.h"
#include "fits/error_image.h"
#include "fits/extension_reader.h"
#include "fits/gzip_file.h"
#include "fits/header_cards.h"
#include "fits/image_reader.h"
#include "fits/input_file.h"
#include "fits/text_reader.h"
#include "fits/quoted_name.h"

namespace wendrel {

namespace {

LoadResult Refused(std::string message) {
    LoadResult result;
    result.messages.push_back(std::move(message));
    return result;
}

bool HasTextEnding(const std::filesystem::path& name) {
    std::string ending = name.extension().string();
    for (char& c : ending) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    for (const char* text : {".txt", ".dat", ".csv", ".tsv", ".ascii"})
        if (ending == text) return true;
    return false;
}

// A primary header that says NAXIS = 0 holds no data: the spectrum is in an
// extension.
bool PrimaryHoldsNoData(InputFile& file) {
    KeywordScan scan;
    scan.Watch("NAXIS");
    WalkHeaderCards(file, [&](int64_t, std::string_view card) {
        const std::string key = CardKeyword(card);
        if (IsEndKeyword(key)) return false;
        scan.Take(key, CardValueText(card));
        return true;
    });
    return scan.Has("NAXIS") && scan.Number("NAXIS") == 0;
}

LoadResult ReadFile(const std::filesystem::path& path, const std::string& name, const Settings& keys,
                    const std::optional<ColumnChoice>& columns) {
    std::string problem;
    std::unique_ptr<InputFile> file = InputFile::Open(path, name, problem);
    if (!file) return Refused(problem);
    if (IsGzip(*file)) {
        std::optional<std::string> bytes = Gunzip(*file, problem);
        if (!bytes) return Refused(Quoted(name) + " is compressed with gzip, but " + problem);
        file = InputFile::FromBytes(std::move(*bytes));
    }
    if (FirstKeyword(*file) != "SIMPLE") {
        if (HasTextEnding(path.stem()) || HasTextEnding(path)) return ReadTextSpectra(*file, name);
        return Refused(kNotFitsMessage);
    }
    if (PrimaryHoldsNoData(*file)) return ReadExtensionSpectra(*file, path, name, keys, columns);
    const auto errorImage = [&](int64_t pixels, std::vector<std::string>& messages) -> std::optional<Uncertainties> {
        const CfitsioFile fits(*file, path, name);
        return fits.Get() ? ReadErrorImage(fits.Get(), 1, pixels, name, messages) : std::nullopt;
    };
    return ReadImageHdu(*file, 0, name, keys, errorImage);
}

// "name.fits#N": the number N, or 0 when the name does not end so.
int64_t SpectrumNumber(const std::string& name, std::string& fileName) {
    const size_t hash = name.rfind('#');
    if (hash == std::string::npos || hash == 0) return 0;
    int64_t number = 0;
    const char* end = name.data() + name.size();
    const auto [stop, error] = std::from_chars(name.data() + hash + 1, end, number);
    if (error != std::errc() || stop != end || number < 1) return 0;
    fileName = name.substr(0, hash);
    return number;
}

// Reads `file` (or the N-th spectrum of "name.fits#N") as LoadFitsFile.
LoadResult ReadSpectra(const std::filesystem::path& file, const std::string& name, const Settings& keys,
                       const std::optional<ColumnChoice>& columns) {
    std::error_code error;
    std::string fileName;
    const int64_t number = SpectrumNumber(name, fileName);
    const std::filesystem::path whole = file.parent_path() / fileName;
    if (number == 0 || std::filesystem::exists(std::filesystem::symlink_status(file, error)) ||
        !std::filesystem::exists(whole, error))
        return ReadFile(file, name, keys, columns);

    LoadResult all = ReadFile(whole, fileName, keys, columns);
    LoadResult one;
    one.messages = std::move(all.messages);
    one.tableColumns = std::move(all.tableColumns);
    one.spectraInFile = 1;
    for (size_t k = 0; k < all.spectra.size(); ++k) {
        if (all.numbers[k] != number) continue;
        one.spectra.push_back(std::move(all.spectra[k]));
        one.numbers.push_back(number);
    }
    if (one.spectra.empty() && all.spectraInFile > 0 && static_cast<size_t>(number) > all.spectraInFile)
        one.messages.push_back(Quoted(fileName) + " holds " + std::to_string(all.spectraInFile) +
                               (all.spectraInFile == 1 ? " spectrum" : " spectra") + ", so it has no spectrum " +
                               std::to_string(number) + ".");
    return one;
}

}  // namespace

LoadResult LoadFitsFile(const std::filesystem::path& file, const Settings& keys,
                        const std::optional<ColumnChoice>& columns) {
    const std::string name = file.filename().string();
    if (file.parent_path().empty() || name.empty()) return {};
    try {
        return ReadSpectra(file, name, keys, columns);
    } catch (const std::bad_alloc&) {
    } catch (const std::length_error&) {
    }
    std::error_code error;
    const uintmax_t size = std::filesystem::file_size(file, error);
    return Refused(Quoted(name) + (error ? "" : " (" + std::to_string(size) + " bytes)") +
                   " cannot be loaded: the memory of this computer ran out while reading it.");
}

}  // namespace wendrel
