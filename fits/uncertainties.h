// A file's pixel uncertainties as 1-sigma errors, from values given as
// errors, inverse variances or variances.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace wendrel {

// Uncertainty values as the file holds them, and the name of the column or
// image extension they come from, which says what they are.
struct Uncertainties {
    std::string name;
    std::vector<double> values;
};

// Turns `values` into 1-sigma errors in place, by `name` (any case): IVAR...
// holds inverse variances, and a pixel whose inverse variance is not
// positive is bad, its flux becomes blank; VAR... holds variances; any other
// name 1-sigma errors. An error that cannot be one (negative, NaN) is NaN.
void TakeSigma(std::string_view name, std::vector<double>& values, std::vector<double>& flux);

}  // namespace wendrel
