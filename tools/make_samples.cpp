// Writes a folder of synthetic stellar spectra to try the program on: a
// continuum with absorption or emission lines, a little noise, in each
// supported BITPIX, several overlapping in wavelength.
//
//   make-samples FOLDER
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <random>
#include <string>
#include <vector>

#include "tests/support/fits_writer.h"

namespace {

using wendrel::SpectrumFile;

struct Line {
    double center;  // Angstroms
    double depth;   // fraction of the continuum; negative for emission
    double width;   // Gaussian sigma, Angstroms
};

struct Sample {
    std::string file;
    std::string object;
    int bitpix;
    std::optional<double> bzero;
    std::optional<double> bscale;
    double lambda0;  // centre of the first pixel, Angstroms
    double step;
    int pixels;
    double temperature;  // of the blackbody continuum, kelvin
    double continuum;    // level at the peak, in data units
    std::vector<Line> lines;
};

// Planck's law, relative to its value at 5500 Angstroms.
double Blackbody(double lambdaAngstrom, double temperature) {
    const double c2 = 1.4388e8;  // h c / k in Angstrom kelvin
    auto planck = [&](double l) { return 1.0 / (std::pow(l, 5) * (std::exp(c2 / (l * temperature)) - 1.0)); };
    return planck(lambdaAngstrom) / planck(5500.0);
}

std::vector<double> Flux(const Sample& s, std::mt19937& random) {
    std::normal_distribution<double> noise(0.0, 0.004);
    std::vector<double> flux(static_cast<size_t>(s.pixels));
    for (int p = 0; p < s.pixels; ++p) {
        const double lambda = s.lambda0 + p * s.step;  // the centre of pixel p + 1
        double value = Blackbody(lambda, s.temperature);
        double profile = 1.0;
        for (const Line& line : s.lines) {
            const double x = (lambda - line.center) / line.width;
            profile -= line.depth * std::exp(-0.5 * x * x);
        }
        flux[static_cast<size_t>(p)] = s.continuum * value * (profile + noise(random));
    }
    return flux;
}

const std::vector<Line> kBalmer = {{6562.8, 0.55, 6}, {4861.3, 0.6, 7}, {4340.5, 0.6, 7},
                                   {4101.7, 0.55, 7}, {3970.1, 0.5, 7}};
const std::vector<Line> kSolarType = {{3933.7, 0.8, 4},  {3968.5, 0.75, 4}, {4307.9, 0.35, 2},
                                      {5167.3, 0.3, 1},  {5172.7, 0.35, 1}, {5183.6, 0.4, 1},
                                      {5889.95, 0.6, 1}, {5895.9, 0.55, 1}, {6562.8, 0.35, 2},
                                      {4861.3, 0.3, 2}};
const std::vector<Line> kNebular = {{6548.05, -0.8, 0.6}, {6562.8, -3.5, 0.7}, {6583.45, -2.2, 0.6},
                                    {6678.15, -0.3, 0.5}, {6716.44, -0.6, 0.5}, {6730.82, -0.5, 0.5}};
const std::vector<Line> kCoolStar = {{5889.95, 0.7, 1.5}, {5895.9, 0.65, 1.5}, {6867.2, 0.5, 3},
                                     {7594.0, 0.6, 4},    {6562.8, 0.2, 1.5},  {7699.0, 0.4, 1.5},
                                     {6158.0, 0.25, 8},   {7054.0, 0.3, 10}};

std::vector<double> Stored(const Sample& s, const std::vector<double>& physical) {
    if (s.bitpix < 0) return physical;
    const double zero = s.bzero.value_or(0.0), scale = s.bscale.value_or(1.0);
    std::vector<double> stored;
    for (const double v : physical) stored.push_back(std::nearbyint((v - zero) / scale));
    return stored;
}

}  // namespace

int main(int argc, char* argv[]) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: make-samples FOLDER\n");
        return 2;
    }
    const std::filesystem::path folder = argv[1];
    std::error_code error;
    std::filesystem::create_directories(folder, error);
    if (error) {
        std::fprintf(stderr, "make-samples: cannot create %s: %s\n", folder.c_str(), error.message().c_str());
        return 1;
    }

    const std::vector<Sample> samples = {
        {"vega_like.fts", "A0 V synthetic", -32, {}, {}, 3800, 1.0, 3000, 9600, 1.0, kBalmer},
        {"sun_like.fts", "G2 V synthetic", -64, {}, {}, 3850, 1.1, 3000, 5800, 25000, kSolarType},
        {"nebula_halpha.fit", "H II region", 16, 10000.0, 0.5, 6450, 0.1, 3000, 6000, 4000, kNebular},
        {"m_dwarf.fits", "M2 V synthetic", 32, {}, {}, 5600, 1.0, 2500, 3500, 150000, kCoolStar},
        {"b_star_blue.fts", "B3 V synthetic", 16, 32768.0, {}, 3700, 0.9, 2000, 17000, 20000, kBalmer},
    };

    std::mt19937 random(20070409);
    for (const Sample& s : samples) {
        SpectrumFile file;
        file.bitpix = s.bitpix;
        file.bzero = s.bzero;
        file.bscale = s.bscale;
        file.object = s.object;
        file.crval1 = s.lambda0;
        file.cd1_1 = s.step;
        file.stored = Stored(s, Flux(s, random));
        const std::filesystem::path path = folder / s.file;
        try {
            wendrel::WriteFileBytes(path, wendrel::SpectrumBytes(file));
        } catch (const std::exception& e) {
            std::fprintf(stderr, "make-samples: %s\n", e.what());
            return 1;
        }
    }
    return 0;
}
