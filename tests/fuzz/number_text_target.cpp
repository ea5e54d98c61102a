// Fuzz target: the leading-number parse of header and label texts, and the label number format. The input is
// a text to parse; from 13 bytes on, also a double, a 16-bit width and decimals, and a fill character, for
// calls with arguments beyond the labels' own.
#include <cmath>
#include <cstdint>
#include <cstring>
#include <string>

#include "plot/number_format.h"
#include "store/numeric_text.h"
#include "tests/fuzz/fuzz_check.h"

using namespace wendrel;

// The labels use widths 6 to 8 with 0 to 2 decimals: a value fills exactly its field, or one character more
// for a three-digit exponent. The plain number text reads back to the value to 15 significant digits.
static void CheckTexts(double value) {
    for (int width = 6; width <= 8; ++width)
        for (int decimals = 0; decimals <= 2; ++decimals) {
            const std::string text = FormatNum(value, width, decimals);
            const bool longExponent = text.find('D') != std::string::npos && (std::abs(value) >= 1e99 || std::abs(value) < 1e-98);
            WENDREL_FUZZ_CHECK(text.size() == static_cast<size_t>(width) + (std::isfinite(value) && longExponent), text);
            WENDREL_FUZZ_CHECK(!std::isfinite(value) || text.find_first_not_of(" -.0123456789DE+") == std::string::npos, text);
        }
    if (!std::isfinite(value)) return;
    const std::string text = PlainNumberText(value);
    const double back = NumericValue(text);  // fifteen digits of the largest doubles round up beyond their range
    WENDREL_FUZZ_CHECK(std::abs(back - value) <= 1e-14 * std::abs(value) || (std::isinf(back) && std::abs(value) > 1.797693134862315e308), text);
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const double parsed = NumericValue(std::string_view(reinterpret_cast<const char*>(data), size));
    WENDREL_FUZZ_CHECK(!std::isnan(parsed), std::string(reinterpret_cast<const char*>(data), size));
    CheckTexts(parsed);
    if (size < 13) return 0;
    double value; int64_t number; int16_t width, decimals;
    std::memcpy(&value, data, 8), std::memcpy(&number, data, 8), std::memcpy(&width, data + 8, 2), std::memcpy(&decimals, data + 10, 2);
    CheckTexts(value);
    (void)PlainNumberText(static_cast<float>(value));
    (void)FormatNum(value, width, decimals), (void)FormatExp(value, width, decimals);
    const std::string padded = PadNum(number, width, static_cast<char>(data[12]));
    WENDREL_FUZZ_CHECK(padded.size() >= static_cast<size_t>(std::max<int>(width, 1)), padded);
    return 0;
}
