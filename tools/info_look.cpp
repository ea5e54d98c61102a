#include "tools/info_look.h"

#include <charconv>

namespace wendrel {

namespace {

std::string Refused(std::string_view option, std::string_view wanted, std::string_view value) {
    return std::string(option) + " needs " + std::string(wanted) + "; got \"" + std::string(value) + "\"";
}

bool IsLegendPlace(std::string_view value) { return value == "inside" || value == "outside" || value == "off"; }

}  // namespace

std::string SetAxesOption(LookOptions& o, std::string_view value) {
    if (value != "classic" && value != "every") return Refused("--axes", "classic or every", value);
    o.axes = value == "every" ? PlotLook::Axes::Every : PlotLook::Axes::Classic;
    return {};
}

std::string SetLegendOption(LookOptions& o, std::string_view value) {
    if (!IsLegendPlace(value)) return Refused("--legend", "inside, outside or off", value);
    o.legend = std::string(value);
    return {};
}

std::string SetPaletteOption(LookOptions& o, std::string_view value) {
    if (value != "design" && value != "contrast") return Refused("--palette", "design or contrast", value);
    o.highContrast = value == "contrast";
    return {};
}

std::string SetLineWidthOption(LookOptions& o, std::string_view value) {
    int width = 0;
    const auto [end, error] = std::from_chars(value.data(), value.data() + value.size(), width);
    if (error != std::errc() || end != value.data() + value.size() || width < 1 || width > kMaxLineWidth)
        return Refused("--line-width", "a whole number of pixels from 1 to " + std::to_string(kMaxLineWidth), value);
    o.lineWidth = width;
    return {};
}

std::string SetStackOption(LookOptions& o, std::string_view value) {
    if (value != "on" && value != "off") return Refused("--stack", "on or off", value);
    o.stack = value == "on";
    return {};
}

std::vector<std::string> WithLegendPlace(std::span<const std::string_view> args) {
    std::vector<std::string> result;
    bool optionsEnded = false;
    for (size_t i = 0; i < args.size(); ++i) {
        optionsEnded = optionsEnded || args[i] == "--";
        const bool bare = !optionsEnded && args[i] == "--legend" && (i + 1 == args.size() || !IsLegendPlace(args[i + 1]));
        result.emplace_back(bare ? "--legend=inside" : std::string(args[i]));
    }
    return result;
}

void ApplyLookOptions(Workspace& ws, const LookOptions& o) {
    PlotLook& look = ws.View.Look;
    if (o.axes) look.AxisLabels = *o.axes;
    if (o.legend) {
        ws.View.ShowLegend = *o.legend != "off";
        look.LegendOutside = *o.legend == "outside";
        look.LegendMoved = false;
    }
    if (o.highContrast) look.HighContrast = *o.highContrast;
    if (o.lineWidth) look.LineWidth = *o.lineWidth;
    if (o.stack) look.StackCurves = *o.stack;
}

}  // namespace wendrel
