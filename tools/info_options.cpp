#include "tools/info_options.h"

#include <algorithm>

#include "app/velocity_axis_rows.h"
#include "app/velocity_entry.h"
#include "plot/line_marks.h"
#include "plot/plot_window_size.h"
#include "plot/sized_picture.h"
#include "plot/x_axis_mapping.h"
#include "tools/whole_number.h"

#include <QCommandLineParser>
#include <cctype>
#include <initializer_list>
#include <charconv>
#include <cmath>

namespace wendrel {

namespace {

struct OptionEntry {
    std::string_view name;
    std::string_view valueName;  // empty for a switch
    std::string_view help;
    // Applies the option; returns an error text, empty when the value is fine.
    std::string (*apply)(InfoOptions&, std::string_view value);
};

// The comma-separated items of a value, empty ones included.
std::vector<std::string_view> Items(std::string_view value) {
    std::vector<std::string_view> items;
    size_t start = 0;
    for (size_t comma; (comma = value.find(',', start)) != std::string_view::npos; start = comma + 1)
        items.push_back(value.substr(start, comma - start));
    items.push_back(value.substr(start));
    return items;
}

std::string SetKeys(InfoOptions& o, std::string_view value) {
    const std::vector<std::string_view> keys = Items(value);
    if (keys.size() != 2)
        return "--keys needs two keyword names separated by one comma, e.g. --keys CRVAL1,CDELT1";
    if (keys[0].empty() || keys[1].empty()) return "--keys needs two non-empty keyword names";
    o.lambda0Key = std::string(keys[0]);
    o.dLambdaKey = std::string(keys[1]);
    return {};
}

std::string SetColumns(InfoOptions& o, std::string_view value) {
    const std::vector<std::string_view> names = Items(value);
    if (names.size() < 2 || names.size() > 3 || std::ranges::any_of(names, &std::string_view::empty))
        return "--columns needs the names of the wavelength and the flux column, and optionally of the uncertainty "
               "column, separated by commas, e.g. --columns WAVE,FLUX or --columns WAVE,FLUX,ERR; got \"" +
               std::string(value) + "\"";
    o.columns = ColumnChoice{std::string(names[0]), std::string(names[1]), names.size() == 3 ? std::string(names[2]) : ""};
    return {};
}

// Sets `path` to the value, a file name that must end in one of `endings`.
std::string SetOutput(std::optional<std::string>& path, std::string_view option, std::string_view value,
                      std::initializer_list<std::string_view> endings, std::string_view what) {
    std::string lower(value);
    for (char& c : lower) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    for (const std::string_view ending : endings) {
        if (lower.size() > ending.size() && lower.ends_with(ending)) {
            path = std::string(value);
            return {};
        }
    }
    return std::string(option) + " needs the name of " + std::string(what) + "; got \"" + std::string(value) + "\"";
}

std::string SetSession(InfoOptions& o, std::string_view value) {
    return SetOutput(o.sessionPath, "--session", value, {".wendrel"}, "a session file ending in .wendrel");
}

std::string SetSaveSession(InfoOptions& o, std::string_view value) {
    return SetOutput(o.saveSessionPath, "--save-session", value, {".wendrel"},
                     "the session file to write, ending in .wendrel");
}

std::string SetExport(InfoOptions& o, std::string_view value) {
    return SetOutput(o.exportPath, "--export", value, {".csv", ".fits", ".fit", ".fts"},
                     "the file to write, ending in .csv or .fits");
}

std::string SetRender(InfoOptions& o, std::string_view value) {
    return SetOutput(o.renderPath, "--render", value, {".png", ".svg", ".pdf"},
                     "the picture to write, ending in .png, .svg or .pdf");
}

std::string SetFontSize(InfoOptions& o, std::string_view value) {
    const auto points = WholeNumber<int>(value);
    if (!points || *points < kMinFontPoints || *points > kMaxFontPoints)
        return "--font-size needs the labels' size in points, a whole number from " +
               std::to_string(int(kMinFontPoints)) + " to " + std::to_string(int(kMaxFontPoints)) + "; got \"" +
               std::string(value) + "\"";
    o.renderFontPoints = *points;
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

// The value's A:B, two finite numbers with A below B.
std::optional<std::pair<double, double>> RisingPair(std::string_view value) {
    const size_t colon = value.find(':');
    if (colon == std::string_view::npos) return std::nullopt;
    const auto a = WholeNumber<double>(value.substr(0, colon));
    const auto b = WholeNumber<double>(value.substr(colon + 1));
    if (!a || !b || !std::isfinite(*a) || !std::isfinite(*b) || !(*a < *b)) return std::nullopt;
    return std::pair(*a, *b);
}

// Sets `span` to the value's LEFT:RIGHT, two finite wavelengths with LEFT below RIGHT.
std::string SetSpan(std::optional<std::pair<double, double>>& span, std::string_view option, std::string_view value) {
    span = RisingPair(value);
    if (span) return {};
    return std::string(option) + " needs LEFT:RIGHT, two wavelengths in Angstroms with LEFT below RIGHT, e.g. " +
           std::string(option) + " 6500:6600; got \"" + std::string(value) + "\"";
}

std::string SetView(InfoOptions& o, std::string_view value) { return SetSpan(o.renderView, "--view", value); }

std::string SetMeasure(InfoOptions& o, std::string_view value) { return SetSpan(o.measureSpan, "--measure", value); }

std::string SetContinuumPixels(InfoOptions& o, std::string_view value) {
    const auto pixels = WholeNumber<int>(value);
    if (!pixels || *pixels < 1 || *pixels > 100000)
        return "--continuum-pixels needs a whole number of pixels from 1 to 100000; got \"" + std::string(value) + "\"";
    o.continuum.PixelsEachSide = *pixels;
    return {};
}

std::string SetContinuumWindows(InfoOptions& o, std::string_view value) {
    o.continuum.Windows.clear();
    for (const std::string_view item : Items(value)) {
        const auto window = RisingPair(item);
        if (!window)
            return "--continuum needs windows L1:R1,L2:R2,... in Angstroms, each with L below R, e.g. --continuum "
                   "6520:6540,6590:6610; \"" + std::string(item) + "\" is not one";
        o.continuum.Windows.push_back(*window);
    }
    return {};
}

// LEFT:RIGHT[:MODEL[:N]].
std::string SetFit(InfoOptions& o, std::string_view value) {
    const std::string wrong = "--fit needs LEFT:RIGHT[:MODEL[:N]], two wavelengths in Angstroms with LEFT below RIGHT, "
                              "a profile gauss, lorentz or voigt and 1 to " + std::to_string(kMaxFitComponents) +
                              " components, e.g. --fit 6540:6590:gauss:2; got \"" + std::string(value) + "\"";
    std::vector<std::string_view> parts;
    for (size_t start = 0, colon = 0; colon != std::string_view::npos; start = colon + 1)
        parts.push_back(value.substr(start, (colon = value.find(':', start)) - start));
    if (parts.size() < 2 || parts.size() > 4) return wrong;
    const auto span = RisingPair(value.substr(0, parts[0].size() + 1 + parts[1].size()));
    const auto profile = parts.size() > 2 ? ProfileOfKey(parts[2]) : LineProfile::Gauss;
    const auto components = parts.size() > 3 ? WholeNumber<int>(parts[3]) : 1;
    if (!span || !profile || !components || *components < 1 || *components > kMaxFitComponents) return wrong;
    o.fit = InfoOptions::FitRequest{span->first, span->second, *profile, *components};
    return {};
}

std::string SetOffsets(InfoOptions& o, std::string_view value) {
    std::vector<int> read;
    for (const std::string_view item : Items(value)) {
        const auto number = WholeNumber<int>(item);
        if (!number)
            return "--offsets needs whole numbers separated by commas, one per file, e.g. --offsets -75,0; \"" +
                   std::string(item) + "\" is not one";
        read.push_back(*number);
    }
    o.renderOffsets = std::move(read);
    return {};
}

// Each item as the rows' velocity entry takes it.
std::string SetVelocities(InfoOptions& o, std::string_view value) {
    std::vector<double> read;
    for (const std::string_view item : Items(value)) {
        const TypedVelocity typed = ParseVelocity(item);
        if (!typed.error.empty())
            return "--velocities needs velocities in km/s or redshifts z=... separated by commas, one per file, "
                   "e.g. --velocities 667,z=0.0123; " + typed.error;
        read.push_back(typed.velocity);
    }
    o.renderVelocities = std::move(read);
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

std::string SetYRange(InfoOptions& o, std::string_view value) {
    o.renderFitY = value == "fit";
    o.renderYRange = o.renderFitY ? std::nullopt : RisingPair(value);
    if (o.renderFitY || o.renderYRange) return {};
    return "--yrange needs LOW:HIGH, two intensities with LOW below HIGH, e.g. --yrange 0:150, or fit; got \"" +
           std::string(value) + "\"";
}

std::string SetScale(InfoOptions& o, std::string_view value) {
    if (value != "percent" && value != "flux")
        return "--scale needs percent or flux; got \"" + std::string(value) + "\"";
    o.renderScaleFlux = value == "flux";
    return {};
}

std::string SetXUnit(InfoOptions& o, std::string_view value) {
    o.renderXUnit = UnitOfKey(value);
    return o.renderXUnit ? std::string() : "--xunit needs A, nm or um; got \"" + std::string(value) + "\"";
}

std::string SetXAxis(InfoOptions& o, std::string_view value) {
    if (value == "wavelength") return (o.renderVelocityRest = 0, std::string());
    std::vector<double> rests;
    const std::string why = value.starts_with("velocity:") ? ReadVelocityRests(std::string(value.substr(9)), rests) : "";
    if (!value.starts_with("velocity:") || !why.empty())
        return "--xaxis needs wavelength or velocity:LAMBDA0[,LAMBDA0,...] with rest wavelengths in Angstroms above "
               "0, one for all files or one per file, e.g. --xaxis velocity:6562.80,4861.33; got \"" +
               std::string(value) + "\"";
    o.renderVelocityRest = rests.front();
    if (rests.size() > 1) o.renderVelocityRowRest = std::move(rests);
    return {};
}

constexpr OptionEntry kOptions[] = {
    {"--keys", "LAMBDA0KEY,DLAMBDAKEY",
     "keywords of the start wavelength and the step (default CRVAL1,CD1_1)", SetKeys},
    {"--columns", "WAVE,FLUX[,ERR]",
     "the columns of a FITS table that hold the wavelength and the flux, for tables whose column names are not the "
     "known ones, and the column of their uncertainty (1-sigma errors; IVAR... inverse variances, VAR... variances)",
     SetColumns},
    {"--pixels", "", "also print the \"lambda\" (the wavelength of each pixel's centre), \"flux\" and \"fluxPct\" arrays, "
     "and \"sigma\" (each flux's 1-sigma uncertainty, null where the file gives none)",
     [](InfoOptions& o, std::string_view) { return (o.pixels = true, std::string()); }},
    {"--header", "", "also print the header cards before END as \"cards\"",
     [](InfoOptions& o, std::string_view) { return (o.header = true, std::string()); }},
    {"--measure", "LEFT:RIGHT",
     "also print \"measure\" for the line between these wavelengths (Angstroms) in each file: its \"centroid\", "
     "\"flux\", \"ew\", \"peak\" and \"fwhm\" (null where there is none) with \"centroid_err\", \"flux_err\" and "
     "\"ew_err\", \"continuum_pixels\" and \"errors_from\", or why it was \"refused\"",
     SetMeasure},
    {"--session", "S.wendrel",
     "open this session first (its rows, view and keywords); the files then go into its empty rows and the "
     "options below apply on top",
     SetSession},
    {"--save-session", "OUT.wendrel",
     "write the session the command line describes: the loaded rows with their offsets and velocities, the view, "
     "intensity axis, scale, legend and lines",
     SetSaveSession},
    {"--export", "OUT.csv|OUT.fits",
     "write each loaded row as shown: the wavelengths of its pixel centres in the rest frame of its velocity, its "
     "flux as stored (per observed Angstrom) and its percent of the continuum level, as CSV blocks or FITS tables",
     SetExport},
    {"--continuum-pixels", "N",
     "the continuum of --measure: a straight line fitted to N pixels beyond each end of the span (default 3)",
     SetContinuumPixels},
    {"--continuum", "L1:R1,L2:R2",
     "the continuum of --measure: a straight line fitted to the pixels inside these windows (Angstroms)",
     SetContinuumWindows},
    {"--fit", "LEFT:RIGHT[:MODEL[:N]]",
     "also print \"fit\": N components (1 to 6, default 1) of a gauss, lorentz or voigt profile (default gauss) on a "
     "straight continuum, fitted to the pixels between the wavelengths, each value with its error, or why it was "
     "\"refused\"",
     SetFit},
    {"--render", "OUT.png|svg|pdf",
     "also draw the plot of the files, as the plot window shows it, into a PNG, SVG or PDF file", SetRender},
    {"--font-size", "N", "the labels' size in points for --render (default 8)", SetFontSize},
    {"--size", "WIDTHxHEIGHT",
     "the plot window's outer size for --render, in twips (default 10000x7000)", SetSize},
    {"--view", "LEFT:RIGHT", "the wavelengths at the edges of the plot (default: all)",
     SetView},
    {"--offsets", "o1,o2,...",
     "the curves' offsets in percent, rows 1, 2, ... (default: as the rows start, or the session's)",
     SetOffsets},
    {"--velocities", "v1,v2,...",
     "the sources' radial velocities in km/s (positive: receding) or as redshifts z=..., rows 1, 2, ...; each "
     "spectrum is drawn, measured and fitted in its rest frame, and the view shows the full range unless --view "
     "is given (default: 0)",
     SetVelocities},
    {"--lines", "SET,SET",
     "mark the laboratory lines of these sets: balmer (H alpha .. H8), cahk (Ca II H and K), "
     "nad (Na I D), mgb (Mg I b), hei (He I), oiii ([O III]), nii-sii ([N II] and [S II]), o2 (telluric O2)",
     SetLines},
    {"--yrange", "LOW:HIGH|fit",
     "the intensity axis: from LOW to HIGH in the shown scale, or fit to the curves in the view "
     "(default: 0 to the highest curve)",
     SetYRange},
    {"--scale", "percent|flux",
     "the curves' scale: percent of each continuum level, or the flux as stored in the files, where "
     "an offset moves a curve by that percentage of the largest flux maximum (default: percent)",
     SetScale},
    {"--legend", "inside|outside|off",
     "a legend of the files' colours and object names: inside the box's corner that hides the least of the "
     "curves, right of the box, or none (a bare --legend is inside)",
     [](InfoOptions& o, std::string_view v) { return (o.renderLegend = true, SetLegendOption(o.look, v)); }},
    {"--axes", "classic|every",
     "the axes' labels: three intensity and two wavelength labels, or a label at every major tick with minor "
     "ticks and axis titles with units (default: classic)",
     [](InfoOptions& o, std::string_view v) { return SetAxesOption(o.look, v); }},
    {"--palette", "design|contrast",
     "the curves' colours: the rows' own, or the High Contrast palette (default: design)",
     [](InfoOptions& o, std::string_view v) { return SetPaletteOption(o.look, v); }},
    {"--line-width", "N", "the curves' width in pixels, 1 to 8 (default 1)",
     [](InfoOptions& o, std::string_view v) { return SetLineWidthOption(o.look, v); }},
    {"--stack", "on|off", "the curves at their offsets, or all at offset 0 (default: on)",
     [](InfoOptions& o, std::string_view v) { return SetStackOption(o.look, v); }},
    {"--smooth", "ROW:KIND:WIDTH",
     "smooth the spectrum of the ROW-th file (1, 2, ... as given) before anything is printed, measured, fitted, "
     "correlated, drawn or exported: KIND boxcar or median over WIDTH pixels, gauss of FWHM WIDTH Angstroms or "
     "gausskms of FWHM WIDTH km/s; may be repeated",
     [](InfoOptions& o, std::string_view v) { return SetSmooth(o.compare, v); }},
    {"--ratio", "A,B",
     "also make the ratio of the A-th file's spectrum to the B-th's on A's pixels (B rebinned conserving flux, "
     "percent relative to A's level over B's) as one more row, printed as a line whose \"file\" is \"A / B\"",
     [](InfoOptions& o, std::string_view v) { return SetRatio(o.compare, v); }},
    {"--difference", "A,B", "the same for the difference A \u2212 B",
     [](InfoOptions& o, std::string_view v) { return SetDifference(o.compare, v); }},
    {"--xcorr", "ROW",
     "also print \"xcorr\" for every other file: its velocity in km/s by cross-correlation against the ROW-th "
     "file (that file's --velocities value included) with \"error\" and Tonry & Davis's \"r\", or why it was "
     "\"refused\"",
     [](InfoOptions& o, std::string_view v) { return SetXcorr(o.compare, v); }},
    {"--xcorr-range", "LOW:HIGH", "the velocities --xcorr searches, in km/s (default -2000:30000)",
     [](InfoOptions& o, std::string_view v) { return SetXcorrRange(o.compare, v); }},
    {"--uncertainties", "", "draw the +-1 sigma band of the files' uncertainties under their curves, in a light tint "
     "of their colours",
     [](InfoOptions& o, std::string_view) { return (o.renderUncertainties = true, std::string()); }},
    {"--xunit", "A|nm|um",
     "the unit of the picture's wavelength axis and of the exported wavelengths (default: A, Angstroms; --view and "
     "--measure stay in Angstroms)",
     SetXUnit},
    {"--xaxis", "wavelength|velocity:LAMBDA0[,LAMBDA0,...]",
     "the picture's x axis: wavelengths (default), or velocities in km/s about the rest wavelength LAMBDA0 "
     "(Angstroms, in the medium of the line marks), each file in its rest frame; several: one per file in "
     "command-line order, so that each file's line lies at 0",
     SetXAxis},
    {"--help", "", "print this text", [](InfoOptions& o, std::string_view) { return (o.help = true, std::string()); }},
};

const OptionEntry* FindOption(std::string_view name) {
    for (const OptionEntry& entry : kOptions)
        if (entry.name == name) return &entry;
    return nullptr;
}

std::string Synopsis(const OptionEntry& entry) {
    return std::string(entry.name) + (entry.valueName.empty() ? "" : " " + std::string(entry.valueName));
}

// The arguments are bytes, not text: Latin-1 carries every byte through the
// parser unchanged, so file names that are not UTF-8 stay as they were given.
QString Latin1(std::string_view bytes) { return QString::fromLatin1(bytes.data(), std::ssize(bytes)); }
std::string Bytes(const QString& text) { return text.toLatin1().toStdString(); }

// Why parse() refused the arguments: the first unknown option as written or
// switch given a value, else the last argument, an option missing its value.
std::string Refusal(const QCommandLineParser& parser, const QStringList& arguments) {
    bool isValue = false;  // the argument is the value of the option before it
    for (const QString& arg : arguments.sliced(1)) {
        if (std::exchange(isValue, false) || !arg.startsWith('-') || arg == "-") continue;
        if (arg == "--") break;
        const QString name = arg.startsWith("--") ? arg.mid(2).section('=', 0, 0) : arg.mid(1, 1);
        const OptionEntry* entry = FindOption(Bytes("--" + name));
        if (!entry && parser.unknownOptionNames().startsWith(name)) return "unknown option " + Bytes(arg);
        if (entry && entry->valueName.empty() && arg.contains('=')) return std::string(entry->name) + " takes no value";
        isValue = entry && !entry->valueName.empty() && !arg.contains('=');
    }
    return Bytes(arguments.last()) + " needs a value: " + std::string(FindOption(Bytes(arguments.last()))->valueName);
}

}  // namespace

InfoArguments ParseInfoArguments(std::span<const std::string_view> args) {
    QCommandLineParser parser;
    for (const OptionEntry& entry : kOptions)
        parser.addOption({Latin1(entry.name.substr(2)), Latin1(entry.help), Latin1(entry.valueName)});
    QStringList arguments{"wendrel-info"};
    for (const std::string& arg : WithLegendPlace(args)) arguments << Latin1(arg);
    if (!parser.parse(arguments)) return {{}, Refusal(parser, arguments)};

    InfoArguments result;
    for (const OptionEntry& entry : kOptions) {
        const QString name = Latin1(entry.name.substr(2));
        // A switch applies once; a repeated option's values are each checked, and the last one holds.
        for (const QString& value : entry.valueName.empty() ? QStringList(parser.isSet(name), {}) : parser.values(name))
            if (std::string error = entry.apply(result.options, Bytes(value)); !error.empty()) return {{}, error};
    }
    for (const QString& file : parser.positionalArguments()) {
        if (file.isEmpty()) return {{}, "an empty file name was given"};
        result.options.files.push_back(Bytes(file));
    }
    if (result.options.help) return result;
    const InfoOptions& o = result.options;
    if (o.files.empty() && !o.sessionPath) return {{}, "no FITS file was given"};
    if (std::ssize(o.files) > kMaxInfoFiles)
        return {{}, std::to_string(o.files.size()) + " files were given; at most " +
                        std::to_string(kMaxInfoFiles) + " fit into the slots"};
    if (!o.renderPath && o.renderSize)
        return {{}, "--size can only shape the picture of --render OUT.png, which was not asked for"};
    if (!o.renderPath && o.renderFontPoints)
        return {{}, "--font-size can only shape the picture of --render, which was not asked for"};
    const bool shaped = o.renderPath || o.saveSessionPath || o.exportPath;
    if (!shaped && (o.renderView || o.renderOffsets || o.renderLines || o.renderYRange || o.renderFitY ||
                    o.renderScaleFlux || o.renderLegend || o.look.Any() || o.renderUncertainties ||
                    o.renderXUnit || o.renderVelocityRest))
        return {{}, "--view, --offsets, --lines, --yrange, --scale, --legend, --axes, --palette, --line-width, "
                    "--stack, --uncertainties, --xunit and --xaxis only shape the "
                    "picture of --render, the session of --save-session or the spectra of --export, none of which "
                    "was asked for"};
    if (!shaped && !o.measureSpan && !o.fit && !o.compare.xcorrTemplate && o.renderVelocities)
        return {{}, "--velocities shapes --render, --save-session, --export, --measure and --fit, none of which was "
                    "asked for"};
    if (!o.measureSpan && (o.continuum.PixelsEachSide != ContinuumChoice().PixelsEachSide || !o.continuum.Windows.empty()))
        return {{}, "--continuum-pixels and --continuum only shape --measure, which was not asked for"};
    // Without a session the files fill rows 1, 2, ...; with one, any of the rows.
    const size_t rows = o.sessionPath ? static_cast<size_t>(kMaxInfoFiles) : o.files.size();
    const std::string perRow = o.sessionPath ? " rows; give at most one per row" : " files; give at most one per file";
    const std::string given = o.sessionPath ? std::to_string(rows) : std::to_string(o.files.size());
    if (std::string error = ComparisonsError(o.compare, o.files.size()); !error.empty()) return {{}, error};
    if (o.renderOffsets && o.renderOffsets->size() > rows)
        return {{}, std::to_string(o.renderOffsets->size()) + " offsets were given for " + given + perRow};
    if (o.renderVelocities && o.renderVelocities->size() > rows)
        return {{}, std::to_string(o.renderVelocities->size()) + " velocities were given for " + given + perRow};
    if (o.renderVelocityRowRest.size() > rows)
        return {{}, std::to_string(o.renderVelocityRowRest.size()) + " rest wavelengths were given for " + given + perRow};
    return result;
}

std::string InfoUsage() {
    std::string usage = "usage: wendrel-info";
    for (const OptionEntry& entry : kOptions) usage += " [" + Synopsis(entry) + "]";
    usage += " FILE...\n\nLoads each FILE (at most " + std::to_string(kMaxInfoFiles) +
             ") into slots 1, 2, ... (with --session, into the session's empty\n"
             "rows) and prints one JSON object per spectrum, then one with the workspace.\n"
             "With --render it also draws the plot of the loaded files into a PNG, SVG or PDF file (by its\n"
             "ending), labels included, as the\n"
             "plot window of that outer size shows it (without its controls), at 96 dots per inch: 15 twips\n"
             "per pixel, so 10000x7000 gives 667x467 pixels. A size below the window's smallest\n"
             "(" + std::to_string(kPlotWinMinWidth) + "x" + std::to_string(kPlotWinMinHeight) +
             ") is raised to it, as the window opens.\n"
             "--save-session writes a session the program and --session open with the same rows and view;\n"
             "a spectrum's file is written relative to the session's folder when it lies in or below it.\n"
             "Exit status: 0 when every file loaded, 1 when any was refused or the session cannot be opened (a\n"
             "picture, session or export is still written of those that loaded), 2 on wrong usage, 3 when the\n"
             "picture, the session or the exported spectra could not be written.\n\n";
    for (const OptionEntry& entry : kOptions) {
        std::string left = "  " + Synopsis(entry);
        left.resize(std::max<size_t>(left.size() + 2, 32), ' ');
        usage += left + std::string(entry.help) + "\n";
    }
    return usage;
}

}  // namespace wendrel
