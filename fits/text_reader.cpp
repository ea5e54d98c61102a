#include "fits/text_reader.h"

#include <charconv>
#include <cmath>
#include <limits>
#include <optional>
#include <string>
#include <vector>

#include "fits/continuum_level.h"
#include "fits/spectral_axis.h"
#include "fits/spectrum_finish.h"
#include "fits/quoted_name.h"

namespace wendrel {

namespace {

bool IsSeparator(char c) { return c == ' ' || c == '\t' || c == ',' || c == '\r'; }

// The line's fields, split at runs of blanks, tabs and commas.
std::vector<std::string_view> Fields(std::string_view line) {
    std::vector<std::string_view> fields;
    size_t i = 0;
    while (i < line.size()) {
        while (i < line.size() && IsSeparator(line[i])) ++i;
        const size_t start = i;
        while (i < line.size() && !IsSeparator(line[i])) ++i;
        if (i > start) fields.push_back(line.substr(start, i - start));
    }
    return fields;
}

// A number as C or Fortran writes it: Fortran's double-precision exponent
// "1.5D+03" is read as "1.5E+03".
std::optional<double> Number(std::string_view field) {
    if (field.starts_with('+')) field.remove_prefix(1);
    std::string text(field);
    if (const size_t d = text.find_first_of("Dd"); d != std::string::npos && d > 0) text[d] = 'E';
    double value = 0;
    const auto [stop, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (stop != text.data() + text.size() || (error != std::errc() && error != std::errc::result_out_of_range))
        return std::nullopt;
    return value;
}

// The first column's name in a header line: up to the first comma or tab
// when the line has any, else its first word and a unit in brackets after it
// ("wavelength [nm] flux").
std::string_view WavelengthColumnName(std::string_view line) {
    if (const size_t cut = line.find_first_of(",\t"); cut != std::string_view::npos) return line.substr(0, cut);
    const std::vector<std::string_view> words = Fields(line);
    if (words.size() >= 2 && (words[1].starts_with('(') || words[1].starts_with('[')))
        return line.substr(0, static_cast<size_t>(words[1].end() - line.begin()));
    return words.front();
}

// The Angstroms per unit of the first whole word of a column name that names
// a unit ("wavelength_nm", "lambda (um)"); 1 when none does.
double UnitOfColumnName(std::string_view name) {
    size_t i = 0;
    while (i < name.size()) {
        while (i < name.size() && !std::isalpha(static_cast<unsigned char>(name[i]))) ++i;
        const size_t start = i;
        while (i < name.size() && std::isalpha(static_cast<unsigned char>(name[i]))) ++i;
        const std::string_view word = name.substr(start, i - start);
        if (word.empty() || word.size() == 1) continue;  // "A" as a word names a column as often as a unit
        if (const std::optional<double> angstroms = AngstromsPerUnit(word)) return *angstroms;
    }
    return 1;
}

// One block of a text file: the comments before and in it, the unit of its
// column names, and its pixels.
struct TextBlock {
    Spectrum s;
    std::vector<double> waves;
    double angstroms = 1;
    bool namesSeen = false;
    std::optional<size_t> sigmaColumn;  // the field that holds each flux's uncertainty
};

// The uncertainty's field in a line of column names: a column named err,
// error or sigma (units in brackets are no columns).
std::optional<size_t> SigmaColumnNamed(std::string_view line) {
    std::vector<std::string_view> names = Fields(line);
    std::erase_if(names, [](std::string_view n) { return n.starts_with('(') || n.starts_with('['); });
    for (size_t k = 2; k < names.size(); ++k) {
        std::string name(names[k]);
        for (char& c : name) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
        if (name == "err" || name == "error" || name == "sigma") return k;
    }
    return std::nullopt;
}

}  // namespace

LoadResult ReadTextSpectra(InputFile& file, const std::string& name) {
    LoadResult result;
    const auto refuse = [&](const std::string& text) {
        result.messages.push_back(Quoted(name) + ": " + text);
        result.spectra.clear();
        result.numbers.clear();
        return result;
    };
    std::string text(static_cast<size_t>(file.Size()), '\0');
    if (file.ReadAt(0, text) != file.Size()) return refuse("the file cannot be read.");
    if (text.starts_with("\xEF\xBB\xBF")) text.erase(0, 3);  // the byte-order mark some editors write first

    std::vector<TextBlock> blocks(1);
    std::vector<std::string> comments;  // seen after a block's pixels: the next block's, or this one's
    size_t lineNumber = 0;
    for (size_t at = 0; at < text.size();) {
        const size_t end = std::min(text.find('\n', at), text.size());
        const std::string_view line = std::string_view(text).substr(at, end - at);
        at = end + 1;
        ++lineNumber;
        if (line.starts_with('#')) {
            comments.emplace_back(line.substr(0, line.find_last_not_of("\r") + 1));
            continue;
        }
        const std::vector<std::string_view> fields = Fields(line);
        if (fields.empty()) continue;
        const std::optional<double> wave = Number(fields[0]);
        // Column names after pixels begin the next block (files of several
        // spectra, as the program's CSV export writes them).
        if (!wave && !blocks.back().waves.empty()) blocks.emplace_back();
        TextBlock& block = blocks.back();
        block.s.HdrCard.insert(block.s.HdrCard.end(), comments.begin(), comments.end());
        comments.clear();
        if (!wave && !block.namesSeen) {
            block.namesSeen = true;
            block.angstroms = UnitOfColumnName(WavelengthColumnName(line));
            block.sigmaColumn = SigmaColumnNamed(line);
            continue;
        }
        // Three unnamed columns: wavelength, flux and its uncertainty.
        if (block.waves.empty() && !block.namesSeen && fields.size() == 3) block.sigmaColumn = 2;
        const std::optional<double> value = fields.size() >= 2 ? Number(fields[1]) : std::nullopt;
        const bool blank = fields.size() >= 2 && !value && std::isalpha(static_cast<unsigned char>(fields[1][0]));
        if (!wave || (!value && !blank)) {
            const std::string why = fields.size() < 2 ? "it has no second column"
                                    : "column " + std::string(wave ? "2" : "1") + ", \"" +
                                          std::string(fields[wave ? 1 : 0].substr(0, 30)) + "\", is not a number";
            return refuse("line " + std::to_string(lineNumber) + " does not hold a wavelength and a flux (" + why +
                          "): \"" + std::string(line.substr(0, 60)) + "\".");
        }
        block.waves.push_back(*wave * block.angstroms);
        block.s.Flux.push_back(value && std::isfinite(*value) ? *value : std::numeric_limits<double>::quiet_NaN());
        if (block.sigmaColumn) {
            const std::optional<double> sigma =
                *block.sigmaColumn < fields.size() ? Number(fields[*block.sigmaColumn]) : std::nullopt;
            block.s.Sigma.push_back(sigma && *sigma >= 0 ? *sigma : std::numeric_limits<double>::quiet_NaN());
        }
    }
    TextBlock& last = blocks.back();
    last.s.HdrCard.insert(last.s.HdrCard.end(), comments.begin(), comments.end());
    if (last.waves.empty()) {
        if (blocks.size() == 1) return refuse("the file holds no lines of a wavelength and a flux.");
        blocks.pop_back();  // column names with no pixels after them
    }
    result.spectraInFile = blocks.size();
    for (size_t k = 0; k < blocks.size(); ++k) {
        Spectrum& s = blocks[k].s;
        s.FileName = blocks.size() == 1 ? name : SpectrumName(name, static_cast<int64_t>(k + 1));
        s.NumCards = static_cast<int>(s.HdrCard.size());
        s.Naxis1 = static_cast<double>(blocks[k].waves.size());
        const auto problemOf = [&](const std::string& problem) { return Quoted(s.FileName) + ": " + problem; };
        if (std::string problem = TakePixelCentres(s, std::move(blocks[k].waves)); !problem.empty()) {
            result.messages.push_back(problemOf(problem));
            continue;
        }
        std::vector<double> blockMax;
        AppendBlockMaxima(s.Flux, blockMax);
        if (std::string problem = TakeLevelAndPercent(s, blockMax); !problem.empty()) {
            result.messages.push_back(Quoted(s.FileName) + " " + problem);
            continue;
        }
        MakeWavelengthsRise(s);
        result.spectra.push_back(std::move(s));
        result.numbers.push_back(static_cast<int64_t>(k + 1));
    }
    return result;
}

}  // namespace wendrel
