#include "app/session_look.h"

#include <QJsonArray>
#include <cmath>

namespace wendrel {

void WriteLook(QJsonObject& view, const PlotLook& look) {
    view["axes"] = look.AxisLabels == PlotLook::Axes::Every ? "every" : "classic";
    view["legendPlace"] = look.LegendOutside ? "outside" : "inside";
    if (look.LegendMoved) view["legendAt"] = QJsonArray{look.LegendLeft, look.LegendTop};
    view["palette"] = look.HighContrast ? "contrast" : "design";
    view["lineWidth"] = look.LineWidth;
    view["stackCurves"] = look.StackCurves;
}

PlotLook ReadLook(const QJsonObject& view, std::string& wrong) {
    PlotLook look;
    // A text field that must be one of two names; absent: the first.
    const auto choice = [&](const char* key, const char* first, const char* second) {
        const QJsonValue value = view.value(key);
        if (value.isUndefined()) return false;
        if (value.toString() != first && value.toString() != second)
            wrong = std::string("\"") + key + "\" is neither " + first + " nor " + second;
        return value.toString() == second;
    };
    look.AxisLabels = choice("axes", "classic", "every") ? PlotLook::Axes::Every : PlotLook::Axes::Classic;
    look.LegendOutside = choice("legendPlace", "inside", "outside");
    look.HighContrast = choice("palette", "design", "contrast");
    if (const QJsonValue at = view.value("legendAt"); !at.isUndefined()) {
        const QJsonArray corner = at.toArray();
        if (corner.size() != 2 || !corner[0].isDouble() || !corner[1].isDouble() ||
            !std::isfinite(corner[0].toDouble()) || !std::isfinite(corner[1].toDouble())) {
            wrong = "\"legendAt\" is not a pair of numbers";
        } else {
            look.LegendMoved = true;
            look.LegendLeft = corner[0].toDouble();
            look.LegendTop = corner[1].toDouble();
        }
    }
    if (const QJsonValue width = view.value("lineWidth"); !width.isUndefined()) {
        const double w = width.toDouble(0);
        if (!width.isDouble() || w != std::floor(w) || w < 1 || w > kMaxLineWidth)
            wrong = "\"lineWidth\" is no whole number from 1 to " + std::to_string(kMaxLineWidth);
        else
            look.LineWidth = static_cast<int>(w);
    }
    if (const QJsonValue stack = view.value("stackCurves"); !stack.isUndefined()) {
        if (!stack.isBool()) wrong = "\"stackCurves\" is neither true nor false";
        look.StackCurves = stack.toBool(true);
    }
    return look;
}

}  // namespace wendrel
