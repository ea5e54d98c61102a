#include "app/velocity_search.h"

#include <cmath>

#include "app/slot_rows.h"
#include "plot/number_format.h"

namespace wendrel {

std::vector<FoundVelocity> FindVelocities(const Workspace& ws, int templateRow, const std::vector<int>& rows,
                                          const VelocitySearch& search) {
    std::vector<FoundVelocity> found;
    const Row& templ = ws.slot(templateRow);
    for (const int row : rows) {
        FoundVelocity entry{row, {}};
        const Row& object = ws.slot(row);
        if (!templ.Loaded())
            entry.Result.Refusal = "The template row " + std::to_string(templateRow) + " holds no spectrum.";
        else if (!object.Loaded())
            entry.Result.Refusal = "Row " + std::to_string(row) + " holds no spectrum.";
        else if (row == templateRow)
            entry.Result.Refusal = object->FileName + " is the template itself.";
        else
            entry.Result = CrossCorrelate(templ.spectrum(), templ.Velocity, object.spectrum(), search);
        found.push_back(std::move(entry));
    }
    return found;
}

std::string FoundVelocityText(const Workspace& ws, const FoundVelocity& found) {
    const Row& row = ws.slot(found.Row);
    std::string text = std::to_string(found.Row) + "  " + (row.Loaded() ? row->FileName : std::string()) + "  ";
    if (!found.Result.Refusal.empty()) return text + found.Result.Refusal;
    const auto number = [](double v) { return WithoutLeadingBlanks(PlainNumberText(v)); };
    return text + number(std::round(found.Result.VelocityKms * 10) / 10) + " \u00b1 " +
           number(std::round(found.Result.ErrorKms * 10) / 10) + " km/s  r = " +
           number(std::round(found.Result.R * 10) / 10);
}

int ApplyVelocities(Workspace& ws, const std::vector<FoundVelocity>& found, UiHooks& ui) {
    int set = 0;
    for (const FoundVelocity& entry : found) {
        if (!entry.Result.Refusal.empty() || !ws.slot(entry.Row).Loaded()) continue;
        VelocityTyped(ws, entry.Row, entry.Result.VelocityKms, ui);
        ui.ShowRowCaptions(entry.Row);
        ++set;
    }
    return set;
}

}  // namespace wendrel
