#include "fits/uncertainties.h"

#include <cctype>
#include <cmath>
#include <limits>

namespace wendrel {

void TakeSigma(std::string_view name, std::vector<double>& values, std::vector<double>& flux) {
    constexpr double kBlank = std::numeric_limits<double>::quiet_NaN();
    std::string upper(name);
    for (char& c : upper) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    const bool inverse = upper.starts_with("IVAR"), variance = upper.starts_with("VAR");
    for (size_t p = 0; p < values.size(); ++p) {
        double& v = values[p];
        if (inverse) {
            if (!(v > 0)) flux[p] = kBlank;
            v = v > 0 ? 1 / std::sqrt(v) : kBlank;
        } else if (variance) {
            v = v >= 0 ? std::sqrt(v) : kBlank;
        } else if (!(v >= 0)) {
            v = kBlank;
        }
    }
}

}  // namespace wendrel
