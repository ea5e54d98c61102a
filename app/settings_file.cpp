#include "app/settings_file.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <cerrno>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <iterator>
#include <limits>
#include <memory>
#include <variant>

#include "app/file_replace.h"
#include "store/rounding.h"

namespace wendrel {

namespace {

constexpr int kLow16 = -32768;
constexpr int kHigh16 = 32767;

// The number fields in file order. HdrTop is the one that may carry a fraction.
using NumberField = std::variant<int Settings::*, double Settings::*>;
const std::array<NumberField, 22> kNumberFields = {
    &Settings::MainLeft,    &Settings::MainTop,      &Settings::LoadLeft,     &Settings::LoadTop,
    &Settings::HdrLeft,     &Settings::HdrTop,       &Settings::HdrWidth,     &Settings::HdrHeight,
    &Settings::SpareLeft,   &Settings::SpareTop,     &Settings::SpareWidth,   &Settings::SpareHeight,
    &Settings::PlotWinLeft, &Settings::PlotWinTop,   &Settings::PlotWinWidth, &Settings::PlotWinHeight,
    &Settings::HelpLeft,    &Settings::HelpTop,      &Settings::HelpWidth,    &Settings::HelpHeight,
    &Settings::AboutLeft,   &Settings::AboutTop,
};

// How many of those numbers each line after the first holds.
constexpr std::array<size_t, 7> kNumbersPerLine = {2, 2, 4, 4, 4, 4, 2};

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

std::string_view TrimTrailingBlanks(std::string_view text) {
    while (!text.empty() && IsBlank(text.back())) text.remove_suffix(1);
    return text;
}

// Splits a settings text into its fields, one at a time.
class FieldReader {
public:
    FieldReader(std::string_view text, bool textIsWholeFile) : text_(text), textIsWholeFile_(textIsWholeFile) {}

    // The next field's value; nothing when there is no separator where the
    // field ends or a quoted field is followed by something other than blanks.
    std::optional<std::string_view> Next() {
        if (ended_) return std::nullopt;
        SkipBlanks();
        std::string_view value;
        if (pos_ < text_.size() && text_[pos_] == '"') {
            const size_t close = text_.find('"', pos_ + 1);
            if (close == std::string_view::npos) return std::nullopt;
            value = text_.substr(pos_ + 1, close - pos_ - 1);
            pos_ = close + 1;
            SkipBlanks();
        } else {
            const size_t end = std::min(text_.find_first_of(",\r\n", pos_), text_.size());
            value = TrimTrailingBlanks(text_.substr(pos_, end - pos_));
            pos_ = end;
        }
        if (!TakeSeparator()) return std::nullopt;
        return value;
    }

private:
    void SkipBlanks() {
        while (pos_ < text_.size() && IsBlank(text_[pos_])) ++pos_;
    }

    // A comma, a line end (CR LF, LF or CR) or the end of the file.
    bool TakeSeparator() {
        if (pos_ >= text_.size()) {
            ended_ = true;
            return textIsWholeFile_;
        }
        const char c = text_[pos_++];
        if (c == '\r' && pos_ < text_.size() && text_[pos_] == '\n') ++pos_;
        return c == ',' || c == '\r' || c == '\n';
    }

    std::string_view text_;
    bool textIsWholeFile_;
    size_t pos_ = 0;
    bool ended_ = false;
};

bool InRange16(double value) {
    const int64_t rounded = RoundHalfEven(value);
    return rounded >= kLow16 && rounded <= kHigh16;
}

// A decimal number within the range of doubles; nothing for anything else.
std::optional<double> ParseNumber(std::string_view text) {
    bool negative = false;
    if (!text.empty() && (text.front() == '+' || text.front() == '-')) {
        negative = text.front() == '-';
        text.remove_prefix(1);
    }
    // from_chars would also take "inf" and "nan"; a number here starts with a digit or the point.
    if (text.empty() || !(std::isdigit(static_cast<unsigned char>(text.front())) || text.front() == '.'))
        return std::nullopt;
    double value = 0;
    const char* end = text.data() + text.size();
    const auto [stop, ec] = std::from_chars(text.data(), end, value);
    if (ec != std::errc() || stop != end) return std::nullopt;
    return negative ? -value : value;
}

std::string WholeNumberText(int value) { return std::to_string(std::clamp(value, kLow16, kHigh16)); }

// Plain decimal, the fraction only when there is one, never "-0". NaN is
// written as 0 and an infinity as the largest number of its sign.
std::string DecimalText(double value) {
    if (std::isnan(value)) value = 0;
    value = std::clamp(value, -std::numeric_limits<double>::max(), std::numeric_limits<double>::max());
    if (value == 0) value = 0;
    // The largest numbers and the smallest fractions in fixed form need a few hundred digits.
    std::array<char, 512> buffer;
    const auto [end, ec] = std::to_chars(buffer.data(), buffer.data() + buffer.size(), value,
                                         std::chars_format::fixed);
    (void)ec;  // the buffer holds every value of that range
    return std::string(buffer.data(), end);
}

std::string QuotedName(std::string_view name) {
    std::string text = "\"";
    std::copy_if(name.begin(), name.end(), std::back_inserter(text), [](char c) { return c != '"'; });
    return text + "\"";
}

}  // namespace

std::optional<Settings> ParseSettingsText(std::string_view text, bool textIsWholeFile) {
    FieldReader fields(text, textIsWholeFile);
    Settings settings;
    const auto lambda0Key = fields.Next();
    const auto dLambdaKey = fields.Next();
    const auto comment = fields.Next();
    if (!lambda0Key || !dLambdaKey || !comment) return std::nullopt;
    settings.Lambda0Key = std::string(*lambda0Key);
    settings.DLambdaKey = std::string(*dLambdaKey);

    for (const NumberField& field : kNumberFields) {
        const auto fieldText = fields.Next();
        if (!fieldText) return std::nullopt;
        const auto value = ParseNumber(*fieldText);
        if (!value) return std::nullopt;
        if (const auto whole = std::get_if<int Settings::*>(&field)) {
            if (!InRange16(*value)) return std::nullopt;
            settings.*(*whole) = static_cast<int>(RoundHalfEven(*value));
        } else {
            settings.*std::get<double Settings::*>(field) = *value;
        }
    }
    return settings;
}

std::optional<Settings> ReadSettingsFile(const std::filesystem::path& path) {
    // Only a plain file is read: opening a named pipe would wait for a writer.
    std::error_code error;
    if (!std::filesystem::is_regular_file(path, error)) return std::nullopt;
    const std::unique_ptr<std::FILE, int (*)(std::FILE*)> file(std::fopen(path.c_str(), "rb"), &std::fclose);
    if (!file) return std::nullopt;
    std::string bytes(kSettingsReadLimit, '\0');
    const size_t count = std::fread(bytes.data(), 1, bytes.size(), file.get());
    const bool whole = count < kSettingsReadLimit || std::fgetc(file.get()) == EOF;
    if (std::ferror(file.get())) return std::nullopt;
    bytes.resize(count);
    return ParseSettingsText(bytes, whole);
}

std::string SettingsFileText(const Settings& settings) {
    constexpr std::string_view kLineEnd = "\r\n";
    std::string text = QuotedName(settings.Lambda0Key) + "," + QuotedName(settings.DLambdaKey) + "," +
                       QuotedName(kSettingsComment);
    text += kLineEnd;
    size_t next = 0;
    for (const size_t count : kNumbersPerLine) {
        for (size_t i = 0; i < count; ++i, ++next) {
            if (i > 0) text += ',';
            const NumberField& field = kNumberFields[next];
            if (const auto whole = std::get_if<int Settings::*>(&field))
                text += WholeNumberText(settings.*(*whole));
            else
                text += DecimalText(settings.*std::get<double Settings::*>(field));
        }
        text += kLineEnd;
    }
    return text;
}

std::string WriteSettingsFile(const std::filesystem::path& path, const Settings& settings) {
    const std::string text = SettingsFileText(settings);
    const int error = ReplaceFileWith(path, text);
    if (error == 0) return {};
    return "The settings file \"" + path.string() + "\" could not be written: " + std::strerror(error) + ".";
}

}  // namespace wendrel
