// Command-line options of wendrel-info. Each option is one entry of a table,
// so that a new option is one new entry and one new field.
#pragma once

#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace wendrel {

constexpr int kMaxInfoFiles = 10;  // one file per slot

struct InfoOptions {
    std::optional<std::string> lambda0Key;  // --keys LAMBDA0KEY,DLAMBDAKEY
    std::optional<std::string> dLambdaKey;
    bool pixels = false;  // --pixels
    bool header = false;  // --header
    bool help = false;    // --help
    std::vector<std::string> files;
};

struct InfoArguments {
    InfoOptions options;
    std::string error;  // empty when the arguments make sense
};

// Reads the arguments after the program name. Options and files may be mixed;
// "--" ends the options. An option's value follows it or is joined by "=".
InfoArguments ParseInfoArguments(std::span<const std::string_view> args);

// The usage text, one line per option.
std::string InfoUsage();

}  // namespace wendrel
