#include "fits/dispersion_functions.h"

#include <algorithm>
#include <cmath>
#include <cstdint>

namespace wendrel {

namespace {

// A count field: a whole number from 1 up to what the fields can hold.
bool ReadCount(double field, size_t limit, int64_t& count) {
    if (!(field >= 1) || field != std::floor(field) || field > static_cast<double>(limit)) return false;
    count = static_cast<int64_t>(field);
    return true;
}

std::string Name(FunctionType type) {
    switch (type) {
        case FunctionType::Chebyshev: return "Chebyshev polynomial";
        case FunctionType::Legendre: return "Legendre polynomial";
        case FunctionType::CubicSpline: return "cubic spline";
        case FunctionType::LinearSpline: return "linear spline";
        case FunctionType::PixelArray: return "pixel coordinate array";
        case FunctionType::SampledArray: return "sampled coordinate array";
    }
    return "function";
}

}  // namespace

size_t DispersionFunction::Read(FunctionType type, std::span<const double> fields, DispersionFunction& function,
                                std::string& problem) {
    function = DispersionFunction();
    function.type_ = type;
    const std::string name = Name(type);
    const auto shortOf = [&](const std::string& what) {
        problem = "its " + name + " lacks " + what;
        return size_t{0};
    };
    int64_t count = 0;
    switch (type) {
        case FunctionType::Chebyshev:
        case FunctionType::Legendre:
        case FunctionType::CubicSpline:
        case FunctionType::LinearSpline: {
            if (fields.size() < 3) return shortOf("its order or number of pieces and its pixel range");
            const bool polynomial = type == FunctionType::Chebyshev || type == FunctionType::Legendre;
            if (!ReadCount(fields[0], fields.size(), count)) {
                problem = "its " + name + " has " + (polynomial ? "an order" : "a number of pieces") +
                          " that is not a whole number from 1 to the number of fields";
                return 0;
            }
            function.pmin_ = fields[1];
            function.pmax_ = fields[2];
            if (!(function.pmin_ != function.pmax_)) {
                problem = "its " + name + " has the same pixel at both ends of its range";
                return 0;
            }
            function.pieces_ = count;
            const int64_t coefficients = polynomial ? count
                                         : type == FunctionType::CubicSpline ? count + 3
                                                                             : count + 1;
            if (std::ssize(fields) < 3 + coefficients)
                return shortOf(std::to_string(3 + coefficients - std::ssize(fields)) + " of its " +
                               std::to_string(coefficients) + " coefficients");
            function.c_.assign(fields.begin() + 3, fields.begin() + 3 + coefficients);
            return static_cast<size_t>(3 + coefficients);
        }
        case FunctionType::PixelArray: {
            if (fields.empty() || !ReadCount(fields[0], fields.size(), count))
                return shortOf("a whole number of coordinates, from 1 to the number of fields");
            if (std::ssize(fields) < 1 + count)
                return shortOf(std::to_string(1 + count - std::ssize(fields)) + " of its " + std::to_string(count) +
                               " wavelengths");
            function.c_.assign(fields.begin() + 1, fields.begin() + 1 + count);
            return static_cast<size_t>(1 + count);
        }
        case FunctionType::SampledArray: {
            if (fields.size() < 2 || !ReadCount(fields[0], fields.size(), count))
                return shortOf("a whole number of samples, from 1 to the number of fields");
            if (std::ssize(fields) < 2 + 2 * count)
                return shortOf(std::to_string(2 + 2 * count - std::ssize(fields)) + " of the " +
                               std::to_string(2 * count) + " numbers of its samples");
            for (int64_t i = 0; i < count; ++i) {
                function.x_.push_back(fields[static_cast<size_t>(2 + 2 * i)]);
                function.c_.push_back(fields[static_cast<size_t>(3 + 2 * i)]);
            }
            if (std::adjacent_find(function.x_.begin(), function.x_.end(), std::greater_equal<>()) !=
                function.x_.end()) {
                problem = "the pixel coordinates of its " + name + " do not increase from sample to sample";
                return 0;
            }
            return static_cast<size_t>(2 + 2 * count);
        }
    }
    problem = "it has an unknown function type";
    return 0;
}

double DispersionFunction::operator()(double p) const {
    switch (type_) {
        case FunctionType::Chebyshev:
        case FunctionType::Legendre: {
            const double n = (p - (pmax_ + pmin_) / 2) / ((pmax_ - pmin_) / 2);
            double previous = 1, current = n;  // x(i - 1) and x(i), from i = 2
            double sum = c_[0];
            if (c_.size() > 1) sum += c_[1] * n;
            for (size_t k = 2; k < c_.size(); ++k) {
                const double i = static_cast<double>(k + 1);
                const double next = type_ == FunctionType::Chebyshev
                                        ? 2 * n * current - previous
                                        : ((2 * i - 3) * n * current - (i - 2) * previous) / (i - 1);
                sum += c_[k] * next;
                previous = current;
                current = next;
            }
            return sum;
        }
        case FunctionType::CubicSpline:
        case FunctionType::LinearSpline: {
            const double s = (p - pmin_) / (pmax_ - pmin_) * static_cast<double>(pieces_);
            const double j = std::clamp(std::floor(s), 0.0, static_cast<double>(pieces_ - 1));
            const double a = (j + 1) - s, b = s - j;
            const auto c = c_.begin() + static_cast<std::ptrdiff_t>(j);
            if (type_ == FunctionType::LinearSpline) return a * c[0] + b * c[1];
            return a * a * a * c[0] + (1 + 3 * a * (1 + a * b)) * c[1] + (1 + 3 * b * (1 + a * b)) * c[2] +
                   b * b * b * c[3];
        }
        case FunctionType::PixelArray: {
            if (c_.size() == 1) return c_[0];
            // Point k (from 1) is the wavelength at pixel k.
            const double k = std::clamp(std::floor(p), 1.0, static_cast<double>(c_.size() - 1));
            const auto i = static_cast<size_t>(k) - 1;
            return ((k + 1) - p) * c_[i] + (p - k) * c_[i + 1];
        }
        case FunctionType::SampledArray: {
            if (c_.size() == 1) return c_[0];
            const auto above = std::upper_bound(x_.begin() + 1, x_.end() - 1, p);
            const auto i = static_cast<size_t>(above - x_.begin()) - 1;
            return c_[i] + (c_[i + 1] - c_[i]) * (p - x_[i]) / (x_[i + 1] - x_[i]);
        }
    }
    return std::nan("");
}

}  // namespace wendrel
