#include "tools/info_options.h"

#include <functional>

namespace wendrel {

namespace {

struct OptionEntry {
    std::string_view name;
    std::string_view valueName;  // empty for a switch
    std::string_view help;
    // Applies the option; returns an error text, empty when the value is fine.
    std::function<std::string(InfoOptions&, std::string_view value)> apply;
};

std::string SetKeys(InfoOptions& o, std::string_view value) {
    const size_t comma = value.find(',');
    if (comma == std::string_view::npos || value.find(',', comma + 1) != std::string_view::npos)
        return "--keys needs two keyword names separated by one comma, e.g. --keys CRVAL1,CDELT1";
    const std::string_view first = value.substr(0, comma), second = value.substr(comma + 1);
    if (first.empty() || second.empty()) return "--keys needs two non-empty keyword names";
    o.lambda0Key = std::string(first);
    o.dLambdaKey = std::string(second);
    return {};
}

const std::vector<OptionEntry>& Options() {
    static const std::vector<OptionEntry> options = {
        {"--keys", "LAMBDA0KEY,DLAMBDAKEY",
         "keywords of the start wavelength and the step (default CRVAL1,CD1_1)", SetKeys},
        {"--pixels", "", "also print the \"flux\" and \"fluxPct\" arrays",
         [](InfoOptions& o, std::string_view) { return (o.pixels = true, std::string()); }},
        {"--header", "", "also print the header cards before END as \"cards\"",
         [](InfoOptions& o, std::string_view) { return (o.header = true, std::string()); }},
        {"--help", "", "print this text",
         [](InfoOptions& o, std::string_view) { return (o.help = true, std::string()); }},
    };
    return options;
}

const OptionEntry* FindOption(std::string_view name) {
    for (const OptionEntry& entry : Options())
        if (entry.name == name) return &entry;
    return nullptr;
}

}  // namespace

InfoArguments ParseInfoArguments(std::span<const std::string_view> args) {
    InfoArguments result;
    bool optionsEnded = false;
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string_view arg = args[i];
        if (optionsEnded || !arg.starts_with("-") || arg == "-") {
            if (arg.empty()) return {{}, "an empty file name was given"};
            result.options.files.emplace_back(arg);
            continue;
        }
        if (arg == "--") {
            optionsEnded = true;
            continue;
        }
        const size_t equals = arg.find('=');
        const std::string_view name = arg.substr(0, equals);
        const OptionEntry* entry = FindOption(name);
        if (!entry) return {{}, "unknown option " + std::string(arg)};

        std::string_view value;
        if (entry->valueName.empty()) {
            if (equals != std::string_view::npos) return {{}, std::string(name) + " takes no value"};
        } else if (equals != std::string_view::npos) {
            value = arg.substr(equals + 1);
        } else if (i + 1 < args.size()) {
            value = args[++i];
        } else {
            return {{}, std::string(name) + " needs a value: " + std::string(entry->valueName)};
        }
        if (std::string error = entry->apply(result.options, value); !error.empty()) return {{}, error};
    }
    if (result.options.help) return result;
    if (result.options.files.empty()) return {{}, "no FITS file was given"};
    if (std::ssize(result.options.files) > kMaxInfoFiles)
        return {{}, std::to_string(result.options.files.size()) + " files were given; at most " +
                        std::to_string(kMaxInfoFiles) + " fit into the slots"};
    return result;
}

std::string InfoUsage() {
    std::string usage = "usage: wendrel-info";
    for (const OptionEntry& entry : Options()) {
        usage += " [" + std::string(entry.name);
        if (!entry.valueName.empty()) usage += " " + std::string(entry.valueName);
        usage += "]";
    }
    usage += " FILE...\n\nLoads each FILE (at most " + std::to_string(kMaxInfoFiles) +
             ") into slots 1, 2, ... and prints one JSON object per file, then one with the workspace.\n"
             "Exit status: 0 when every file loaded, 1 when any was refused, 2 on wrong usage.\n\n";
    for (const OptionEntry& entry : Options()) {
        std::string left = "  " + std::string(entry.name);
        if (!entry.valueName.empty()) left += " " + std::string(entry.valueName);
        left.resize(std::max<size_t>(left.size() + 2, 32), ' ');
        usage += left + std::string(entry.help) + "\n";
    }
    return usage;
}

}  // namespace wendrel
