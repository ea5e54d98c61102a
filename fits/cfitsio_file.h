// A FITS file opened read-only through cfitsio: from its bytes when it was
// read into memory (unpacked from gzip), else from where it lies.
#pragma once

#include <fitsio.h>

#include <filesystem>
#include <string>

#include "fits/input_file.h"

namespace wendrel {

class CfitsioFile {
public:
    // `name` is the file's name as cfitsio is to know it.
    CfitsioFile(InputFile& file, const std::filesystem::path& path, const std::string& name);
    ~CfitsioFile();
    CfitsioFile(const CfitsioFile&) = delete;
    CfitsioFile& operator=(const CfitsioFile&) = delete;

    // Null when the file could not be opened; Status() then says why.
    fitsfile* Get() const { return fits_; }
    int Status() const { return status_; }

private:
    // cfitsio keeps the addresses of these two and reads through them until the file is closed.
    void* memory_ = nullptr;
    size_t memorySize_ = 0;
    fitsfile* fits_ = nullptr;
    int status_ = 0;
};

// cfitsio's text for a status code.
std::string CfitsioText(int status);

}  // namespace wendrel
