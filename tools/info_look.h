// wendrel-info's options of the plot's look (store/plot_look.h), as the plot
// window's View menu chooses it: --axes classic|every, --legend
// [inside|outside|off] (a bare --legend is inside), --palette
// design|contrast, --line-width N and --stack on|off.
#pragma once

#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "store/plot_look.h"
#include "store/workspace.h"

namespace wendrel {

// The look's options given; those not given leave the session's or the
// classic look as it is.
struct LookOptions {
    std::optional<PlotLook::Axes> axes;
    std::optional<std::string> legend;  // inside, outside or off
    std::optional<bool> highContrast;
    std::optional<int> lineWidth;
    std::optional<bool> stack;

    bool Any() const { return axes || legend || highContrast || lineWidth || stack; }
};

// Each reads its option's value; returns why it is refused, else "".
std::string SetAxesOption(LookOptions& o, std::string_view value);
std::string SetLegendOption(LookOptions& o, std::string_view value);
std::string SetPaletteOption(LookOptions& o, std::string_view value);
std::string SetLineWidthOption(LookOptions& o, std::string_view value);
std::string SetStackOption(LookOptions& o, std::string_view value);

// The arguments with a bare --legend (no place after it) written as
// --legend=inside, so that the older switch keeps working.
std::vector<std::string> WithLegendPlace(std::span<const std::string_view> args);

void ApplyLookOptions(Workspace& ws, const LookOptions& o);

}  // namespace wendrel
