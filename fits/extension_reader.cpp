#include "fits/extension_reader.h"

#include <fitsio.h>

#include <cstdlib>
#include <memory>

#include "fits/image_reader.h"
#include "fits/table_reader.h"

namespace wendrel {

namespace {

std::string Quoted(const std::string& name) { return "\"" + name + "\""; }

std::string CfitsioText(int status) {
    char text[FLEN_STATUS] = {};
    fits_get_errstatus(status, text);
    return text;
}

struct FitsCloser {
    void operator()(fitsfile* f) const {
        int status = 0;
        fits_close_file(f, &status);
    }
};
using FitsFile = std::unique_ptr<fitsfile, FitsCloser>;

// A tile-compressed image unpacked into the bytes of a FITS file of one
// image, or nothing with `status` set.
std::optional<std::string> UnpackedImage(fitsfile* compressed, int& status) {
    size_t size = 2880 * 4;
    void* memory = std::malloc(size);
    fitsfile* out = nullptr;
    if (!memory || fits_create_memfile(&out, &memory, &size, 2880 * 16, std::realloc, &status) != 0) {
        std::free(memory);
        return std::nullopt;
    }
    fits_img_decompress(compressed, out, &status);
    int closing = 0;
    fits_close_file(out, &closing);  // the memory stays; cfitsio leaves it to its owner
    std::optional<std::string> bytes;
    if (status == 0 && closing == 0) bytes.emplace(static_cast<const char*>(memory), size);
    std::free(memory);
    if (closing != 0 && status == 0) status = closing;
    return bytes;
}

}  // namespace

LoadResult ReadExtensionSpectra(InputFile& file, const std::filesystem::path& path, const std::string& name,
                                const Settings& keys, const std::optional<ColumnChoice>& columns) {
    LoadResult result;
    const auto refuse = [&](const std::string& text) {
        result.messages.push_back(Quoted(name) + " " + text);
        return result;
    };
    int status = 0;
    fitsfile* opened = nullptr;
    const std::string_view bytes = file.Bytes();
    if (bytes.empty()) {
        fits_open_diskfile(&opened, path.c_str(), READONLY, &status);
    } else {
        void* data = const_cast<char*>(bytes.data());  // opened read-only: cfitsio does not write into it
        size_t size = bytes.size();
        fits_open_memfile(&opened, name.c_str(), READONLY, &data, &size, 0, nullptr, &status);
    }
    const FitsFile fits(opened);
    if (status != 0) return refuse("cannot be read as FITS: " + CfitsioText(status) + ".");
    const auto primaryText = [&](const char* key) {
        char value[FLEN_VALUE] = {};
        int missing = 0;
        fits_read_key(opened, TSTRING, key, value, nullptr, &missing);
        return missing == 0 ? std::string(value) : std::string();
    };
    const std::string primaryObject = primaryText("OBJECT"), primaryUnit = primaryText("BUNIT");
    // What an image extension leaves out, the primary header may say.
    const auto withPrimary = [&](LoadResult read) {
        for (Slot& s : read.spectra) {
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
            int naxis = 0;
            long naxes[3] = {0, 0, 0};
            fits_get_img_dim(opened, &naxis, &status);
            fits_get_img_size(opened, 3, naxes, &status);
            if (status != 0 || naxis < 1 || naxes[0] < 1) {
                status = 0;
                continue;
            }
            if (fits_is_compressed_image(opened, &status)) {
                std::optional<std::string> image = UnpackedImage(opened, status);
                if (!image) return refuse("holds a compressed image that cannot be unpacked: " + CfitsioText(status) + ".");
                const std::unique_ptr<InputFile> unpacked = InputFile::FromBytes(std::move(*image));
                return withPrimary(ReadImageHdu(*unpacked, 0, name, keys));
            }
            LONGLONG headerStart = 0, dataStart = 0, dataEnd = 0;
            fits_get_hduaddrll(opened, &headerStart, &dataStart, &dataEnd, &status);
            if (status != 0) break;
            return withPrimary(ReadImageHdu(file, headerStart, name, keys));
        }
        TableSpectra table = ReadTableSpectra(opened, name, primaryObject, primaryUnit, columns);
        if (table.found) return std::move(table.result);
        if (!table.columns.empty()) tablesSeen = table.columns;
        if (!table.offered.empty()) result.tableColumns = std::move(table.offered);
    }
    if (status != 0 && status != END_OF_FILE) return refuse("cannot be read as FITS: " + CfitsioText(status) + ".");
    if (!tablesSeen.empty()) return refuse("holds no spectrum: " + tablesSeen);
    return refuse("holds no spectrum: its primary header holds no data, and no extension holds an image or a "
                  "table of wavelengths and fluxes.");
}

}  // namespace wendrel
