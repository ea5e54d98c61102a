// Starting inputs of the fuzz targets, made with the program's own writers.
#pragma once

#include <string>
#include <utility>
#include <vector>

namespace wendrel::fuzzing {

// Named seeds of "fits_reader", "settings_file", "number_text" or "xmlrpc"; none for another name.
std::vector<std::pair<std::string, std::string>> SeedsFor(std::string_view target);

}  // namespace wendrel::fuzzing
