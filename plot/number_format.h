// Number texts of the program: the plain number text that captions use, and
// the fixed-width fields of the plot's labels and cursor read-out.
//
// Plain number text: a leading blank for values not below 0, "-" for negative
// ones, then the shortest digits that give the value back in its own precision
// (at most 7 significant digits for a float, 15 for a double, all digits for an
// integer), no trailing zeros, no point for whole numbers, no "0" before the
// point (0.5 -> " .5"), and "." as separator in every locale.
// Floating values switch to exponent form "1.5E-05", "1E+16" when their decimal
// exponent is below -4 or at least the digit count of their precision (7 for a
// float, 15 for a double): so 0.0001 is " .0001" but 0.00001 is " 1E-05", and a
// double up to 999999999999999 stays plain. Not-a-number gives " NaN",
// infinities " Inf" and "-Inf".
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace wendrel {

std::string PlainNumberText(double value);
std::string PlainNumberText(float value);
std::string PlainNumberText(int64_t value);
inline std::string PlainNumberText(int value) { return PlainNumberText(static_cast<int64_t>(value)); }

// The text without its leading blanks, as most captions show a number.
std::string WithoutLeadingBlanks(std::string_view text);

// The value with `decimals` decimals (halves going up), left-aligned and
// filled with blanks to `width` characters; a value too long for the field by
// more than its decimals falls back to FormatExp(value, width, width - 6), one
// too long by fewer is cut to `width` characters. Values between -1 and 1 get
// a "0" before the point when the field has room for it ("0.5", "-0.5").
// Examples: FormatNum(120, 6, 0) = " 120  ", FormatNum(6500, 8, 2) = "6500.00 ",
// FormatNum(6562.817, 8, 2) = " 6562.82", FormatNum(1234567, 6, 0) = " 0D+07".
// Widths below 6 still give a result: the exponent fallback then uses no
// decimals and its text may be longer than `width`.
std::string FormatNum(double value, int width, int decimals);

// Exponent form with a mantissa below 1 and a two-digit exponent after "D+" or
// "D-": FormatExp(12345, 8, 2) = " .12D+05", FormatExp(0, 8, 2) = ".00D+00 ".
// The mantissa is the value divided by 10^exponent, rounded as FormatNum rounds:
// FormatExp(555, 8, 2) = " .56D+03".
// The decimals are lowered to width - 6 when they would not fit (never below 0).
// The text is filled with blanks to `width`; a longer text is returned whole.
std::string FormatExp(double value, int width, int decimals);

// Three significant digits, as the plot shows flux values: plainly for
// decimal exponents -2 .. 5 ("0.0320", "3.20", "320", "321000"), else in
// exponent form "3.20e-15", "-1.05e+07"; 0 is "0", and a value that is not a
// number "NaN", infinities "Inf" and "-Inf".
std::string SignificantText(double value);

// The number's text filled on the left with `fill` to `width` characters:
// PadNum(7, 2, '0') = "07", PadNum(123, 2, '0') = "123".
std::string PadNum(int64_t number, int width, char fill);

}  // namespace wendrel
