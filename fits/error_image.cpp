#include "fits/error_image.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <cmath>
#include <limits>

namespace wendrel {

namespace {

bool NamesUncertainties(std::string extname) {
    for (char& c : extname) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    for (const char* known : {"ERR", "ERROR", "SIGMA", "IVAR", "VAR", "VARIANCE"})
        if (extname == known) return true;
    return false;
}

}  // namespace

std::optional<Uncertainties> ReadErrorImage(fitsfile* fits, int fluxHdu, int64_t pixels, const std::string& name,
                                            std::vector<std::string>& messages) {
    std::string otherSize;  // the message about an image of the uncertainties of another size
    for (int hdu = fluxHdu + 1;; ++hdu) {
        int type = 0, status = 0;
        if (fits_movabs_hdu(fits, hdu, &type, &status) != 0) break;
        if (type != IMAGE_HDU) continue;
        char extname[FLEN_VALUE] = {};
        if (fits_read_key(fits, TSTRING, "EXTNAME", extname, nullptr, &status) != 0 || !NamesUncertainties(extname))
            continue;
        int naxis = 0;
        std::array<LONGLONG, 9> naxes{};
        fits_get_img_dim(fits, &naxis, &status);
        fits_get_img_sizell(fits, static_cast<int>(naxes.size()), naxes.data(), &status);
        double count = naxis > 0 ? 1 : 0;
        for (int k = 0; k < std::min<int>(naxis, naxes.size()); ++k) count *= static_cast<double>(naxes[k]);
        if (status != 0) break;
        if (count != static_cast<double>(pixels)) {
            if (otherSize.empty())
                otherSize = "\"" + name + "\": its uncertainty image " + std::string(extname) + " holds " +
                            std::to_string(static_cast<int64_t>(count)) + " values for " + std::to_string(pixels) +
                            " pixels, so the uncertainties are left out.";
            continue;
        }
        Uncertainties read{extname, std::vector<double>(static_cast<size_t>(pixels))};
        double blank = std::numeric_limits<double>::quiet_NaN();
        int anyNull = 0;
        if (fits_read_img(fits, TDOUBLE, 1, pixels, &blank, read.values.data(), &anyNull, &status) != 0) {
            messages.push_back("\"" + name + "\": its uncertainty image " + extname +
                               " cannot be read, so the uncertainties are left out.");
            return std::nullopt;
        }
        return read;
    }
    if (!otherSize.empty()) messages.push_back(otherSize);
    return std::nullopt;
}

}  // namespace wendrel
