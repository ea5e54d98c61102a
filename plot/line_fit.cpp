#include "plot/line_fit.h"

#include <cminpack.h>

#include <algorithm>
#include <cmath>
#include <numeric>
#include <tuple>
#include <span>

#include "plot/line_profiles.h"
#include "plot/pixel_wavelengths.h"

namespace wendrel {

namespace {

constexpr std::string_view kProfileKeys[] = {"gauss", "lorentz", "voigt"};

// The pixels to fit, in flux divided by `scale`, at wavelengths less the
// span's middle, so that every parameter is of a moderate size.
struct FitProblem {
    LineProfile profile;
    int components;
    std::vector<double> x, y, sigma;

    int Width() const { return ProfileParameters(profile); }
    int Parameters() const { return 2 + components * Width(); }
    std::span<const double> Component(const double* p, int k) const {
        return {p + 2 + k * Width(), static_cast<size_t>(Width())};
    }
    // The weighted residuals (iflag 1) or their Jacobian (iflag 2), as lmder asks.
    void Evaluate(const double* p, double* residuals, double* jacobian, int rows) const {
        for (size_t i = 0; i < x.size(); ++i) {
            double model = p[0] + p[1] * x[i];
            const int row = static_cast<int>(i);
            if (jacobian) {
                jacobian[row] = 1 / sigma[i];
                jacobian[row + rows] = x[i] / sigma[i];
            }
            for (int k = 0; k < components; ++k) {
                const ProfileValue v = EvaluateProfile(profile, Component(p, k), x[i]);
                model += v.value;
                if (jacobian)
                    for (int j = 0; j < Width(); ++j)
                        jacobian[row + (2 + k * Width() + j) * rows] = v.partials[static_cast<size_t>(j)] / sigma[i];
            }
            if (residuals) residuals[i] = (model - y[i]) / sigma[i];
        }
    }
};

int Residuals(void* problem, int m, int, const double* p, double* fvec, double* fjac, int ldfjac, int iflag) {
    const auto& fit = *static_cast<const FitProblem*>(problem);
    if (iflag == 1) fit.Evaluate(p, fvec, nullptr, m);
    if (iflag == 2) fit.Evaluate(p, nullptr, fjac, ldfjac);
    return 0;
}

// Starting values: the straight line through the end pixels, and a component
// at each of the strongest extremes of the pixels about it (smoothed over 5
// pixels against noise), taken one by one, each taken off the pixels before
// the next is looked for: as high as the extreme and as wide as twice the
// nearer end of the run of pixels beyond half of it (the farther one may
// run into a neighbour).
std::vector<double> StartingValues(const FitProblem& fit) {
    const std::vector<double>& x = fit.x;
    const size_t m = x.size();
    std::vector<double> p{(fit.y[0] + fit.y[m - 1]) / 2, (fit.y[m - 1] - fit.y[0]) / (x[m - 1] - x[0])};
    p[0] -= p[1] * (x[0] + x[m - 1]) / 2;
    std::vector<double> r(m);
    for (size_t i = 0; i < m; ++i) {
        const size_t from = i < 2 ? 0 : i - 2, to = std::min(m - 1, i + 2);
        for (size_t j = from; j <= to; ++j)
            r[i] += (fit.y[j] - p[0] - p[1] * x[j]) / static_cast<double>(to - from + 1);
    }
    const double step = (x[m - 1] - x[0]) / static_cast<double>(m - 1);
    for (int k = 0; k < fit.components; ++k) {
        const size_t i = static_cast<size_t>(
            std::ranges::max_element(r, [](double a, double b) { return std::abs(a) < std::abs(b); }) - r.begin());
        const auto beyondHalf = [&](size_t j) { return std::abs(r[j]) > std::abs(r[i]) / 2 && r[j] * r[i] > 0; };
        size_t from = i, to = i;
        while (from > 0 && beyondHalf(from - 1)) --from;
        while (to + 1 < m && beyondHalf(to + 1)) ++to;
        const double width = std::max(2 * std::min(x[i] - x[from], x[to] - x[i]) + step, 2 * step);
        std::vector<double> q{x[i], r[i], width};
        // A Voigt profile of equal widths is about 1.64 times as wide as either.
        if (fit.profile == LineProfile::Voigt) q = {x[i], r[i], width / 1.64, width / 1.64};
        for (size_t j = 0; j < m; ++j) r[j] -= EvaluateProfile(fit.profile, q, x[j]).value;
        p.insert(p.end(), q.begin(), q.end());
    }
    return p;
}

// The inverse of the symmetric positive definite n x n matrix a, by
// Gauss-Jordan elimination; empty when it is singular.
std::vector<double> Inverse(std::vector<double> a, int n) {
    std::vector<double> inverse(static_cast<size_t>(n * n), 0);
    const auto at = [n](std::vector<double>& m, int i, int j) -> double& { return m[static_cast<size_t>(i * n + j)]; };
    for (int i = 0; i < n; ++i) at(inverse, i, i) = 1;
    for (int col = 0; col < n; ++col) {
        int pivot = col;
        for (int i = col + 1; i < n; ++i)
            if (std::abs(at(a, i, col)) > std::abs(at(a, pivot, col))) pivot = i;
        if (!(std::abs(at(a, pivot, col)) > 1e-300)) return {};
        for (int j = 0; j < n; ++j) {
            std::swap(at(a, col, j), at(a, pivot, j));
            std::swap(at(inverse, col, j), at(inverse, pivot, j));
        }
        const double d = at(a, col, col);
        for (int j = 0; j < n; ++j) at(a, col, j) /= d, at(inverse, col, j) /= d;
        for (int i = 0; i < n; ++i) {
            const double f = at(a, i, col);
            if (i == col || f == 0) continue;
            for (int j = 0; j < n; ++j) at(a, i, j) -= f * at(a, col, j), at(inverse, i, j) -= f * at(inverse, col, j);
        }
    }
    return inverse;
}

// What the fit reports of each component, from the parameters in flux units:
// centre less Reference, peak, FWHM, the two widths of a Voigt profile,
// integral over the plot's axis, equivalent width.
constexpr int kReported = 7;
std::vector<double> Reported(const FitProblem& fit, std::span<const double> p) {
    std::vector<double> out;
    for (int k = 0; k < fit.components; ++k) {
        const std::span<const double> q = fit.Component(p.data(), k);
        const double integral = ProfileIntegral(fit.profile, q);
        const bool voigt = fit.profile == LineProfile::Voigt;
        out.insert(out.end(), {q[0], q[1], ProfileFwhm(fit.profile, q), voigt ? std::abs(q[2]) : 0,
                               voigt ? std::abs(q[3]) : 0, integral, -integral / (p[0] + p[1] * q[0])});
    }
    return out;
}

// J'J of the weighted residuals at p, row by row; leaves the residuals and
// their Jacobian J (by column) at p.
std::vector<double> NormalMatrix(const FitProblem& problem, const std::vector<double>& p,
                                 std::vector<double>& residuals, std::vector<double>& jacobian) {
    const size_t m = problem.x.size(), n = p.size();
    std::vector<double> normal(n * n);
    jacobian.assign(m * n, 0);
    problem.Evaluate(p.data(), residuals.data(), jacobian.data(), static_cast<int>(m));
    const auto column = [&](size_t j) { return jacobian.begin() + static_cast<std::ptrdiff_t>(j * m); };
    for (size_t i = 0; i < n; ++i)
        for (size_t j = 0; j < n; ++j) normal[i * n + j] = std::inner_product(column(i), column(i + 1), column(j), 0.0);
    return normal;
}

// J'RJ, J the Jacobian of the weighted residuals (by column) and R the
// pixels' correlation, their covariance over sigma_i sigma_j.
std::vector<double> CorrelatedNormalMatrix(const std::vector<double>& jacobian, const CovarianceBand& pixels,
                                           std::span<const double> sigma) {
    const size_t m = sigma.size(), n = jacobian.size() / m;
    std::vector<double> middle(n * n), column(m);
    for (size_t j = 0; j < n; ++j) {
        for (size_t i = 0; i < m; ++i) column[i] = jacobian[j * m + i] / sigma[i];
        std::vector<double> spread = pixels.Times(column);
        for (size_t i = 0; i < m; ++i) spread[i] /= sigma[i];
        for (size_t k = 0; k < n; ++k)
            middle[j * n + k] = std::inner_product(spread.begin(), spread.end(), jacobian.begin() + static_cast<std::ptrdiff_t>(k * m), 0.0);
    }
    return middle;
}

std::vector<double> MatrixProduct(const std::vector<double>& a, const std::vector<double>& b, size_t n) {
    std::vector<double> c(n * n, 0);
    for (size_t i = 0; i < n; ++i)
        for (size_t k = 0; k < n; ++k)
            for (size_t j = 0; j < n; ++j) c[i * n + j] += a[i * n + k] * b[k * n + j];
    return c;
}

// The covariance of the parameters where the pixels' errors are correlated:
// (J'J)^-1 J'RJ (J'J)^-1, `inverse` (J'J)^-1 and `middle` J'RJ. Weights stay
// 1 / sigma^2: the estimate is no longer the most precise one, but its
// covariance is this.
std::vector<double> Sandwiched(const std::vector<double>& inverse, const std::vector<double>& middle, size_t n) {
    return MatrixProduct(MatrixProduct(inverse, middle, n), inverse, n);
}

// Where pixels of unknown but equal sigma s were smoothed into covariance
// s^2 K, the residuals about the fit have the expected sum of squares
// s^2 tr((I - H) K), H = J (J'J)^-1 J' the fit's hat matrix, and tr(HK) =
// tr((J'J)^-1 J'KJ).
double CorrelatedFreedom(const std::vector<double>& inverse, const std::vector<double>& middle,
                         const CovarianceBand& pixels, size_t n) {
    double freedom = 0;
    for (size_t i = 0; i < pixels.Size; ++i) freedom += pixels.At(i, i);
    for (size_t j = 0; j < n; ++j)
        for (size_t k = 0; k < n; ++k) freedom -= inverse[j * n + k] * middle[k * n + j];
    return freedom;
}

// The variance g'Cg of each value reported(p), g its gradient by p in
// central differences and C the covariance of p.
template <class Report>
std::vector<double> ReportedVariances(const std::vector<double>& p, const std::vector<double>& covariance,
                                      Report reported) {
    const size_t n = p.size();
    std::vector<std::vector<double>> gradient;  // by parameter, then by value
    for (size_t j = 0; j < n; ++j) {
        const double h = 1e-6 * std::max(std::abs(p[j]), 1e-2);
        std::vector<double> up = p, down = p;
        up[j] += h, down[j] -= h;
        const std::vector<double> a = reported(up), b = reported(down);
        gradient.emplace_back(a.size());
        for (size_t r = 0; r < a.size(); ++r) gradient[j][r] = (a[r] - b[r]) / (2 * h);
    }
    std::vector<double> variance(gradient[0].size(), 0);
    for (size_t r = 0; r < variance.size(); ++r)
        for (size_t i = 0; i < n; ++i)
            for (size_t j = 0; j < n; ++j) variance[r] += gradient[i][r] * covariance[i * n + j] * gradient[j][r];
    return variance;
}

}  // namespace

std::string_view ProfileKey(LineProfile profile) { return kProfileKeys[static_cast<size_t>(profile)]; }

std::optional<LineProfile> ProfileOfKey(std::string_view key) {
    for (size_t i = 0; i < std::size(kProfileKeys); ++i)
        if (kProfileKeys[i] == key) return static_cast<LineProfile>(i);
    return std::nullopt;
}

double LineFit::ModelAt(double lambda) const {
    double model = 0;
    for (size_t k = 0; k < Components.size(); ++k) model += ComponentAt(k, lambda);
    return model - static_cast<double>(Components.size() - 1) * (Intercept + Slope * lambda);
}

double LineFit::ComponentAt(size_t k, double lambda) const {
    const size_t width = static_cast<size_t>(ProfileParameters(Profile));
    const std::span<const double> q(Parameters.data() + 2 + k * width, width);
    return Intercept + Slope * lambda + EvaluateProfile(Profile, q, lambda - Reference).value;
}

LineFit FitLine(const Row& s, double left, double right, LineProfile profile, int components,
               const PixelErrors& errors) {
    LineFit fit;
    fit.Profile = profile;
    std::tie(fit.Left, fit.Right) = std::minmax(left, right);
    fit.Reference = (fit.Left + fit.Right) / 2;
    const auto refuse = [&](const std::string& why) {
        fit.Refusal = "The span cannot be fitted on " + s->FileName + ": " + why;
        return fit;
    };
    if (components < 1 || components > kMaxFitComponents)
        return refuse("a fit takes 1 to " + std::to_string(kMaxFitComponents) + " components.");
    const int64_t n = std::ssize(s->Flux);
    if (n == 0 || fit.Left < ShiftedStart(s) || fit.Right > ShiftedEnd(s))
        return refuse("it reaches past the spectrum's end.");
    const PixelSigma sigma = errors.Sigma();
    fit.ErrorsFromFile = sigma.size() == s->Flux.size();

    FitProblem problem{profile, components, {}, {}, {}};
    double scale = 0;
    for (int64_t p = 1; p <= n; ++p) {
        const double lambda = RestWavelength(s, ObservedPixelCentre(s.spectrum(), p));
        if (lambda < fit.Left) continue;
        if (lambda > fit.Right) break;
        if (problem.x.empty()) fit.FirstPixel = p;
        fit.LastPixel = p;
        const size_t index = static_cast<size_t>(p - 1);
        const double f = s->Flux[index], e = fit.ErrorsFromFile ? sigma[index] : 1;
        if (!std::isfinite(f)) return refuse("it holds blank pixels.");
        if (!(e > 0) || !std::isfinite(e))
            return refuse("the error of pixel " + std::to_string(p) + " is not a positive number.");
        problem.x.push_back(lambda - fit.Reference);
        problem.y.push_back(f);
        problem.sigma.push_back(e);
        scale = std::max(scale, std::abs(f));
    }
    const int m = static_cast<int>(problem.x.size()), parameters = problem.Parameters();
    if (m <= parameters)
        return refuse("it holds " + std::to_string(m) + " pixels, and " + std::to_string(parameters) +
                      " parameters need at least " + std::to_string(parameters + 1) + ".");
    if (scale == 0) scale = 1;
    for (double& y : problem.y) y /= scale;
    if (fit.ErrorsFromFile)
        for (double& e : problem.sigma) e /= scale;

    std::vector<double> p = StartingValues(problem), residuals(problem.x.size()), jacobian(p.size() * problem.x.size());
    std::vector<double> diag(p.size()), qtf(diag), wa1(diag), wa2(diag), wa3(diag), wa4(residuals);
    std::vector<int> ipvt(p.size());
    int evaluations = 0, jacobians = 0;
    const int info = lmder(Residuals, &problem, m, parameters, p.data(), residuals.data(), jacobian.data(), m, 1e-10,
                           1e-10, 0, 200 * (parameters + 1), diag.data(), 1, 1, 0, &evaluations, &jacobians,
                           ipvt.data(), qtf.data(), wa1.data(), wa2.data(), wa3.data(), wa4.data());
    if (info < 1 || info == 5 || !std::ranges::all_of(p, [](double v) { return std::isfinite(v); }))
        return refuse("the fit did not converge.");

    // The covariance: the inverse of J'J at the solution, scaled by chi2 / dof
    // where the pixel errors are unknown, sandwiched where they are correlated.
    fit.Dof = m - parameters;
    std::vector<double> covariance = Inverse(NormalMatrix(problem, p, residuals, jacobian), parameters);
    const double squares = std::inner_product(residuals.begin(), residuals.end(), residuals.begin(), 0.0);
    double scatterScale = squares / fit.Dof;  // the pixels' variance where the file gives none
    if (!covariance.empty() && errors.Correlated()) {
        const CovarianceBand pixels = errors.Among(fit.FirstPixel, fit.LastPixel);
        if (pixels.Size != problem.sigma.size()) return refuse(kSmoothedCovarianceRefusal);
        const std::span<const double> pixelSigma =
            fit.ErrorsFromFile ? sigma.subspan(static_cast<size_t>(fit.FirstPixel - 1), pixels.Size) : problem.sigma;
        const std::vector<double> middle = CorrelatedNormalMatrix(jacobian, pixels, pixelSigma);
        const auto n = static_cast<size_t>(parameters);
        if (!fit.ErrorsFromFile) scatterScale = squares / CorrelatedFreedom(covariance, middle, pixels, n);
        covariance = Sandwiched(covariance, middle, n);
    }
    fit.Chi2 = squares * (fit.ErrorsFromFile ? 1 : scale * scale);
    const std::string undetermined =
        "its parameters cannot all be determined: a component may be too faint, too narrow, or too close to another.";
    if (covariance.empty()) return refuse(undetermined);
    for (double& c : covariance) c *= fit.ErrorsFromFile ? 1 : scatterScale;

    // Back to flux units: the continuum and the peaks scale with the flux.
    const auto inFluxUnits = [&](std::vector<double> q) {
        q[0] *= scale, q[1] *= scale;
        for (int k = 0; k < components; ++k) q[static_cast<size_t>(3 + k * problem.Width())] *= scale;
        return q;
    };
    fit.Parameters = inFluxUnits(p);
    fit.Slope = fit.Parameters[1];
    fit.Intercept = fit.Parameters[0] - fit.Slope * fit.Reference;
    const std::vector<double> reported = Reported(problem, fit.Parameters);
    const std::vector<double> variance = ReportedVariances(
        p, covariance, [&](const std::vector<double>& q) { return Reported(problem, inFluxUnits(q)); });
    if (!std::ranges::all_of(variance, [](double v) { return v >= 0 && std::isfinite(v); }))
        return refuse(undetermined);
    const double observed = RestFrameFactor(s.Velocity);
    const auto value = [&](int k, int index, double factor = 1) {
        const size_t r = static_cast<size_t>(k * kReported + index);
        return Uncertain{reported[r] * factor, std::sqrt(variance[r]) * std::abs(factor)};
    };
    for (int k = 0; k < components; ++k) {
        FittedComponent c{value(k, 0), value(k, 1),           value(k, 2), value(k, 3),
                          value(k, 4), value(k, 5, observed), value(k, 6)};
        c.Centre.Value += fit.Reference;
        fit.Components.push_back(c);
    }
    return fit;
}

}  // namespace wendrel
