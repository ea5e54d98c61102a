#include "plot/span_measurement.h"

#include <charconv>
#include <cmath>

#include "plot/cursor_readout.h"
#include "store/rest_frame.h"

namespace wendrel {

namespace {

std::string Number(double value, std::chars_format format, int precision) {
    char buf[400];
    return {buf, std::to_chars(buf, buf + sizeof buf, value, format, precision).ptr};
}

std::string Angstroms(double lambda) { return Number(lambda, std::chars_format::fixed, 3) + " A"; }
std::string Value(double value) { return Number(value, std::chars_format::general, 6); }
std::string Angstroms(const std::optional<double>& lambda) { return lambda ? Angstroms(*lambda) : "none"; }

}  // namespace

SpanMeasurement MeasureDraggedSpan(Workspace& ws, double from, double to, double startIntensity) {
    const std::optional<CurvePoint> start = NearestCurve(ws, from, startIntensity);
    if (!start) return {"No spectrum has a pixel where the span starts.", ""};
    const Slot& s = ws.slot(start->Slot);
    const LineMeasurement m = MeasureLine(s, from, to);
    if (!m.Refusal.empty()) return {m.Refusal, ""};
    ws.Measured = {start->Slot, ObservedWavelength(s, m.Left), ObservedWavelength(s, m.Right), m.ContinuumAt(m.Left),
                   m.ContinuumAt(m.Right)};
    return {"", MeasurementText(s, m)};
}

std::string MeasurementText(const Slot& s, const LineMeasurement& m) {
    const std::string unit = s.FluxUnit.empty() ? "" : " " + s.FluxUnit;
    std::string text = (s.ObjectName.empty() ? s.FileName : s.ObjectName + " (" + s.FileName + ")") + "\n";
    if (s.Velocity != 0) text += "Rest frame of " + Value(s.Velocity) + " km/s\n";
    text += "Span       " + Angstroms(m.Left) + " to " + Angstroms(m.Right) + "\n";
    text += "Continuum  " + Value(m.FromFlux) + unit + " at " + Angstroms(m.FromLambda) + " to " + Value(m.ToFlux) +
            unit + " at " + Angstroms(m.ToLambda) + "\n";
    text += "Centroid   " + Angstroms(m.Centroid) + "\n";
    text += "Flux       " + Value(m.Flux) + (unit.empty() ? " x A" : unit + " x A") + "\n";
    text += "EW         " + Angstroms(m.EquivalentWidth) + "\n";
    text += "Peak       " + Value(m.Peak) + unit + "\n";
    text += "FWHM       " + Angstroms(m.Fwhm) + "\n";
    return text;
}

}  // namespace wendrel
