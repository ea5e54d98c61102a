#include "plot/span_measurement.h"

#include <charconv>
#include <cmath>

#include "plot/cursor_readout.h"
#include "plot/measure_numbers.h"
#include "store/rest_frame.h"

namespace wendrel {

namespace {

std::string Angstroms(double lambda) { return MeasureNumber(lambda, std::chars_format::fixed, 3) + " Å"; }
std::string Error(double error) { return " +- " + MeasureNumber(error, std::chars_format::general, 2); }
std::string Angstroms(const std::optional<double>& lambda) { return lambda ? Angstroms(*lambda) : "none"; }
std::string Angstroms(const std::optional<Uncertain>& lambda) {
    return lambda ? MeasureNumber(lambda->Value, std::chars_format::fixed, 3) + Error(lambda->Error) + " Å" : "none";
}

SpanMeasurement Keep(Workspace& ws, int slot, const LineMeasurement& m) {
    if (!m.Refusal.empty()) return {m.Refusal, "", ""};
    const Row s = InItsRestFrame(ws.slot(slot));
    ws.View.Measured = {slot, ObservedWavelength(s, m.Left), ObservedWavelength(s, m.Right), m.ContinuumAt(m.Left),
                   m.ContinuumAt(m.Right), {}, {}};
    return {"", MeasurementText(s, m), MeasurementTable(s, m)};
}

}  // namespace

std::string LineFluxUnit(const std::string& fluxUnit) { return (fluxUnit.empty() ? "flux" : fluxUnit) + " × Å"; }

SpanMeasurement MeasureDraggedSpan(Workspace& ws, double from, double to, double startIntensity,
                                   const ContinuumChoice& continuum) {
    const std::optional<CurvePoint> start = NearestCurve(ws, from, startIntensity);
    if (!start) return {"No spectrum has a pixel where the span starts.", "", ""};
    const Row& s = ws.slot(start->Slot);
    return Keep(ws, start->Slot,
                MeasureLine(InItsRestFrame(s), from / s.AxisScale, to / s.AxisScale, continuum, PixelErrors::Of(s)));
}

SpanMeasurement MeasureKeptSpan(Workspace& ws, const ContinuumChoice& continuum) {
    const MeasuredSpan kept = ws.View.Measured;
    if (kept.Slot < 1 || kept.Slot > kMaxSlots || !ws.slot(kept.Slot).Loaded()) return {"No line is measured.", "", ""};
    const Row s = InItsRestFrame(ws.slot(kept.Slot));
    return Keep(ws, kept.Slot, MeasureLine(s, RestWavelength(s, kept.Left), RestWavelength(s, kept.Right), continuum, PixelErrors::Of(s)));
}

std::string SmoothedErrorsText(const Row& s) {
    if (!s.Smoothed || s.Smoothed->Kernel == SmoothingKernel::Median) return {};
    return " and the smoothing's pixel covariance";
}

std::string MeasurementText(const Row& s, const LineMeasurement& m) {
    const std::string unit = s->FluxUnit.empty() ? "" : " " + s->FluxUnit;
    std::string text = (s->ObjectName.empty() ? s->FileName : s->ObjectName + " (" + s->FileName + ")") + "\n";
    if (s.Velocity != 0) text += "Rest frame of " + MeasureValue(s.Velocity) + " km/s\n";
    text += "Span       " + Angstroms(m.Left) + " to " + Angstroms(m.Right) + "\n";
    text += "Continuum  " + MeasureValue(m.Level) + Error(m.ContinuumError(m.Reference)) + unit + " at " +
            Angstroms(m.Reference) + ", slope " + MeasureValue(m.Slope) + Error(std::sqrt(m.SlopeVariance)) + unit +
            " per Å, from " + std::to_string(m.ContinuumPixels) + " pixels\n";
    text += "Centroid   " + Angstroms(m.Centroid) + "\n";
    text += "Flux       " + MeasureValue(m.Flux.Value) + Error(m.Flux.Error) + " " + LineFluxUnit(s->FluxUnit) +
            " (over observed wavelengths)\n";
    text += "EW         " + Angstroms(m.EquivalentWidth) + "\n";
    text += "Peak       " + MeasureValue(m.Peak) + unit + "\n";
    text += "FWHM       " + Angstroms(m.Fwhm) + "\n";
    if (m.ErrorsFromFile)
        text += "Errors     from the file's pixel errors" + SmoothedErrorsText(s) + "\n";
    else if (SmoothedErrorsText(s).empty())
        text += "Errors     from the scatter of the continuum pixels about their line, " + MeasureValue(m.Scatter) + unit + " rms\n";
    else  // the panel's width: the smoothed row's line says it short
        text += "Errors     from the scatter, " + MeasureValue(m.Scatter) + unit + " per file pixel, through the smoothing\n";
    return text;
}

std::string MeasurementTable(const Row& s, const LineMeasurement& m) {
    const std::string flux = s->FluxUnit.empty() ? "flux" : s->FluxUnit;
    const auto cell = [](std::optional<double> v) {
        return v ? MeasureNumber(*v, std::chars_format::general, 10) : std::string();
    };
    const auto line = [&](const char* quantity, std::optional<double> value, std::optional<double> error,
                          const std::string& unit) {
        return std::string(quantity) + "\t" + cell(value) + "\t" + cell(error) + "\t" + unit + "\n";
    };
    const auto value = [](const std::optional<Uncertain>& u) { return u ? std::optional(u->Value) : std::nullopt; };
    const auto error = [](const std::optional<Uncertain>& u) { return u ? std::optional(u->Error) : std::nullopt; };
    return "quantity\tvalue\terror\tunit\n" + line("left", m.Left, {}, "Å") + line("right", m.Right, {}, "Å") +
           line("continuum", m.Level, m.ContinuumError(m.Reference), flux) +
           line("continuum_slope", m.Slope, std::sqrt(m.SlopeVariance), flux + " per Å") +
           line("centroid", value(m.Centroid), error(m.Centroid), "Å") +
           line("flux", m.Flux.Value, m.Flux.Error, LineFluxUnit(s->FluxUnit)) +
           line("ew", value(m.EquivalentWidth), error(m.EquivalentWidth), "Å") + line("peak", m.Peak, {}, flux) +
           line("fwhm", m.Fwhm, {}, "Å");
}

}  // namespace wendrel
