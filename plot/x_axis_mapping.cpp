#include "plot/x_axis_mapping.h"

#include <charconv>
#include <cmath>

#include "analysis/velocity_axis.h"
#include "plot/number_format.h"

namespace wendrel {

XAxisMapping::XAxisMapping(const PlotView& view)
    : unit_(view.XUnit), angstromsPerUnit_(AngstromsPerUnit(view.XUnit)),
      restLambda_(view.VelocityRestLambda > 0 && std::isfinite(view.VelocityRestLambda) ? view.VelocityRestLambda : 0),
      perRow_(RestPerRow(view)), vacuum_(view.LineMarksInVacuum) {}

double XAxisMapping::Axis(double angstroms) const {
    return ShowsVelocity() ? VelocityOfWavelength(angstroms, restLambda_) : angstroms / angstromsPerUnit_;
}

double XAxisMapping::Wavelength(double axisValue) const {
    return ShowsVelocity() ? WavelengthOfVelocity(axisValue, restLambda_) : axisValue * angstromsPerUnit_;
}

std::string XAxisMapping::Title() const {
    // The rows' own lines leave no room in a narrow picture for their medium.
    if (ShowsVelocity() && perRow_) return "Velocity /km/s about each row's line";
    if (ShowsVelocity())
        return "Velocity /km/s about " + WithoutLeadingBlanks(PlainNumberText(restLambda_)) + " A (" +
               (vacuum_ ? "vacuum" : "air") + ")";
    return "Wavelength /" + std::string(ShownUnitName(unit_));
}

double SlotRestLambda(const PlotView& view, int slot) {
    if (!(view.VelocityRestLambda > 0) || !std::isfinite(view.VelocityRestLambda)) return 0;
    const auto index = static_cast<size_t>(slot - 1);
    const double own = slot >= 1 && index < view.VelocityRowRest.size() ? view.VelocityRowRest[index] : 0;
    return own > 0 && std::isfinite(own) ? own : view.VelocityRestLambda;
}

bool RestPerRow(const PlotView& view) {
    for (size_t i = 0; i < view.VelocityRowRest.size(); ++i)
        if (SlotRestLambda(view, static_cast<int>(i) + 1) != view.VelocityRestLambda) return true;
    return false;
}

std::string ReadVelocityRest(const std::string& typed, double& restLambda) {
    const size_t first = typed.find_first_not_of(" \t");
    if (first == std::string::npos) return (restLambda = 0, std::string());
    const std::string_view text = std::string_view(typed).substr(first, typed.find_last_not_of(" \t") + 1 - first);
    double value = 0;
    const auto [stop, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || stop != text.data() + text.size() || !std::isfinite(value) || value < 0)
        return "The rest wavelength \"" + std::string(text) +
               "\" is not a positive number of Angstroms (0 or nothing shows wavelengths).";
    restLambda = value;
    return {};
}

}  // namespace wendrel
