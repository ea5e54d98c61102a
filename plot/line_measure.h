// The measurement of one spectral line on a slot: its flux above a straight
// continuum, centroid, equivalent width, peak and width at half the peak,
// between two wavelengths of the plot's axis.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "store/workspace.h"

namespace wendrel {

// Every wavelength and width here lies on the plot's axis: the slot's rest
// frame (store/rest_frame.h). F is the slot's Flux, whatever scale the plot
// shows, and a pixel's width is its width inside the span.
struct LineMeasurement {
    std::string Refusal;  // why the span cannot be measured; empty when it was

    double Left = 0, Right = 0;             // the span, clipped to the slot's pixels
    int64_t FirstPixel = 0, LastPixel = 0;  // the pixels inside it, wholly or partly
    // The continuum Fc: the straight line through the values of FirstPixel
    // and LastPixel at their centres.
    double FromLambda = 0, FromFlux = 0, ToLambda = 0, ToFlux = 0;

    double Flux = 0;  // the sum of (F - Fc) * width: flux units x Angstroms, negative for absorption
    // F - Fc at the peak pixel: the highest F - Fc, or the lowest where Flux is negative.
    double Peak = 0;
    // The sum of centre * (F - Fc) * width over Flux; none when Flux is 0.
    std::optional<double> Centroid;
    // The sum of (1 - F / Fc) * width, positive for absorption; none where Fc <= 0.
    std::optional<double> EquivalentWidth;
    // The distance between the wavelengths where F - Fc crosses half the
    // peak on either side of the peak pixel, taken linearly between pixel
    // centres; none when the peak is 0 or a crossing lies outside the span.
    std::optional<double> Fwhm;

    double ContinuumAt(double lambda) const {
        return FromFlux + (ToFlux - FromFlux) * (lambda - FromLambda) / (ToLambda - FromLambda);
    }
};

// Measures the line between `left` and `right` (either order) on the slot.
// Refuses a span holding fewer than 3 of its pixels, or a blank pixel, with a
// message that names the slot's file.
LineMeasurement MeasureLine(const Slot& s, double left, double right);

}  // namespace wendrel
