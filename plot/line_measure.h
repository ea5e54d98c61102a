// The measurement of one spectral line on a slot, with 1-sigma errors: its
// flux above a straight continuum fitted to pixels beside the line, centroid,
// equivalent width, peak and width at half the peak, between two wavelengths
// of the plot's axis.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "plot/pixel_errors.h"
#include "store/workspace.h"

namespace wendrel {

// A value and its 1-sigma error.
struct Uncertain {
    double Value = 0, Error = 0;
};

// Where the continuum under a line is taken from: a straight line fitted by
// least squares to PixelsEachSide pixels beyond each end of the span, or,
// when Windows is not empty, to the pixels whose centres lie inside those
// windows (wavelengths of the plot's axis, each outside the span).
struct ContinuumChoice {
    int PixelsEachSide = 3;
    std::vector<std::pair<double, double>> Windows;
};

// Every wavelength and width here lies on the plot's axis: the slot's rest
// frame (store/rest_frame.h). F is the slot's Flux, whatever scale the plot
// shows, and a pixel's width is its width inside the span.
struct LineMeasurement {
    std::string Refusal;  // why the span cannot be measured; empty when it was

    double Left = 0, Right = 0;             // the span
    int64_t FirstPixel = 0, LastPixel = 0;  // the pixels inside it, wholly or partly

    // The continuum Fc = Level + Slope * (lambda - Reference), fitted to
    // ContinuumPixels pixels, with the errors of Level and Slope and their covariance.
    double Reference = 0, Level = 0, Slope = 0;
    double LevelVariance = 0, SlopeVariance = 0, Covariance = 0;
    int ContinuumPixels = 0;
    // Whether the errors come from the pixel errors (with their covariance
    // on a smoothed row); else from Scatter, the rms of the continuum pixels
    // about their line, every pixel taken to scatter so, independently; on a
    // row smoothed by a boxcar or a Gaussian, the rms of the file's pixels
    // that scatter implies through the kernel's covariance.
    bool ErrorsFromFile = false;
    double Scatter = 0;

    // The integral of F - Fc over the OBSERVED wavelengths: the sum of
    // (F - Fc) * width * (1 + v/c); flux units x Angstroms, negative for absorption.
    Uncertain Flux;
    // F - Fc at the peak pixel: the highest F - Fc, or the lowest where Flux is negative.
    double Peak = 0;
    // The sum of centre * (F - Fc) * width over the sum of (F - Fc) * width; none when Flux is 0.
    std::optional<Uncertain> Centroid;
    // The sum of (1 - F / Fc) * width, positive for absorption; none where
    // Fc <= 0 or Fc is below three times its own error inside the span.
    std::optional<Uncertain> EquivalentWidth;
    // The distance between the wavelengths where F - Fc crosses half the
    // peak on either side of the peak pixel, taken linearly between pixel
    // centres; none when the peak is 0 or a crossing lies outside the span.
    std::optional<double> Fwhm;

    double ContinuumAt(double lambda) const { return Level + Slope * (lambda - Reference); }
    double ContinuumError(double lambda) const;
};

// Measures the line between `left` and `right` (either order) on the slot.
// Refuses, with a message that names the slot's file, a span or continuum
// that reaches past the spectrum's end, a span of fewer than 3 pixels, a
// continuum of fewer than 3 pixels or one overlapping the span, and a blank
// pixel or a pixel error that is not positive among the pixels used. The
// continuum is weighted by 1 / sigma^2; every value is linear in the pixels
// (to first order), value = g'f through the continuum too, and its variance
// is g'Cg with C the pixels' covariance.
LineMeasurement MeasureLine(const Row& s, double left, double right, const ContinuumChoice& continuum = {},
                            const PixelErrors& errors = {});

}  // namespace wendrel
