// Files compressed with gzip, unpacked in memory.
#pragma once

#include <optional>
#include <string>

#include "fits/input_file.h"

namespace wendrel {

// Whether the file starts with the gzip signature.
bool IsGzip(InputFile& file);

// The unpacked bytes of a gzip file (several members follow each other), or
// nothing with `problem` set to why not: a damaged stream, or more bytes than
// this program unpacks (fits/unpacked_stream.h), or no FITS file or text.
std::optional<std::string> Gunzip(InputFile& file, std::string& problem);

}  // namespace wendrel
