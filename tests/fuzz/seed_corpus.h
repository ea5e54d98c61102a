// Starting inputs of the fuzz targets, made with the program's own FITS
// writer and settings writer: every BITPIX with and without BZERO/BSCALE,
// short and long headers, and valid settings files.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace wendrel::fuzzing {

struct Seed {
    std::string name;
    std::string bytes;
};

std::vector<Seed> FitsReaderSeeds();
std::vector<Seed> SettingsFileSeeds();
std::vector<Seed> NumberTextSeeds();

// The seeds of the target named "fits_reader", "settings_file" or
// "number_text"; nothing for another name.
std::vector<Seed> SeedsFor(std::string_view target);

}  // namespace wendrel::fuzzing
