#include "analysis/fft_correlation.h"

#include <algorithm>
#include <cmath>
#include <complex>
#include <kissfft/kissfft.hh>

namespace wendrel {

size_t FastFftSize(size_t n) {
    for (size_t size = std::max<size_t>(n, 1);; ++size) {
        size_t rest = size;
        for (size_t factor : {2, 3, 5})
            while (rest % factor == 0) rest /= factor;
        if (rest == 1) return size;
    }
}

std::vector<double> FftCrossCorrelation(std::span<const double> object, std::span<const double> templ,
                                        size_t lagReach) {
    using Complex = std::complex<double>;
    const size_t n = object.size(), m = FastFftSize(n + std::min(lagReach, n));
    double objectPower = 0, templatePower = 0;
    // Both real arrays go through one complex transform, object as the real
    // and template as the imaginary part, and are told apart by symmetry.
    std::vector<Complex> packed(m), spectrum(m);
    for (size_t i = 0; i < n; ++i) {
        packed[i] = Complex(object[i], templ[i]);
        objectPower += object[i] * object[i];
        templatePower += templ[i] * templ[i];
    }
    std::vector<double> correlation(m, 0.0);
    if (!(objectPower > 0) || !(templatePower > 0)) return correlation;
    kissfft<double> fft(m, false);
    fft.transform(packed.data(), spectrum.data());
    for (size_t k = 0; k < m; ++k) {
        const Complex z = spectrum[k], mirror = std::conj(spectrum[(m - k) % m]);
        const Complex objectPart = 0.5 * (z + mirror), templatePart = Complex(0, -0.5) * (z - mirror);
        // conjugated, so that the forward transform below is the inverse one
        packed[k] = std::conj(objectPart * std::conj(templatePart));
    }
    fft.transform(packed.data(), spectrum.data());
    const double scale = 1 / (static_cast<double>(m) * std::sqrt(objectPower * templatePower));
    for (size_t k = 0; k < m; ++k) correlation[k] = spectrum[k].real() * scale;
    return correlation;
}

}  // namespace wendrel
