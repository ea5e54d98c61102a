#include "tools/info_measure.h"

#include <cmath>
#include <string>
#include <vector>

#include "plot/line_fit.h"
#include "store/rest_frame.h"

namespace wendrel {

JsonLine MeasureObject(const Row& row, std::pair<double, double> span, const ContinuumChoice& continuum) {
    const Row s = InItsRestFrame(row);  // the span is in the row's rest frame, whatever a session's velocity axis
    const LineMeasurement m = MeasureLine(s, span.first, span.second, continuum, PixelErrors::Of(s));
    const bool measured = m.Refusal.empty();
    const auto value = [&](std::optional<double> v) { return measured ? v.value_or(NAN) : NAN; };
    const auto part = [&](const std::optional<Uncertain>& u, bool error) {
        return value(u ? std::optional(error ? u->Error : u->Value) : std::nullopt);
    };
    JsonLine object;
    object.Number("centroid", part(m.Centroid, false))
        .Number("centroid_err", part(m.Centroid, true))
        .Number("flux", part(m.Flux, false))
        .Number("flux_err", part(m.Flux, true))
        .Number("ew", part(m.EquivalentWidth, false))
        .Number("ew_err", part(m.EquivalentWidth, true))
        .Number("peak", value(m.Peak))
        .Number("fwhm", value(m.Fwhm));
    if (!measured) return object.Text("refused", m.Refusal);
    return object.Integer("continuum_pixels", m.ContinuumPixels).Text("errors_from", m.ErrorsFromFile ? "file" : "scatter");
}

JsonLine FitObject(const Row& row, const InfoOptions::FitRequest& request) {
    const Row s = InItsRestFrame(row);
    const LineFit fit = FitLine(s, request.left, request.right, request.profile, request.components, PixelErrors::Of(s));
    JsonLine object;
    object.Text("model", ProfileKey(request.profile));
    if (!fit.Refusal.empty()) return object.Text("refused", fit.Refusal);
    std::vector<JsonLine> components;
    for (const FittedComponent& c : fit.Components) {
        JsonLine& line = components.emplace_back();
        const auto add = [&](const char* key, const Uncertain& u) {
            line.Number(key, u.Value).Number(std::string(key) + "_err", u.Error);
        };
        add("centre", c.Centre);
        add("peak", c.Peak);
        add("fwhm", c.Fwhm);
        if (request.profile == LineProfile::Voigt) {
            add("fwhm_gauss", c.FwhmGauss);
            add("fwhm_lorentz", c.FwhmLorentz);
        }
        add("flux", c.Flux);
        add("ew", c.EquivalentWidth);
    }
    return object.Number("chi2", fit.Chi2)
        .Integer("dof", fit.Dof)
        .Object("continuum", JsonLine().Number("slope", fit.Slope).Number("intercept", fit.Intercept))
        .Text("errors_from", fit.ErrorsFromFile ? "file" : "scatter")
        .Objects("components", components);
}

}  // namespace wendrel
