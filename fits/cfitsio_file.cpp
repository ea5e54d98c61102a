#include "fits/cfitsio_file.h"

namespace wendrel {

CfitsioFile::CfitsioFile(InputFile& file, const std::filesystem::path& path, const std::string& name) {
    const std::string_view bytes = file.Bytes();
    memory_ = const_cast<char*>(bytes.data());  // opened read-only: cfitsio does not write into it
    memorySize_ = bytes.size();
    if (bytes.empty())
        fits_open_diskfile(&fits_, path.c_str(), READONLY, &status_);
    else
        fits_open_memfile(&fits_, name.c_str(), READONLY, &memory_, &memorySize_, 0, nullptr, &status_);
    if (status_ != 0) fits_ = nullptr;
}

CfitsioFile::~CfitsioFile() {
    int status = 0;
    if (fits_) fits_close_file(fits_, &status);
}

std::string CfitsioText(int status) {
    char text[FLEN_STATUS] = {};
    fits_get_errstatus(status, text);
    return text;
}

}  // namespace wendrel
