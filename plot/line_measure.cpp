#include "plot/line_measure.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <numeric>
#include <tuple>
#include <vector>

#include "plot/pixel_wavelengths.h"

namespace wendrel {

namespace {

std::string SpanEndText(double lambda) {
    char buf[400];
    return std::string(buf, std::to_chars(buf, buf + sizeof buf, lambda, std::chars_format::fixed, 3).ptr) + " A";
}

// The pixels of the continuum, or why there are none to take.
std::string ContinuumPixels(const Row& s, const LineMeasurement& m, const ContinuumChoice& choice,
                            std::vector<int64_t>& pixels) {
    const int64_t n = std::ssize(s->Flux);
    if (choice.Windows.empty()) {
        const int64_t each = choice.PixelsEachSide;
        if (m.FirstPixel - each < 1 || m.LastPixel + each > n)
            return "its continuum, " + std::to_string(each) + " pixels beyond each end, reaches past the spectrum's end.";
        for (int64_t p = m.FirstPixel - each; p < m.FirstPixel; ++p) pixels.push_back(p);
        for (int64_t p = m.LastPixel + 1; p <= m.LastPixel + each; ++p) pixels.push_back(p);
        return {};
    }
    for (const auto& [from, to] : choice.Windows) {
        const std::string window = "the continuum window " + SpanEndText(from) + " to " + SpanEndText(to);
        if (from < ShiftedStart(s) || to > ShiftedEnd(s)) return window + " reaches past the spectrum's end.";
        if (from < m.Right && to > m.Left) return window + " overlaps the span.";
        for (int64_t p = std::max<int64_t>(1, FirstPixelEndingAt(s, n, from, true)); p <= n; ++p) {
            const double centre = RestWavelength(s, ObservedPixelCentre(s.spectrum(), p));
            if (centre > to) break;
            if (centre >= from) pixels.push_back(p);
        }
    }
    std::ranges::sort(pixels);
    pixels.erase(std::ranges::unique(pixels).begin(), pixels.end());
    return {};
}

}  // namespace

double LineMeasurement::ContinuumError(double lambda) const {
    const double x = lambda - Reference;
    return std::sqrt(std::max(0.0, LevelVariance + 2 * x * Covariance + x * x * SlopeVariance));
}

LineMeasurement MeasureLine(const Row& s, double left, double right, const ContinuumChoice& continuum,
                            const PixelErrors& errors) {
    LineMeasurement m;
    const int64_t n = std::ssize(s->Flux);
    std::tie(m.Left, m.Right) = std::minmax(left, right);
    m.Reference = (m.Left + m.Right) / 2;
    const auto refuse = [&](const std::string& why) {
        m.Refusal = "The span cannot be measured on " + s->FileName + ": " + why;
        return m;
    };
    if (n == 0 || m.Left < ShiftedStart(s) || m.Right > ShiftedEnd(s))
        return refuse("it reaches past the spectrum's end (the spectrum runs from " + SpanEndText(ShiftedStart(s)) +
                      " to " + SpanEndText(ShiftedEnd(s)) + ").");
    // An end on the edge between two pixels belongs to the pixel inside the span.
    m.FirstPixel = FirstPixelEndingAt(s, n, m.Left, true);
    m.LastPixel = std::min(FirstPixelEndingAt(s, n, m.Right, false), n);
    if (m.LastPixel - m.FirstPixel + 1 < 3 || !(m.Left < m.Right)) return refuse("it holds fewer than 3 pixels.");
    std::vector<int64_t> continuumPixels;
    if (std::string why = ContinuumPixels(s, m, continuum, continuumPixels); !why.empty()) return refuse(why);
    if (continuumPixels.size() < 3) return refuse("its continuum holds fewer than 3 pixels.");
    m.ContinuumPixels = static_cast<int>(continuumPixels.size());

    const PixelSigma sigma = errors.Sigma();
    m.ErrorsFromFile = sigma.size() == s->Flux.size();
    const auto flux = [&](int64_t p) { return s->Flux[static_cast<size_t>(p - 1)]; };
    const auto centre = [&](int64_t p) { return RestWavelength(s, ObservedPixelCentre(s.spectrum(), p)); };
    const auto pixelSigma = [&](int64_t p) { return m.ErrorsFromFile ? sigma[static_cast<size_t>(p - 1)] : 1.0; };
    std::vector<int64_t> used = continuumPixels;
    for (int64_t p = m.FirstPixel; p <= m.LastPixel; ++p) used.push_back(p);
    for (const int64_t p : used) {
        if (!std::isfinite(flux(p))) return refuse("it or its continuum holds blank pixels.");
        if (!(pixelSigma(p) > 0) || !std::isfinite(pixelSigma(p)))
            return refuse("the error of pixel " + std::to_string(p) + " is not a positive number.");
    }

    // The continuum by weighted least squares about the span's middle.
    double sw = 0, swx = 0, swxx = 0, swy = 0, swxy = 0;
    for (const int64_t p : continuumPixels) {
        const double w = 1 / (pixelSigma(p) * pixelSigma(p)), x = centre(p) - m.Reference;
        std::tie(sw, swx, swxx, swy, swxy) =
            std::tuple(sw + w, swx + w * x, swxx + w * x * x, swy + w * flux(p), swxy + w * x * flux(p));
    }
    const double det = sw * swxx - swx * swx;
    if (!(det > 0)) return refuse("its continuum pixels lie at one wavelength.");
    m.Slope = (sw * swxy - swx * swy) / det;
    m.Level = (swxx * swy - swx * swxy) / det;

    // The covariance of the pixels from the first to the last one used, and
    // Level and Slope as sums of the continuum pixels times levelOf and slopeOf.
    const int64_t low = std::min(continuumPixels.front(), m.FirstPixel);
    const int64_t high = std::max(continuumPixels.back(), m.LastPixel);
    const auto at = [low](int64_t p) { return static_cast<size_t>(p - low); };
    std::vector<double> levelOf(at(high) + 1, 0), slopeOf(levelOf);
    for (const int64_t p : continuumPixels) {
        const double w = 1 / (pixelSigma(p) * pixelSigma(p)), x = centre(p) - m.Reference;
        levelOf[at(p)] = w * (swxx - swx * x) / det;
        slopeOf[at(p)] = w * (sw * x - swx) / det;
    }
    CovarianceBand covariance;
    if (m.ErrorsFromFile || errors.Correlated()) {
        covariance = errors.Among(low, high);
        if (covariance.Size != at(high) + 1) return refuse(kSmoothedCovarianceRefusal);
    }
    std::vector<double> levelSpread, slopeSpread;
    const auto spread = [&] { levelSpread = covariance.Times(levelOf), slopeSpread = covariance.Times(slopeOf); };
    if (covariance.Size > 0) spread();
    if (!m.ErrorsFromFile) {
        double squares = 0;
        for (const int64_t p : continuumPixels) squares += std::pow(flux(p) - m.ContinuumAt(centre(p)), 2);
        // The residuals of n pixels of covariance s^2 K about a line fitted to
        // them (hat matrix H) have the expected sum of squares s^2 tr((I - H) K);
        // with independent pixels tr((I - H) K) = n - 2.
        double freedom = static_cast<double>(continuumPixels.size() - 2);
        if (errors.Correlated()) {
            freedom = 0;
            for (const int64_t p : continuumPixels)
                freedom += covariance.At(at(p), at(p)) - levelSpread[at(p)] - (centre(p) - m.Reference) * slopeSpread[at(p)];
        }
        m.Scatter = freedom > 0 ? std::sqrt(squares / freedom) : NAN;
        const double variance = m.Scatter * m.Scatter;
        if (errors.Correlated()) {
            covariance.Factor = variance;
            for (std::vector<double>* v : {&levelSpread, &slopeSpread})
                for (double& x : *v) x *= variance;
        } else {
            covariance = DiagonalBand(static_cast<size_t>(low - 1), std::vector<double>(at(high) + 1, variance));
            spread();
        }
    }
    const auto dot = [](const std::vector<double>& a, const std::vector<double>& b) {
        return std::inner_product(a.begin(), a.end(), b.begin(), 0.0);
    };
    std::tie(m.LevelVariance, m.SlopeVariance, m.Covariance) =
        std::tuple(dot(levelOf, levelSpread), dot(slopeOf, slopeSpread), dot(levelOf, slopeSpread));
    // The error of a value whose gradient is `gradient` by the span's pixels
    // (at(p)) and (gLevel, gSlope) by the continuum's two parameters.
    const auto error = [&](std::vector<double> gradient, double gLevel, double gSlope) {
        for (const int64_t p : continuumPixels) gradient[at(p)] += gLevel * levelOf[at(p)] + gSlope * slopeOf[at(p)];
        return std::sqrt(std::max(0.0, covariance.Product(gradient, gradient)));
    };

    struct Pixel {
        double x, width, above, fc;
    };
    std::vector<Pixel> pixels;
    std::vector<double> gradient(levelOf.size(), 0);
    double sum = 0, moment = 0, ew = 0, sumWidth = 0, sumWidthX = 0;
    bool continuumFirm = true;
    for (int64_t p = m.FirstPixel; p <= m.LastPixel; ++p) {
        const double width = std::min(m.Right, PixelEndLambda(s, p)) - std::max(m.Left, PixelEndLambda(s, p - 1));
        const double x = centre(p), fc = m.ContinuumAt(x);
        pixels.push_back({x, width, flux(p) - fc, fc});
        sum += pixels.back().above * width;
        moment += x * pixels.back().above * width;
        ew += (1 - flux(p) / fc) * width;
        sumWidth += width;
        sumWidthX += width * (x - m.Reference);
        gradient[at(p)] = width;
        continuumFirm = continuumFirm && fc > 0 && fc >= 3 * m.ContinuumError(x);
    }
    const double observedWidth = RestFrameFactor(s.Velocity);
    m.Flux = {sum * observedWidth, observedWidth * error(gradient, -sumWidth, -sumWidthX)};
    if (sum != 0) {
        const double c = moment / sum;
        double gLevel = 0, gSlope = 0;
        for (int64_t p = m.FirstPixel; p <= m.LastPixel; ++p) {
            const Pixel& q = pixels[static_cast<size_t>(p - m.FirstPixel)];
            const double g = q.width * (q.x - c) / sum;
            gradient[at(p)] = g;
            gLevel -= g;
            gSlope -= g * (q.x - m.Reference);
        }
        m.Centroid = Uncertain{c, error(gradient, gLevel, gSlope)};
    }
    if (continuumFirm) {
        double gLevel = 0, gSlope = 0;
        for (int64_t p = m.FirstPixel; p <= m.LastPixel; ++p) {
            const Pixel& q = pixels[static_cast<size_t>(p - m.FirstPixel)];
            gradient[at(p)] = -q.width / q.fc;
            const double g = q.width * (q.above + q.fc) / (q.fc * q.fc);
            gLevel += g;
            gSlope += g * (q.x - m.Reference);
        }
        m.EquivalentWidth = Uncertain{ew, error(gradient, gLevel, gSlope)};
    }

    // Heights in the line's own direction, so that a trough is found as a peak.
    std::vector<double> above;
    for (const Pixel& q : pixels) above.push_back(sum < 0 ? -q.above : q.above);
    const double sign = sum < 0 ? -1 : 1;
    const auto peak = std::ranges::max_element(above);
    m.Peak = sign * *peak;
    if (!(*peak > 0)) return m;
    const double half = *peak / 2;
    const auto lambdaOf = [&](auto it) { return pixels[static_cast<size_t>(it - above.begin())].x; };
    // Between the last pixel above half the peak and the first one at or below it.
    const auto crossing = [&](auto inside, auto outside) {
        return lambdaOf(inside) + (lambdaOf(outside) - lambdaOf(inside)) * (*inside - half) / (*inside - *outside);
    };
    const auto rightOut = std::find_if(peak, above.end(), [&](double a) { return a <= half; });
    const auto leftOut = std::find_if(std::make_reverse_iterator(peak), above.rend(), [&](double a) { return a <= half; });
    if (rightOut == above.end() || leftOut == above.rend()) return m;
    const double from = crossing(leftOut.base(), leftOut.base() - 1), to = crossing(rightOut - 1, rightOut);
    if (from >= m.Left && to <= m.Right) m.Fwhm = to - from;
    return m;
}

}  // namespace wendrel
