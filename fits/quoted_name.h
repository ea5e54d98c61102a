// A file's name in quotes, as the reader's messages name it.
#pragma once

#include <string>

namespace wendrel {

inline std::string Quoted(const std::string& name) { return "\"" + name + "\""; }

}  // namespace wendrel
