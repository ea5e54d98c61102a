// Texts of the run-time error numbers that file, device and printer
// operations report, as the print command shows them.
#pragma once

#include <string_view>

namespace wendrel {

// The text for an error number; empty for a number that has none, including
// any number below 0 or above 1000.
std::string_view ErrMsg(int number);

}  // namespace wendrel
