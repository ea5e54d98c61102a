#include "analysis/log_lambda_grid.h"

#include <algorithm>
#include <cmath>

namespace wendrel {

std::vector<double> OnLogLambdaGrid(const LogLambdaGrid& grid, std::span<const double> lnLambda,
                                    std::span<const double> flux) {
    std::vector<double> values(grid.Size, NAN);
    size_t j = 0;  // the pixel at or below the point; rises with the point
    for (size_t k = 0; k < grid.Size; ++k) {
        const double x = grid.FirstLn + static_cast<double>(k) * grid.Step;
        if (x < lnLambda.front() || x > lnLambda.back()) continue;
        while (j + 2 < lnLambda.size() && lnLambda[j + 1] <= x) ++j;
        const double t = std::clamp((x - lnLambda[j]) / (lnLambda[j + 1] - lnLambda[j]), 0.0, 1.0);
        values[k] = flux[j] + t * (flux[j + 1] - flux[j]);
    }
    return values;
}

}  // namespace wendrel
