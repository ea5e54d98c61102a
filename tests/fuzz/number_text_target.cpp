// Fuzz target: the leading-number parse of header and label texts, and the
// label number format. The whole input is a text to parse; its first 8 bytes
// are also a double, the next four a 16-bit width and 16-bit decimals, and the
// next one a fill character, for calls with arguments beyond the labels' own.
#include <cmath>
#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>

#include "plot/number_format.h"
#include "store/numeric_text.h"
#include "tests/fuzz/fuzz_check.h"

namespace {

using namespace wendrel;

std::string Describe(double value, int width, int decimals) {
    char text[80];
    std::snprintf(text, sizeof text, "%.17g, %d, %d", value, width, decimals);
    return text;
}

// The labels use widths 6 to 8 with 0 to 2 decimals: a finite value then
// fills exactly its field, or one character more for a three-digit exponent.
void CheckLabelTexts(double value) {
    for (int width = 6; width <= 8; ++width) {
        for (int decimals = 0; decimals <= 2; ++decimals) {
            const std::string text = FormatNum(value, width, decimals);
            const std::string call = Describe(value, width, decimals) + " -> [" + text + "]";
            if (!std::isfinite(value)) {
                WENDREL_FUZZ_CHECK(text.size() == static_cast<size_t>(width), call);
                continue;
            }
            const bool longExponent = text.find('D') != std::string::npos && std::abs(value) >= 1e99;
            const bool longTinyExponent = text.find('D') != std::string::npos && std::abs(value) < 1e-98;
            WENDREL_FUZZ_CHECK(text.size() == static_cast<size_t>(width) ||
                                   (text.size() == static_cast<size_t>(width) + 1 && (longExponent || longTinyExponent)),
                               call);
            WENDREL_FUZZ_CHECK(text.find_first_not_of(" -.0123456789DE+") == std::string::npos, call);
        }
    }
}

// The plain number text reads back to the value to 15 significant digits.
void CheckPlainText(double value) {
    if (!std::isfinite(value)) return;
    const std::string text = PlainNumberText(value);
    const double back = NumericValue(text);
    // Fifteen digits of the largest doubles round up beyond the double range.
    if (std::isinf(back) && std::abs(value) > 1.797693134862315e308) return;
    WENDREL_FUZZ_CHECK(std::abs(back - value) <= 1e-14 * std::abs(value), Describe(value, 0, 0) + " -> " + text);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    const double parsed = NumericValue(text);
    WENDREL_FUZZ_CHECK(!std::isnan(parsed), std::string(text));
    CheckLabelTexts(parsed);
    CheckPlainText(parsed);

    if (size < 8) return 0;
    double value;
    std::memcpy(&value, data, 8);
    CheckLabelTexts(value);
    CheckPlainText(value);
    (void)PlainNumberText(static_cast<float>(value));

    if (size < 13) return 0;
    int16_t width, decimals;
    std::memcpy(&width, data + 8, 2);
    std::memcpy(&decimals, data + 10, 2);
    const char fill = static_cast<char>(data[12]);
    (void)FormatNum(value, width, decimals);
    (void)FormatExp(value, width, decimals);
    int64_t number;
    std::memcpy(&number, data, 8);
    const std::string padded = PadNum(number, width, fill);
    WENDREL_FUZZ_CHECK(padded.size() >= static_cast<size_t>(std::max<int>(width, 1)), padded);
    return 0;
}
