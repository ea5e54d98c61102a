#include "tools/info_options.h"

#include "plot/line_marks.h"
#include "plot/plot_window_size.h"
#include "store/rest_frame.h"

#include <charconv>
#include <cmath>
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

// The whole text as one number of type T; nothing before or after it.
template <class T>
std::optional<T> WholeNumber(std::string_view text) {
    T value{};
    const char* end = text.data() + text.size();
    const auto [stop, error] = std::from_chars(text.data(), end, value);
    if (error != std::errc() || stop != end) return std::nullopt;
    return value;
}

std::string SetRender(InfoOptions& o, std::string_view value) {
    if (value.empty()) return "--render needs the name of the PNG file to write";
    o.renderPath = std::string(value);
    return {};
}

std::string SetSize(InfoOptions& o, std::string_view value) {
    const std::string wrong = "--size needs WIDTHxHEIGHT in twips, two whole numbers from 1 to " +
                              std::to_string(kMaxRenderTwips) + ", e.g. --size 10000x7000; got \"" +
                              std::string(value) + "\"";
    const size_t x = value.find_first_of("xX");
    if (x == std::string_view::npos) return wrong;
    const auto width = WholeNumber<int>(value.substr(0, x));
    const auto height = WholeNumber<int>(value.substr(x + 1));
    const auto fits = [](std::optional<int> v) { return v && *v >= 1 && *v <= kMaxRenderTwips; };
    if (!fits(width) || !fits(height)) return wrong;
    o.renderSize = {*width, *height};
    return {};
}

std::string SetView(InfoOptions& o, std::string_view value) {
    const std::string wrong = "--view needs LEFT:RIGHT, two wavelengths in Angstroms with LEFT below RIGHT, "
                              "e.g. --view 6500:6600; got \"" + std::string(value) + "\"";
    const size_t colon = value.find(':');
    if (colon == std::string_view::npos) return wrong;
    const auto left = WholeNumber<double>(value.substr(0, colon));
    const auto right = WholeNumber<double>(value.substr(colon + 1));
    if (!left || !right || !std::isfinite(*left) || !std::isfinite(*right) || !(*left < *right)) return wrong;
    o.renderView = {*left, *right};
    return {};
}

// The comma-separated items of a value, empty ones included.
std::vector<std::string_view> Items(std::string_view value) {
    std::vector<std::string_view> items;
    for (size_t start = 0;;) {
        const size_t comma = value.find(',', start);
        items.push_back(value.substr(start, comma == std::string_view::npos ? comma : comma - start));
        if (comma == std::string_view::npos) return items;
        start = comma + 1;
    }
}

std::string SetOffsets(InfoOptions& o, std::string_view value) {
    std::vector<int> offsets;
    for (const std::string_view item : Items(value)) {
        const auto offset = WholeNumber<int>(item);
        if (!offset)
            return "--offsets needs whole numbers separated by commas, one per file, e.g. --offsets -75,0; "
                   "\"" + std::string(item) + "\" is not one";
        offsets.push_back(*offset);
    }
    o.renderOffsets = std::move(offsets);
    return {};
}

std::string SetVelocities(InfoOptions& o, std::string_view value) {
    std::vector<int> velocities;
    for (const std::string_view item : Items(value)) {
        const auto velocity = WholeNumber<int>(item);
        if (!velocity || *velocity < kMinVelocity || *velocity > kMaxVelocity)
            return "--velocities needs whole numbers of km/s from " + std::to_string(kMinVelocity) + " to " +
                   std::to_string(kMaxVelocity) + " separated by commas, one per file, e.g. --velocities 667,0; \"" +
                   std::string(item) + "\" is not one";
        velocities.push_back(*velocity);
    }
    o.renderVelocities = std::move(velocities);
    return {};
}

std::string LineSetKeys() {
    std::string keys;
    for (const LineSet& set : LineSets()) keys += (keys.empty() ? "" : ",") + std::string(set.Key);
    return keys;
}

std::string SetLines(InfoOptions& o, std::string_view value) {
    std::vector<std::string> sets;
    for (const std::string_view item : Items(value)) {
        if (!FindLineSet(item))
            return "--lines needs names of line sets separated by commas, out of " + LineSetKeys() + "; \"" +
                   std::string(item) + "\" is not one";
        sets.emplace_back(item);
    }
    o.renderLines = std::move(sets);
    return {};
}

const std::vector<OptionEntry>& Options() {
    static const std::vector<OptionEntry> options = {
        {"--keys", "LAMBDA0KEY,DLAMBDAKEY",
         "keywords of the start wavelength and the step (default CRVAL1,CD1_1)", SetKeys},
        {"--pixels", "", "also print the \"lambda\" (where each pixel starts), \"flux\" and \"fluxPct\" arrays",
         [](InfoOptions& o, std::string_view) { return (o.pixels = true, std::string()); }},
        {"--header", "", "also print the header cards before END as \"cards\"",
         [](InfoOptions& o, std::string_view) { return (o.header = true, std::string()); }},
        {"--render", "OUT.png",
         "also draw the plot of the files, as the plot window shows it, into a PNG file", SetRender},
        {"--size", "WIDTHxHEIGHT",
         "the plot window's outer size for --render, in twips (default 10000x7000)", SetSize},
        {"--view", "LEFT:RIGHT", "the wavelengths at the edges of the plot for --render (default: all)",
         SetView},
        {"--offsets", "o1,o2,...",
         "the curves' offsets for --render, in percent, file by file (default: as the rows start)",
         SetOffsets},
        {"--velocities", "v1,v2,...",
         "the sources' radial velocities for --render, in km/s (positive: receding), file by file; each "
         "spectrum is drawn in its rest frame (default: 0)",
         SetVelocities},
        {"--lines", "SET,SET",
         "mark the laboratory lines of these sets for --render: balmer (H alpha .. H8), cahk (Ca II H and K), "
         "nad (Na I D), mgb (Mg I b), hei (He I), oiii ([O III]), nii-sii ([N II] and [S II]), o2 (telluric O2)",
         SetLines},
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
    const InfoOptions& o = result.options;
    if (o.files.empty()) return {{}, "no FITS file was given"};
    if (std::ssize(o.files) > kMaxInfoFiles)
        return {{}, std::to_string(o.files.size()) + " files were given; at most " +
                        std::to_string(kMaxInfoFiles) + " fit into the slots"};
    if (!o.renderPath && (o.renderSize || o.renderView || o.renderOffsets || o.renderVelocities || o.renderLines))
        return {{}, "--size, --view, --offsets, --velocities and --lines only shape the picture of --render OUT.png, "
                    "which was not asked for"};
    if (o.renderOffsets && o.renderOffsets->size() > o.files.size())
        return {{}, std::to_string(o.renderOffsets->size()) + " offsets were given for " +
                        std::to_string(o.files.size()) + " files; give at most one per file"};
    if (o.renderVelocities && o.renderVelocities->size() > o.files.size())
        return {{}, std::to_string(o.renderVelocities->size()) + " velocities were given for " +
                        std::to_string(o.files.size()) + " files; give at most one per file"};
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
             "With --render it also draws the plot of the loaded files into OUT.png, labels included, as the\n"
             "plot window of that outer size shows it (without its controls), at 96 dots per inch: 15 twips\n"
             "per pixel, so 10000x7000 gives 667x467 pixels. A size below the window's smallest\n"
             "(" + std::to_string(kPlotWinMinWidth) + "x" + std::to_string(kPlotWinMinHeight) +
             ") is raised to it, as the window opens.\n"
             "Exit status: 0 when every file loaded, 1 when any was refused (a picture is still drawn of those\n"
             "that loaded), 2 on wrong usage, 3 when the picture could not be written.\n\n";
    for (const OptionEntry& entry : Options()) {
        std::string left = "  " + std::string(entry.name);
        if (!entry.valueName.empty()) left += " " + std::string(entry.valueName);
        left.resize(std::max<size_t>(left.size() + 2, 32), ' ');
        usage += left + std::string(entry.help) + "\n";
    }
    return usage;
}

}  // namespace wendrel
