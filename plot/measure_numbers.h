// Numbers of line measurements and fits as their texts show them: the
// shortest text of the given precision (std::to_chars), six significant
// digits for a value.
#pragma once

#include <charconv>
#include <string>

namespace wendrel {

inline std::string MeasureNumber(double value, std::chars_format format, int precision) {
    char buf[400];
    return {buf, std::to_chars(buf, buf + sizeof buf, value, format, precision).ptr};
}

inline std::string MeasureValue(double value) { return MeasureNumber(value, std::chars_format::general, 6); }

}  // namespace wendrel
