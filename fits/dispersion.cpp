#include "fits/dispersion.h"

#include <charconv>
#include <cmath>
#include <cstdio>
#include <functional>
#include <span>

#include "fits/dispersion_functions.h"
#include "fits/header_cards.h"
#include "fits/spectral_axis.h"
#include "store/numeric_text.h"

namespace wendrel {

namespace {

constexpr size_t kWatStringLength = 68;  // characters of the text that each WAT card holds
constexpr size_t kSpecFields = 9;        // ap beam dtype w1 dw nw z aplow aphigh

std::string Number(double value) {
    char text[32];
    std::snprintf(text, sizeof text, "%.10g", value);
    return text;
}

// The text of a card's quoted string value ('' stands for one quote), or
// nothing when the card holds no quoted string.
std::optional<std::string> CardString(std::string_view card) {
    if (card.size() < 11 || card[8] != '=') return std::nullopt;
    size_t i = card.find_first_not_of(' ', 9);
    if (i == std::string_view::npos || card[i] != '\'') return std::nullopt;
    std::string text;
    for (++i; i < card.size(); ++i) {
        if (card[i] != '\'') {
            text += card[i];
        } else if (i + 1 < card.size() && card[i + 1] == '\'') {
            text += '\'';
            ++i;
        } else {
            return text;
        }
    }
    return std::nullopt;  // no closing quote
}

// The strings of a run of WATn_nnn cards joined in the order of their
// numbers, each filled with blanks to the 68 characters a card holds (writers
// may drop the trailing blanks that IRAF keeps).
std::optional<std::string> JoinedWat(const std::map<int64_t, std::string>& cards, std::string& problem,
                                     const char* prefix = "WAT2") {
    std::string joined;
    int64_t expected = 1;
    for (const auto& [number, card] : cards) {
        if (number != expected) {
            char name[32];
            std::snprintf(name, sizeof name, "%s_%03lld", prefix, static_cast<long long>(expected));
            problem = "its " + std::string(prefix) + " cards are not numbered from 1 on without a gap: " + std::string(name) + " is missing";
            return std::nullopt;
        }
        ++expected;
        const std::optional<std::string> text = CardString(card);
        if (!text) {
            problem = CardKeyword(card) + " does not hold a quoted text";
            return std::nullopt;
        }
        joined += *text;
        if (text->size() < kWatStringLength) joined.append(kWatStringLength - text->size(), ' ');
    }
    return joined;
}

struct Attribute {
    std::string name, value;
};

// "name = value" pairs, blanks around "=" allowed; a value is one word or a
// text in double quotes.
std::optional<std::vector<Attribute>> ParseAttributes(std::string_view text, std::string& problem) {
    std::vector<Attribute> attributes;
    size_t i = 0;
    const auto skipBlanks = [&] {
        while (i < text.size() && (text[i] == ' ' || text[i] == '\t')) ++i;
    };
    for (;;) {
        skipBlanks();
        if (i == text.size()) return attributes;
        const size_t nameStart = i;
        while (i < text.size() && text[i] != ' ' && text[i] != '\t' && text[i] != '=') ++i;
        Attribute a{std::string(text.substr(nameStart, i - nameStart)), {}};
        if (a.name.empty()) {
            problem = "its WAT2 text has an \"=\" without a name before it";
            return std::nullopt;
        }
        skipBlanks();
        if (i == text.size() || text[i] != '=') {
            problem = "\"" + a.name + "\" in its WAT2 text is not followed by \"=\" and a value";
            return std::nullopt;
        }
        ++i;
        skipBlanks();
        if (i == text.size()) {
            problem = "\"" + a.name + "\" in its WAT2 text has no value";
            return std::nullopt;
        }
        if (text[i] == '"') {
            const size_t close = text.find('"', i + 1);
            if (close == std::string_view::npos) {
                problem = "the value of \"" + a.name + "\" in its WAT2 text has no closing \"";
                return std::nullopt;
            }
            a.value = std::string(text.substr(i + 1, close - i - 1));
            i = close + 1;
        } else {
            const size_t start = i;
            while (i < text.size() && text[i] != ' ' && text[i] != '\t') ++i;
            a.value = std::string(text.substr(start, i - start));
        }
        attributes.push_back(std::move(a));
    }
}

// The number N of an attribute named specN, or -1.
int64_t SpecNumber(const std::string& name) {
    constexpr std::string_view kPattern = "specN";
    const std::string_view prefix = kPattern.substr(0, kPattern.size() - 1);
    if (name.size() <= prefix.size() || !name.starts_with(prefix)) return -1;
    int64_t number = -1;
    const char* end = name.data() + name.size();
    const auto [stop, error] = std::from_chars(name.data() + prefix.size(), end, number);
    return error == std::errc() && stop == end ? number : -1;
}

bool DescribesMultispec(const std::string& joined) {
    std::string ignored;
    const auto attributes = ParseAttributes(joined, ignored);
    if (!attributes) return joined.find("multispec") != std::string::npos;
    for (const Attribute& a : *attributes)
        if (a.name == "wtype") return a.value == "multispec";
    return false;
}

// One field of a specN value as a number; exponents may be written with D.
std::optional<double> FieldNumber(std::string text) {
    for (char& c : text)
        if (c == 'D' || c == 'd') c = 'E';
    double value = 0;
    const char* end = text.data() + text.size();
    const auto [stop, error] = std::from_chars(text.data(), end, value);
    if (error != std::errc() || stop != end) return std::nullopt;
    return value;
}

std::vector<std::string> Words(std::string_view text) {
    std::vector<std::string> words;
    size_t i = 0;
    while ((i = text.find_first_not_of(" \t", i)) != std::string_view::npos) {
        const size_t end = std::min(text.find_first_of(" \t", i), text.size());
        words.emplace_back(text.substr(i, end - i));
        i = end;
    }
    return words;
}

struct WeightedFunction {
    double weight, zero;
    DispersionFunction function;
};

// The wavelength at the file's pixel coordinate, as one multispec aperture
// describes it.
struct Aperture {
    int dtype = 0;
    double w1 = 0, dw = 0, z = 0;
    std::vector<WeightedFunction> functions;

    double operator()(double p) const {
        if (dtype == 0) return (w1 + dw * (p - 1)) / (1 + z);
        if (dtype == 1) return std::pow(10.0, w1 + dw * (p - 1)) / (1 + z);
        double sum = 0;
        for (const WeightedFunction& f : functions) sum += f.weight * (f.zero + f.function(p));
        return sum / (1 + z);
    }
};

std::optional<Aperture> ReadAperture(const std::string& name, const std::string& value, std::string& problem) {
    const std::vector<std::string> words = Words(value);
    if (words.size() < kSpecFields) {
        problem = name + " has " + std::to_string(words.size()) + " of the " + std::to_string(kSpecFields) +
                  " fields \"ap beam dtype w1 dw nw z aplow aphigh\"";
        return std::nullopt;
    }
    // ap, beam and the aperture limits are not used (and may be INDEF).
    std::vector<double> fields(words.size());
    for (size_t k = 0; k < words.size(); ++k) {
        const bool unused = k == 0 || k == 1 || k == 7 || k == 8;
        const std::optional<double> number = FieldNumber(words[k]);
        if (!number && !unused) {
            problem = "field " + std::to_string(k + 1) + " of " + name + ", \"" + words[k] + "\", is not a number";
            return std::nullopt;
        }
        fields[k] = number.value_or(0);
    }
    Aperture aperture;
    const double dtype = fields[2];
    if (dtype == -1) {
        problem = name + " has dispersion type -1: the spectrum is not wavelength calibrated";
        return std::nullopt;
    }
    if (dtype != 0 && dtype != 1 && dtype != 2) {
        problem = name + " has dispersion type " + words[2] + ", not one of 0 (linear), 1 (log-linear) and 2 (non-linear)";
        return std::nullopt;
    }
    aperture.dtype = static_cast<int>(dtype);
    aperture.w1 = fields[3];
    aperture.dw = fields[4];
    aperture.z = fields[6];
    if (aperture.dtype != 2) return aperture;

    std::span<const double> rest = std::span(fields).subspan(kSpecFields);
    while (!rest.empty()) {
        const std::string which = "function " + std::to_string(aperture.functions.size() + 1) + " of " + name;
        if (rest.size() < 3) {
            problem = which + " lacks its weight, zero point or type";
            return std::nullopt;
        }
        const double type = rest[2];
        if (!(type >= 1 && type <= 6 && type == std::floor(type))) {
            problem = which + " has function type " + words[words.size() - rest.size() + 2] +
                      ", not one of 1 (Chebyshev), 2 (Legendre), 3 (cubic spline), 4 (linear spline), "
                      "5 (pixel coordinate array) and 6 (sampled coordinate array)";
            return std::nullopt;
        }
        WeightedFunction f{rest[0], rest[1], {}};
        std::string functionProblem;
        const size_t used = DispersionFunction::Read(static_cast<FunctionType>(static_cast<int>(type)),
                                                     rest.subspan(3), f.function, functionProblem);
        if (used == 0) {
            problem = which + ": " + functionProblem;
            return std::nullopt;
        }
        aperture.functions.push_back(std::move(f));
        rest = rest.subspan(3 + used);
    }
    if (aperture.functions.empty()) {
        problem = name + " has dispersion type 2 (non-linear) but no dispersion function";
        return std::nullopt;
    }
    return aperture;
}

// The multispec aperture of image line `line`: the line-th specN in the
// order of N (line 1: the lowest N).
std::optional<Aperture> LineAperture(const std::map<int64_t, std::string>& cards, int64_t line, std::string& problem) {
    const std::optional<std::string> joined = JoinedWat(cards, problem);
    if (!joined) return std::nullopt;
    const auto attributes = ParseAttributes(*joined, problem);
    if (!attributes) return std::nullopt;
    std::map<int64_t, const Attribute*> apertures;
    for (const Attribute& a : *attributes)
        if (const int64_t number = SpecNumber(a.name); number >= 0) apertures.emplace(number, &a);
    if (apertures.empty()) {
        problem = "its WAT2 text holds no specN attribute";
        return std::nullopt;
    }
    if (std::ssize(apertures) < line) {
        problem = "its WAT2 text describes " + std::to_string(apertures.size()) + " apertures, not one for image line " +
                  std::to_string(line);
        return std::nullopt;
    }
    const Attribute& a = *std::next(apertures.begin(), line - 1)->second;
    return ReadAperture(a.name, a.value, problem);
}

// Empty when the edges run strictly one way and are all numbers.
std::string CheckEdges(const std::vector<double>& edges) {
    for (size_t k = 0; k < edges.size(); ++k)
        if (!std::isfinite(edges[k]))
            return "the wavelength where pixel " + std::to_string(k + 1) + " " + (k + 1 < edges.size() ? "starts" : "ends") +
                   " is not a finite number";
    const bool rising = edges[1] > edges[0];
    for (size_t k = 0; k + 1 < edges.size(); ++k) {
        const bool ok = rising ? edges[k + 1] > edges[k] : edges[k + 1] < edges[k];
        if (ok) continue;
        return "its wavelengths do not keep " + std::string(rising || edges[1] == edges[0] ? "increasing" : "decreasing") +
               " from pixel to pixel: pixel " + std::to_string(k + 1) + " starts at " + Number(edges[k]) +
               " and ends at " + Number(edges[k + 1]) + " Angstroms";
    }
    return {};
}

}  // namespace

void DispersionCards::Take(std::string_view keyword, std::string_view card) {
    if (keyword == "DC-FLAG") {
        dcFlag_ = NumericValue(CardValueText(card));
    } else if (keyword == "LTV1") {
        ltv1_ = NumericValue(CardValueText(card));
    } else if (keyword == "LTM1_1") {
        ltm1_ = NumericValue(CardValueText(card));
    } else if (keyword == "CRVAL1") {
        crval1_ = NumericValue(CardValueText(card));
    } else if (keyword == "CRPIX1") {
        crpix1_ = NumericValue(CardValueText(card));
    } else if (keyword == "COEFF0") {
        coeff0_ = NumericValue(CardValueText(card));
    } else if (keyword == "COEFF1") {
        coeff1_ = NumericValue(CardValueText(card));
    } else if (keyword == "VACUUM") {
        vacuum_ = CardValueText(card) == "T";
    } else if (keyword == "CTYPE1") {
        ctype1_ = UnquotedValue(CardValueText(card));
        std::string type = ctype1_;
        for (char& c : type) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
        logarithmic_ = type == "WAVE-LOG" || type == "AWAV-LOG";
    } else if ((keyword.starts_with("WAT1_") || keyword.starts_with("WAT2_")) && keyword.size() > 5) {
        int64_t number = 0;
        const char* end = keyword.data() + keyword.size();
        const auto [stop, error] = std::from_chars(keyword.data() + 5, end, number);
        if (error == std::errc() && stop == end) (keyword[3] == '1' ? wat1_ : wat2_)[number] = std::string(card);
    }
}

std::string DispersionCards::WavelengthUnit() const {
    std::string problem;
    const std::optional<std::string> joined = JoinedWat(wat1_, problem, "WAT1");
    const auto attributes = joined ? ParseAttributes(*joined, problem) : std::nullopt;
    if (attributes)
        for (const Attribute& a : *attributes)
            if (a.name == "units") return a.value;
    return {};
}

std::string DispersionCards::Kind() const {
    if (!wat2_.empty()) {
        // Cards that cannot be joined still count when they speak of multispec,
        // so that the load is refused with the reason.
        std::string ignored;
        std::string joined = JoinedWat(wat2_, ignored).value_or("");
        if (joined.empty())
            for (const auto& [number, card] : wat2_) joined += CardString(card).value_or(std::string(card));
        if (DescribesMultispec(joined)) return kMultispecScale;
    }
    if (dcFlag_ && *dcFlag_ != 0 && *dcFlag_ != -1) return kLogLinearScale;
    if (logarithmic_) return kLogarithmicScale;
    if (coeff0_ && coeff1_) return kLogLinearScale;
    return kLinearScale;
}

bool DispersionCards::FromCoefficients() const {
    return Kind() == kLogLinearScale && !(dcFlag_ && *dcFlag_ != 0 && *dcFlag_ != -1);
}

std::string DispersionCards::Medium() const {
    if (vacuum_ || FromCoefficients()) return "vacuum";
    return MediumOfAxis(ctype1_, FromIraf());
}

PixelScale PixelScale::Evaluate(const DispersionCards& cards, int64_t pixels, double linearStart,
                                double linearStep, int64_t line) {
    PixelScale scale;
    scale.kind = cards.Kind();
    if (scale.kind == kLinearScale) return scale;

    std::function<double(double)> wavelengthAt;  // w(x) at the file's pixel position x
    std::optional<Aperture> aperture;
    const double ltv = cards.ltv1_.value_or(0), ltm = cards.ltm1_.value_or(1);
    std::string problem;
    if (cards.FromCoefficients()) {
        const double start = *cards.coeff0_, step = *cards.coeff1_;
        wavelengthAt = [=](double x) { return std::pow(10.0, start + (x - 1) * step); };
    } else if (scale.kind == kLogLinearScale) {
        if (*cards.dcFlag_ != 1) {
            scale.problem = "has DC-FLAG = " + Number(*cards.dcFlag_) +
                            ", which is not a wavelength scale this program knows (0 linear, 1 log-linear).";
            return scale;
        }
        wavelengthAt = [=](double x) { return std::pow(10.0, linearStart + (x - 1) * linearStep); };
    } else if (scale.kind == kLogarithmicScale) {
        const double crval = cards.crval1_.value_or(0), crpix = cards.crpix1_.value_or(1);
        if (crval == 0) problem = "CRVAL1 is missing or 0, which a logarithmic scale divides by";
        wavelengthAt = [=](double x) { return crval * std::exp(linearStep * (x - crpix) / crval); };
    } else {
        aperture = LineAperture(cards.wat2_, line, problem);
        if (aperture && ltm == 0) problem = "LTM1_1 is 0, so its pixels have no physical pixel coordinate";
        wavelengthAt = [&](double x) { return (*aperture)((x - ltv) / ltm); };
    }
    if (problem.empty()) {
        const auto n = static_cast<size_t>(pixels);
        scale.centres.resize(n);
        scale.edges.resize(n + 1);
        for (size_t k = 0; k < n; ++k) scale.centres[k] = wavelengthAt(static_cast<double>(k) + 1);
        for (size_t k = 0; k <= n; ++k) scale.edges[k] = wavelengthAt(static_cast<double>(k) + 0.5);
        problem = CheckEdges(scale.edges);
        for (size_t k = 0; k < n && problem.empty(); ++k)
            if (!std::isfinite(scale.centres[k]))
                problem = "the wavelength at the centre of pixel " + std::to_string(k + 1) + " is not a finite number";
    }
    if (problem.empty()) return scale;
    scale.centres.clear();
    scale.edges.clear();
    scale.problem = "has a " + scale.kind +
                    (cards.FromCoefficients()          ? " wavelength scale (COEFF0 and COEFF1)"
                     : scale.kind == kLogLinearScale   ? " wavelength scale (DC-FLAG = 1)"
                     : scale.kind == kMultispecScale ? " wavelength scale (WAT2 cards)"
                                                     : " wavelength scale (CTYPE1)") +
                    " that cannot be used: " + problem + ".";
    return scale;
}

}  // namespace wendrel
