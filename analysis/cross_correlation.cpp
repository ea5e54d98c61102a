#include "analysis/cross_correlation.h"

#include <algorithm>
#include <cmath>

#include "analysis/correlation_flattening.h"
#include "analysis/fft_correlation.h"
#include "analysis/log_lambda_grid.h"
#include "analysis/velocity_axis.h"

namespace wendrel {

namespace {

constexpr size_t kFewestGridPoints = 64;
// A grid finer than this many times the rows' pixels in the overlap comes
// from two nearly equal wavelengths, not from a real pixel step.
constexpr double kMostGridPointsPerPixel = 8;

std::vector<double> LnLambdaInVacuum(const SpectrumRow& row, Medium other) {
    const Medium medium = row.WavelengthMedium == Medium::Unknown ? other : row.WavelengthMedium;
    std::vector<double> ln = WavelengthsInMedium(row.Wavelength, medium, Medium::Vacuum);
    for (double& w : ln) w = std::log(w);
    return ln;
}

// The smallest step between pixel centres inside lo .. hi, and how many lie there.
std::pair<double, size_t> FinestStepWithin(const std::vector<double>& ln, double lo, double hi) {
    double step = INFINITY;
    size_t count = 0;
    for (size_t i = 0; i < ln.size(); ++i) {
        if (ln[i] < lo || ln[i] > hi) continue;
        ++count;
        if (i + 1 < ln.size()) step = std::min(step, ln[i + 1] - ln[i]);
    }
    return {step, count};
}

// The correlation at lag `whole` + `fraction` (0 <= fraction < 1), linear
// between lags; negative lags wrap round to the end.
double At(const std::vector<double>& c, long whole, double fraction) {
    const long m = static_cast<long>(c.size());
    const auto value = [&](long k) { return c[static_cast<size_t>((k % m + m) % m)]; };
    return (1 - fraction) * value(whole) + fraction * value(whole + 1);
}

// The peak's half-height crossing, walking from its top by `direction`, in lags from it.
double HalfWidth(const std::vector<double>& c, long top, int direction, double half) {
    const long m = static_cast<long>(c.size());
    for (long d = 1; d < m / 2; ++d) {
        const double here = c[static_cast<size_t>(((top + direction * d) % m + m) % m)];
        if (here < half) {
            const double before = c[static_cast<size_t>(((top + direction * (d - 1)) % m + m) % m)];
            return static_cast<double>(d - 1) + (before - half) / (before - here);
        }
    }
    return static_cast<double>(m / 2);
}

}  // namespace

CrossCorrelation CrossCorrelate(const SpectrumRow& templ, double templateVelocityKms, const SpectrumRow& object,
                                const VelocitySearch& search) {
    CrossCorrelation out;
    out.Refusal = RowFault(templ, "template", 3);
    if (out.Refusal.empty()) out.Refusal = RowFault(object, "object spectrum", 3);
    if (!out.Refusal.empty()) return out;
    const double c = kSpeedOfLightKms;
    if (!(search.LowestKms < search.HighestKms) || !(search.LowestKms > -c) || !std::isfinite(search.HighestKms) ||
        !(templateVelocityKms > -c) || !std::isfinite(templateVelocityKms)) {
        out.Refusal = "The velocities searched must rise from above -c, and the template's velocity lie above -c.";
        return out;
    }
    const std::vector<double> lnTemplate = LnLambdaInVacuum(templ, object.WavelengthMedium);
    const std::vector<double> lnObject = LnLambdaInVacuum(object, templ.WavelengthMedium);
    const double lo = std::max(lnTemplate.front(), lnObject.front());
    const double hi = std::min(lnTemplate.back(), lnObject.back());
    if (!(lo < hi)) {
        out.Refusal = "The template and the object spectrum share no wavelengths.";
        return out;
    }
    const auto [templateStep, templatePixels] = FinestStepWithin(lnTemplate, lo, hi);
    const auto [objectStep, objectPixels] = FinestStepWithin(lnObject, lo, hi);
    LogLambdaGrid grid{lo, std::min(templateStep, objectStep), 0};
    const double points = std::floor((hi - lo) / grid.Step) + 1;
    if (!(points >= kFewestGridPoints) ||
        points > kMostGridPointsPerPixel * static_cast<double>(std::max(templatePixels, objectPixels))) {
        out.Refusal = points < kFewestGridPoints
                          ? "The template and the object spectrum share too few pixels to be cross-correlated."
                          : "The wavelengths of the template or the object spectrum are too unevenly spaced.";
        return out;
    }
    grid.Size = static_cast<size_t>(points);
    out.StepKms = c * grid.Step;

    std::vector<double> t = OnLogLambdaGrid(grid, lnTemplate, templ.Flux);
    std::vector<double> o = OnLogLambdaGrid(grid, lnObject, object.Flux);
    if (FlattenForCorrelation(t) < kFewestGridPoints || FlattenForCorrelation(o) < kFewestGridPoints) {
        out.Refusal = "The template or the object spectrum has too few pixels with values where they overlap.";
        return out;
    }
    // The lags of the searched velocities, relative to the template.
    const double templateFactor = 1 + templateVelocityKms / c;
    const auto lagOf = [&](double v) { return std::log((1 + v / c) / templateFactor) / grid.Step; };
    const long reach = static_cast<long>(grid.Size) - 2;
    const long first = std::max(-reach, static_cast<long>(std::ceil(lagOf(search.LowestKms))));
    const long last = std::min(reach, static_cast<long>(std::floor(lagOf(search.HighestKms))));
    // Beyond the searched lags by the peak's width, so that its shape is exact too.
    const long margin = static_cast<long>(grid.Size) / 20 + 2;
    const std::vector<double> corr =
        FftCrossCorrelation(o, t, static_cast<size_t>(std::max(std::abs(first), std::abs(last)) + margin));
    const long m = static_cast<long>(corr.size());
    const auto value = [&](long k) { return corr[static_cast<size_t>((k % m + m) % m)]; };
    long top = 0;
    double h = 0;
    for (long k = first; k <= last; ++k)
        if (value(k) > h && value(k) > value(k - 1) && value(k) >= value(k + 1)) top = k, h = value(k);
    if (!(h > 0)) {
        out.Refusal = "The cross-correlation has no peak in the velocities searched.";
        return out;
    }
    const double below = value(top - 1), above = value(top + 1);
    double offset;
    if (below > 0 && above > 0) {
        const double lb = std::log(below), l0 = std::log(h), la = std::log(above);
        offset = 0.5 * (lb - la) / (lb - 2 * l0 + la);
    } else {
        offset = 0.5 * (below - above) / (below - 2 * h + above);
    }
    const double peak = static_cast<double>(top) + offset;
    const long whole = static_cast<long>(std::floor(peak));
    const double fraction = peak - static_cast<double>(whole);
    out.PeakHeight = At(corr, whole, fraction);

    // sigma_a^2 = sum a(n)^2 / 2N over every lag n, both sides of the peak:
    // a(-n) = -a(n), so twice the sum over one side.
    double oneSide = 0;
    for (long d = 1; d < m / 2; ++d) oneSide += std::pow(0.5 * (At(corr, whole + d, fraction) - At(corr, whole - d, fraction)), 2);
    const double sigmaA = std::sqrt(2 * oneSide / (2 * static_cast<double>(grid.Size)));
    out.R = out.PeakHeight / (std::sqrt(2.0) * sigmaA);
    const double fwhmLags = HalfWidth(corr, top, -1, 0.5 * h) + HalfWidth(corr, top, 1, 0.5 * h);
    out.PeakFwhmKms = fwhmLags * out.StepKms;
    const double relative = std::expm1(peak * grid.Step);  // v / c relative to the template
    out.VelocityKms = c * (templateFactor * (1 + relative) - 1);
    out.ErrorKms = templateFactor * 0.375 * out.PeakFwhmKms / (1 + out.R);
    return out;
}

CrossCorrelation CrossCorrelate(const Spectrum& templ, double templateVelocityKms, const Spectrum& object,
                                const VelocitySearch& search) {
    const RowData t(templ), o(object);
    return CrossCorrelate(t.Row, templateVelocityKms, o.Row, search);
}

}  // namespace wendrel
