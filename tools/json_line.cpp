#include "tools/json_line.h"

#include <charconv>
#include <cmath>
#include <cstdio>

namespace wendrel {

namespace {

bool IsValidUtf8(std::string_view s) {
    size_t i = 0;
    while (i < s.size()) {
        const auto c = static_cast<unsigned char>(s[i]);
        size_t length = c < 0x80 ? 1 : (c >> 5) == 0x6 ? 2 : (c >> 4) == 0xE ? 3 : (c >> 3) == 0x1E ? 4 : 0;
        if (length == 0 || i + length > s.size()) return false;
        uint32_t code = length == 1 ? c : c & (0x7F >> length);
        for (size_t k = 1; k < length; ++k) {
            const auto next = static_cast<unsigned char>(s[i + k]);
            if ((next & 0xC0) != 0x80) return false;
            code = code << 6 | (next & 0x3F);
        }
        const uint32_t smallest[] = {0, 0, 0x80, 0x800, 0x10000};
        if (code < smallest[length] || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF)) return false;
        i += length;
    }
    return true;
}

void AppendEscaped(std::string& out, std::string_view s) {
    const bool utf8 = IsValidUtf8(s);
    out += '"';
    for (const char ch : s) {
        const auto c = static_cast<unsigned char>(ch);
        if (c == '"' || c == '\\') {
            out += '\\';
            out += ch;
        } else if (c < 0x20 || c == 0x7F || (c >= 0x80 && !utf8)) {
            char escape[8];
            std::snprintf(escape, sizeof escape, "\\u%04x", c);
            out += escape;
        } else {
            out += ch;
        }
    }
    out += '"';
}

void AppendNumber(std::string& out, double value) {
    if (!std::isfinite(value)) {
        out += "null";
        return;
    }
    char digits[32];
    const auto result = std::to_chars(digits, digits + sizeof digits, value, std::chars_format::general, 17);
    out.append(digits, result.ptr);
}

}  // namespace

void JsonLine::Key(std::string_view key) {
    if (text_.size() > 1) text_ += ',';
    AppendEscaped(text_, key);
    text_ += ':';
}

JsonLine& JsonLine::Integer(std::string_view key, int64_t value) {
    Key(key);
    text_ += std::to_string(value);
    return *this;
}

JsonLine& JsonLine::Number(std::string_view key, double value) {
    Key(key);
    AppendNumber(text_, value);
    return *this;
}

JsonLine& JsonLine::Bool(std::string_view key, bool value) {
    Key(key);
    text_ += value ? "true" : "false";
    return *this;
}

JsonLine& JsonLine::Null(std::string_view key) {
    Key(key);
    text_ += "null";
    return *this;
}

JsonLine& JsonLine::Text(std::string_view key, std::string_view value) {
    Key(key);
    AppendEscaped(text_, value);
    return *this;
}

JsonLine& JsonLine::Numbers(std::string_view key, std::span<const double> values) {
    Key(key);
    text_ += '[';
    for (size_t i = 0; i < values.size(); ++i) {
        if (i > 0) text_ += ',';
        AppendNumber(text_, values[i]);
    }
    text_ += ']';
    return *this;
}

JsonLine& JsonLine::Texts(std::string_view key, std::span<const std::string> values) {
    Key(key);
    text_ += '[';
    for (size_t i = 0; i < values.size(); ++i) {
        if (i > 0) text_ += ',';
        AppendEscaped(text_, values[i]);
    }
    text_ += ']';
    return *this;
}

JsonLine& JsonLine::Object(std::string_view key, const JsonLine& value) {
    Key(key);
    text_ += value.Finish();
    return *this;
}

JsonLine& JsonLine::Objects(std::string_view key, std::span<const JsonLine> values) {
    Key(key);
    text_ += '[';
    for (size_t i = 0; i < values.size(); ++i) text_ += (i > 0 ? "," : "") + values[i].Finish();
    text_ += ']';
    return *this;
}

}  // namespace wendrel
