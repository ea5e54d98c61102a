// The number at the start of a text, as header values and label texts are read.
#pragma once

#include <string_view>

namespace wendrel {

// Reads the number that a text begins with: an optional sign, digits, a
// decimal point ".", and an exponent introduced by E or D (either case), with
// blanks anywhere between its characters skipped ("1 2.5" reads 12.5,
// "1.5D+03" reads 1500). Reading stops at the first character that cannot
// continue the number; a text that does not begin with a number reads 0.
// A magnitude beyond the double range reads as an infinity of its sign.
double NumericValue(std::string_view text);

}  // namespace wendrel
