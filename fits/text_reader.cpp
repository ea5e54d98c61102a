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

namespace wendrel {

namespace {

std::string Quoted(const std::string& name) { return "\"" + name + "\""; }

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

}  // namespace

LoadResult ReadTextSpectra(InputFile& file, const std::string& name) {
    LoadResult result;
    const auto refuse = [&](const std::string& text) {
        result.messages.push_back(Quoted(name) + ": " + text);
        return result;
    };
    std::string text(static_cast<size_t>(file.Size()), '\0');
    if (file.ReadAt(0, text) != file.Size()) return refuse("the file cannot be read.");
    result.spectraInFile = 1;
    if (text.starts_with("\xEF\xBB\xBF")) text.erase(0, 3);  // the byte-order mark some editors write first

    Spectrum s;
    s.FileName = name;
    std::vector<double> waves;
    double angstroms = 1;
    bool headerSeen = false;
    size_t lineNumber = 0;
    for (size_t at = 0; at < text.size();) {
        const size_t end = std::min(text.find('\n', at), text.size());
        const std::string_view line = std::string_view(text).substr(at, end - at);
        at = end + 1;
        ++lineNumber;
        if (line.starts_with('#')) {
            s.HdrCard.emplace_back(line.substr(0, line.find_last_not_of("\r") + 1));
            continue;
        }
        const std::vector<std::string_view> fields = Fields(line);
        if (fields.empty()) continue;
        const std::optional<double> wave = Number(fields[0]);
        if (!wave && waves.empty() && !headerSeen) {
            headerSeen = true;
            angstroms = UnitOfColumnName(WavelengthColumnName(line));
            continue;
        }
        const std::optional<double> value = fields.size() >= 2 ? Number(fields[1]) : std::nullopt;
        const bool blank = fields.size() >= 2 && !value && std::isalpha(static_cast<unsigned char>(fields[1][0]));
        if (!wave || (!value && !blank)) {
            const std::string why = fields.size() < 2 ? "it has no second column"
                                    : "column " + std::string(wave ? "2" : "1") + ", \"" +
                                          std::string(fields[wave ? 1 : 0].substr(0, 30)) + "\", is not a number";
            return refuse("line " + std::to_string(lineNumber) + " does not hold a wavelength and a flux (" + why +
                          "): \"" + std::string(line.substr(0, 60)) + "\".");
        }
        waves.push_back(*wave * angstroms);
        s.Flux.push_back(value && std::isfinite(*value) ? *value : std::numeric_limits<double>::quiet_NaN());
    }
    if (waves.empty()) return refuse("the file holds no lines of a wavelength and a flux.");
    s.NumCards = static_cast<int>(s.HdrCard.size());
    s.Naxis1 = static_cast<double>(waves.size());
    if (std::string problem = TakePixelCentres(s, std::move(waves)); !problem.empty()) return refuse(problem);
    std::vector<double> blockMax;
    AppendBlockMaxima(s.Flux, blockMax);
    if (std::string problem = TakeLevelAndPercent(s, blockMax); !problem.empty()) {
        result.messages.push_back(Quoted(name) + " " + problem);
        return result;
    }
    MakeWavelengthsRise(s);
    result.spectra.push_back(std::move(s));
    result.numbers.push_back(1);
    return result;
}

}  // namespace wendrel
