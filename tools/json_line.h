// One JSON object written on one line, fields in the order they are added.
// Numbers carry 17 significant digits, so that they read back to the same
// double; a NaN or infinite number is written as null. A text that is valid
// UTF-8 is written as such; any other text is taken one byte per character
// (Latin-1), as header cards are read.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace wendrel {

class JsonLine {
public:
    JsonLine& Integer(std::string_view key, int64_t value);
    JsonLine& Number(std::string_view key, double value);
    JsonLine& Bool(std::string_view key, bool value);
    JsonLine& Null(std::string_view key);
    JsonLine& Text(std::string_view key, std::string_view value);
    JsonLine& Numbers(std::string_view key, std::span<const double> values);
    JsonLine& Texts(std::string_view key, std::span<const std::string> values);
    JsonLine& Object(std::string_view key, const JsonLine& value);
    JsonLine& Objects(std::string_view key, std::span<const JsonLine> values);

    // The object's text, without the line end.
    std::string Finish() const { return text_ + "}"; }

private:
    void Key(std::string_view key);
    std::string text_ = "{";
};

}  // namespace wendrel
