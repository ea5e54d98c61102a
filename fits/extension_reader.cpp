#include "fits/extension_reader.h"

#include <fitsio.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdlib>
#include <memory>

#include "fits/cfitsio_file.h"
#include "fits/error_image.h"
#include "fits/image_reader.h"
#include "fits/table_reader.h"
#include "fits/unpacked_stream.h"
#include "fits/quoted_name.h"

namespace wendrel {

namespace {

// A tile-compressed image unpacked into the bytes of a FITS file, and where
// the image's header starts in them: cfitsio writes an image that was an
// extension (ZTENSION) behind an empty primary header. Nothing, with `status`
// set, when it cannot be unpacked.
struct Unpacked {
    std::string bytes;
    int64_t headerStart = 0;
};
std::optional<Unpacked> UnpackedImage(fitsfile* compressed, int& status) {
    size_t size = 2880 * 4;
    void* memory = std::malloc(size);
    fitsfile* out = nullptr;
    if (!memory || fits_create_memfile(&out, &memory, &size, 2880 * 16, std::realloc, &status) != 0) {
        std::free(memory);
        return std::nullopt;
    }
    fits_img_decompress(compressed, out, &status);
    LONGLONG headerStart = 0, dataStart = 0, dataEnd = 0;
    if (status == 0) fits_get_hduaddrll(out, &headerStart, &dataStart, &dataEnd, &status);
    int closing = 0;
    fits_close_file(out, &closing);  // the memory stays; cfitsio leaves it to its owner
    std::optional<Unpacked> unpacked;
    if (status == 0 && closing == 0) unpacked = Unpacked{std::string(static_cast<const char*>(memory), size), headerStart};
    std::free(memory);
    if (closing != 0 && status == 0) status = closing;
    return unpacked;
}

// The bytes of the current image unpacked, as its header declares them.
double ImageBytes(fitsfile* fits) {
    int status = 0, bitpix = 0, naxis = 0;
    std::array<LONGLONG, 9> naxes{};
    fits_get_img_paramll(fits, static_cast<int>(naxes.size()), &bitpix, &naxis, naxes.data(), &status);
    double bytes = std::abs(bitpix) / 8.0;
    for (int k = 0; k < std::min<int>(naxis, naxes.size()); ++k) bytes *= static_cast<double>(naxes[k]);
    return status == 0 ? bytes : 0;
}

// The spectra of the table at `hdu` and of the tables right after it that
// hold spectra too (one table per spectrum, as the program's export writes
// them), numbered on through the file; the first HDU without one ends them,
// as the tables of other kinds that follow an archive's spectrum do.
template <typename ReadTable>
LoadResult WithFollowingTables(fitsfile* fits, int hdu, LoadResult all, ReadTable readTable, const std::string& name) {
    for (int next = hdu + 1;; ++next) {
        int type = 0, status = 0;
        if (fits_movabs_hdu(fits, next, &type, &status) != 0 || type == IMAGE_HDU) break;
        TableSpectra more = readTable(fits);
        if (!more.found) break;
        const auto before = static_cast<int64_t>(all.spectraInFile);
        for (size_t k = 0; k < more.result.spectra.size(); ++k) {
            all.spectra.push_back(std::move(more.result.spectra[k]));
            all.numbers.push_back(before + more.result.numbers[k]);
        }
        all.spectraInFile += more.result.spectraInFile;
        all.messages.insert(all.messages.end(), more.result.messages.begin(), more.result.messages.end());
    }
    if (all.spectraInFile > 1)
        for (size_t k = 0; k < all.spectra.size(); ++k) all.spectra[k].FileName = SpectrumName(name, all.numbers[k]);
    return all;
}

}  // namespace

LoadResult ReadExtensionSpectra(InputFile& file, const std::filesystem::path& path, const std::string& name,
                                const Settings& keys, const std::optional<ColumnChoice>& columns) {
    LoadResult result;
    const auto refuse = [&](const std::string& text) {
        result.messages.push_back(Quoted(name) + " " + text);
        return result;
    };
    const CfitsioFile fits(file, path, name);
    fitsfile* opened = fits.Get();
    if (!opened) return refuse("cannot be read as FITS: " + CfitsioText(fits.Status()) + ".");
    int status = 0;
    const auto primaryText = [&](const char* key) {
        char value[FLEN_VALUE] = {};
        int missing = 0;
        fits_read_key(opened, TSTRING, key, value, nullptr, &missing);
        return missing == 0 ? std::string(value) : std::string();
    };
    const std::string primaryObject = primaryText("OBJECT"), primaryUnit = primaryText("BUNIT");
    // What an image extension leaves out, the primary header may say.
    const auto withPrimary = [&](LoadResult read) {
        for (Spectrum& s : read.spectra) {
            if (s.ObjectName.empty()) s.ObjectName = primaryObject;
            if (s.FluxUnit.empty()) s.FluxUnit = primaryUnit;
        }
        return read;
    };

    std::string tablesSeen;  // what the tables without a spectrum hold, for the refusal
    for (int hdu = 2;; ++hdu) {
        int type = 0;
        if (fits_movabs_hdu(opened, hdu, &type, &status) != 0) break;
        if (type == IMAGE_HDU) {
            const ErrorImageSource errorImage = [&](int64_t pixels, std::vector<std::string>& messages) {
                return ReadErrorImage(opened, hdu, pixels, name, messages);
            };
            int naxis = 0;
            long naxes[3] = {0, 0, 0};
            fits_get_img_dim(opened, &naxis, &status);
            fits_get_img_size(opened, 3, naxes, &status);
            if (status != 0 || naxis < 1 || naxes[0] < 1) {
                status = 0;
                continue;
            }
            if (fits_is_compressed_image(opened, &status)) {
                if (const double unpackedBytes = ImageBytes(opened); unpackedBytes > kMaxUnpackedBytes)
                    return refuse("holds a compressed image of " + std::to_string(static_cast<int64_t>(unpackedBytes / (1 << 20))) +
                                  " MiB, more than the 4 GiB this program unpacks.");
                std::optional<Unpacked> image = UnpackedImage(opened, status);
                if (!image) return refuse("holds a compressed image that cannot be unpacked: " + CfitsioText(status) + ".");
                const std::unique_ptr<InputFile> unpacked = InputFile::FromBytes(std::move(image->bytes));
                return withPrimary(ReadImageHdu(*unpacked, image->headerStart, name, keys, errorImage));
            }
            LONGLONG headerStart = 0, dataStart = 0, dataEnd = 0;
            fits_get_hduaddrll(opened, &headerStart, &dataStart, &dataEnd, &status);
            if (status != 0) break;
            return withPrimary(ReadImageHdu(file, headerStart, name, keys, errorImage));
        }
        TableSpectra table = ReadTableSpectra(opened, name, primaryObject, primaryUnit, columns);
        if (table.found) return WithFollowingTables(opened, hdu, std::move(table.result), [&](fitsfile* fits) {
            return ReadTableSpectra(fits, name, primaryObject, primaryUnit, columns);
        }, name);
        if (!table.columns.empty()) tablesSeen = table.columns;
        if (!table.offered.empty()) result.tableColumns = std::move(table.offered);
    }
    if (status != 0 && status != END_OF_FILE) return refuse("cannot be read as FITS: " + CfitsioText(status) + ".");
    if (!tablesSeen.empty()) return refuse("holds no spectrum: " + tablesSeen);
    return refuse("holds no spectrum: its primary header holds no data, and no extension holds an image or a "
                  "table of wavelengths and fluxes.");
}

}  // namespace wendrel
