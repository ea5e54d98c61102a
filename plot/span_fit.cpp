#include "plot/span_fit.h"

#include <algorithm>
#include <charconv>
#include <optional>

#include "plot/cursor_readout.h"
#include "plot/measure_numbers.h"
#include "plot/span_measurement.h"
#include "store/rest_frame.h"

namespace wendrel {

namespace {


constexpr const char* kProfileNames[] = {"Gaussian", "Lorentzian", "Voigt"};

SpanFit Keep(Workspace& ws, int slot, const LineFit& fit) {
    if (!fit.Refusal.empty()) return {fit.Refusal, "", ""};
    const Row s = InItsRestFrame(ws.slot(slot));
    MeasuredSpan kept{slot, ObservedWavelength(s, fit.Left), ObservedWavelength(s, fit.Right),
                      fit.Intercept + fit.Slope * fit.Left, fit.Intercept + fit.Slope * fit.Right, {}, {}};
    // Four samples a pixel, so that the profile looks smooth at any zoom that shows its pixels.
    const int64_t samples = std::clamp<int64_t>(4 * (fit.LastPixel - fit.FirstPixel + 1), 200, 4000);
    kept.FitCurves.resize(fit.Components.size() + 1);
    for (int64_t i = 0; i <= samples; ++i) {
        const double lambda = fit.Left + (fit.Right - fit.Left) * static_cast<double>(i) / static_cast<double>(samples);
        kept.FitLambda.push_back(ObservedWavelength(s, lambda));
        kept.FitCurves[0].push_back(fit.ModelAt(lambda));
        for (size_t k = 0; k < fit.Components.size(); ++k) kept.FitCurves[k + 1].push_back(fit.ComponentAt(k, lambda));
    }
    ws.View.Measured = std::move(kept);
    return FitText(s, fit);
}

}  // namespace

SpanFit FitDraggedSpan(Workspace& ws, double from, double to, double startIntensity, LineProfile profile,
                       int components) {
    const std::optional<CurvePoint> start = NearestCurve(ws, from, startIntensity);
    if (!start) return {"No spectrum has a pixel where the span starts.", "", ""};
    const Row& s = ws.slot(start->Slot);
    return Keep(ws, start->Slot,
                FitLine(InItsRestFrame(s), from / s.AxisScale, to / s.AxisScale, profile, components, PixelErrors::Of(s)));
}

SpanFit FitKeptSpan(Workspace& ws, LineProfile profile, int components) {
    const MeasuredSpan kept = ws.View.Measured;
    if (kept.Slot < 1 || kept.Slot > kMaxSlots || !ws.slot(kept.Slot).Loaded()) return {"No line is fitted.", "", ""};
    const Row s = InItsRestFrame(ws.slot(kept.Slot));
    return Keep(ws, kept.Slot,
                FitLine(s, RestWavelength(s, kept.Left), RestWavelength(s, kept.Right), profile, components, PixelErrors::Of(s)));
}

SpanFit FitText(const Row& s, const LineFit& fit) {
    const std::string unit = s->FluxUnit.empty() ? "flux" : s->FluxUnit;
    const bool voigt = fit.Profile == LineProfile::Voigt;
    std::string text = (s->ObjectName.empty() ? s->FileName : s->ObjectName + " (" + s->FileName + ")") + "\n";
    if (s.Velocity != 0) text += "Rest frame of " + MeasureValue(s.Velocity) + " km/s\n";
    text += "Span       " + MeasureNumber(fit.Left, std::chars_format::fixed, 3) + " Å to " +
            MeasureNumber(fit.Right, std::chars_format::fixed, 3) + " Å, pixels " + std::to_string(fit.FirstPixel) + " to " +
            std::to_string(fit.LastPixel) + "\n";
    text += "Fit        " + std::to_string(fit.Components.size()) + " " +
            kProfileNames[static_cast<size_t>(fit.Profile)] + (fit.Components.size() > 1 ? " components" : " component") +
            " on a straight continuum, chi2 " + MeasureValue(fit.Chi2) + " for " + std::to_string(fit.Dof) +
            " degrees of freedom\n";
    const double middle = (fit.Left + fit.Right) / 2;
    text += "Continuum  " + MeasureValue(fit.Intercept + fit.Slope * middle) + " " + unit + " at " +
            MeasureNumber(middle, std::chars_format::fixed, 3) + " Å, slope " + MeasureValue(fit.Slope) + " " + unit + " per Å\n";
    text += fit.ErrorsFromFile ? "Errors     from the file's pixel errors" + SmoothedErrorsText(s) + "\n"
                               : std::string("Errors     from the scatter of the pixels about the fit") +
                                     (SmoothedErrorsText(s).empty() ? " (chi2 per degree of freedom)" : ", through the smoothing") + "\n";
    text += "Flux is integrated over observed wavelengths; wavelengths and widths lie in the row's rest frame.\n\n";

    struct Column {
        std::string title;
        Uncertain FittedComponent::*value;
        bool wavelength;
    };
    std::vector<Column> columns{{"centre (Å)", &FittedComponent::Centre, true},
                                {"peak (" + unit + ")", &FittedComponent::Peak, false},
                                {"fwhm (Å)", &FittedComponent::Fwhm, true}};
    if (voigt)
        columns.insert(columns.end(), {{"fwhm_gauss (Å)", &FittedComponent::FwhmGauss, true},
                                       {"fwhm_lorentz (Å)", &FittedComponent::FwhmLorentz, true}});
    columns.insert(columns.end(), {{"flux (" + LineFluxUnit(s->FluxUnit) + ")", &FittedComponent::Flux, false},
                                   {"ew (Å)", &FittedComponent::EquivalentWidth, true}});
    std::string copied = "component";
    text += "#";
    for (const Column& c : columns) {
        const std::string name = c.title.substr(0, c.title.find(' ')), units = c.title.substr(c.title.find(' '));
        copied += "\t" + c.title + "\t" + name + "_err" + units;
        std::string head = "  " + c.title;
        head.resize(std::max<size_t>(head.size(), 24), ' ');
        text += head;
    }
    copied += "\n";
    text += "\n";
    for (size_t k = 0; k < fit.Components.size(); ++k) {
        text += std::to_string(k + 1);
        copied += std::to_string(k + 1);
        for (const Column& c : columns) {
            const Uncertain& u = fit.Components[k].*c.value;
            std::string cell = "  " + (c.wavelength ? MeasureNumber(u.Value, std::chars_format::fixed, 3) : MeasureValue(u.Value)) +
                               " +- " + MeasureNumber(u.Error, std::chars_format::general, 2);
            cell.resize(std::max<size_t>(cell.size(), 24), ' ');
            text += cell;
            copied += "\t" + MeasureNumber(u.Value, std::chars_format::general, 10) + "\t" +
                      MeasureNumber(u.Error, std::chars_format::general, 10);
        }
        text += "\n";
        copied += "\n";
    }
    return {"", text, copied};
}

}  // namespace wendrel
