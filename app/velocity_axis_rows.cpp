#include "app/velocity_axis_rows.h"

#include <cmath>
#include <cstdio>

#include "app/slot_rows.h"
#include "plot/line_marks.h"
#include "plot/view_control.h"
#include "plot/x_axis_mapping.h"

namespace wendrel {

void SetVelocityAxis(Workspace& ws, double common, std::vector<double> perRow) {
    ws.View.VelocityRestLambda = common > 0 && std::isfinite(common) ? common : 0;
    if (ws.View.VelocityRestLambda == 0) perRow.clear();
    ws.View.VelocityRowRest = std::move(perRow);
    ApplyVelocityAxis(ws);
}

bool ApplyVelocityAxis(Workspace& ws) {
    bool changed = false;
    for (int slot = 1; slot <= kMaxSlots; ++slot) {
        const double own = SlotRestLambda(ws.View, slot);
        const double scale = own > 0 ? ws.View.VelocityRestLambda / own : 1;
        changed = changed || (ws.slot(slot).Loaded() && ws.slot(slot).AxisScale != scale);
        ws.slot(slot).AxisScale = scale;
    }
    if (changed) {
        RecalcLambdaRange(ws);
        ClearViewHistory(ws);
    }
    return changed;
}

std::string ReadVelocityRests(const std::string& typed, std::vector<double>& rests) {
    std::vector<double> read;
    for (size_t start = 0; start <= typed.size();) {
        const size_t comma = std::min(typed.find(',', start), typed.size());
        double rest = 0;
        const std::string item = typed.substr(start, comma - start);
        const std::string why = ReadVelocityRest(item, rest);
        if (!why.empty()) return why;
        if (!(rest > 0)) return "Each rest wavelength must be above 0 Angstroms; \"" + item + "\" is not.";
        read.push_back(rest);
        start = comma + 1;
    }
    rests = std::move(read);
    return {};
}

std::vector<PickableLine> PickableLines(const Workspace& ws) {
    std::vector<PickableLine> lines;
    for (const LineSet& set : LineSets())
        for (const MarkedLine& line : set.Lines) {
            const double wavelength = MarkWavelength(ws, line);
            char caption[80];
            std::snprintf(caption, sizeof caption, "%s %.2f A", std::string(line.Name).c_str(), wavelength);
            lines.push_back({caption, wavelength});
        }
    return lines;
}

}  // namespace wendrel
