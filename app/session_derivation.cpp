#include "app/session_derivation.h"

#include <cmath>

#include "app/row_combination.h"
#include "app/row_smoothing.h"

namespace wendrel {

RowDerivation DerivationOf(const Row& row) { return {row.Smoothed, row.Combined}; }

void WriteDerivation(const RowDerivation& derivation, QJsonObject& row) {
    if (derivation.Smoothed)
        row.insert("smooth", QJsonObject{{"kernel", QString::fromUtf8(SmoothingKernelKey(derivation.Smoothed->Kernel))},
                                         {"width", derivation.Smoothed->Width}});
    if (derivation.Combined.Kind != RowCombination::None)
        row.insert("combine",
                   QJsonObject{{"kind", derivation.Combined.Kind == RowCombination::Ratio ? "ratio" : "difference"},
                               {"a", derivation.Combined.A},
                               {"b", derivation.Combined.B}});
}

std::string ReadDerivation(const QJsonObject& row, RowDerivation& derivation) {
    if (row.contains("smooth")) {
        const QJsonObject smooth = row.value("smooth").toObject();
        const auto kernel = SmoothingKernelOfKey(smooth.value("kernel").toString().toStdString());
        const double width = smooth.value("width").toDouble(NAN);
        if (!kernel || !(width > 0) || !std::isfinite(width))
            return "a \"smooth\" is not a known kernel with a positive width";
        derivation.Smoothed = Smoothing{*kernel, width};
    }
    if (row.contains("combine")) {
        const QJsonObject combine = row.value("combine").toObject();
        const QString kind = combine.value("kind").toString();
        const int a = combine.value("a").toInt(0), b = combine.value("b").toInt(0);
        if ((kind != "ratio" && kind != "difference") || a < 1 || a > kMaxSlots || b < 1 || b > kMaxSlots)
            return "a \"combine\" is not a ratio or difference of two rows from 1 to " + std::to_string(kMaxSlots);
        derivation.Combined = {kind == "ratio" ? RowCombination::Ratio : RowCombination::Difference, a, b};
    }
    return {};
}

std::string MakeDerivedRows(Workspace& ws, const std::vector<std::pair<int, RowDerivation>>& rows) {
    std::string notMade;
    for (const auto& [row, derivation] : rows)
        if (derivation.Smoothed && derivation.Combined.Kind == RowCombination::None && ws.slot(row).Loaded())
            if (const std::string why = SmoothRow(ws, row, derivation.Smoothed); !why.empty()) notMade += "\n" + why;
    for (const auto& [row, derivation] : rows) {
        if (derivation.Combined.Kind == RowCombination::None) continue;
        if (const std::string why = FillCombinedRow(ws, row, derivation.Combined); !why.empty()) {
            notMade += "\nRow " + std::to_string(row) + ": " + why;
            continue;
        }
        if (derivation.Smoothed) SmoothRow(ws, row, derivation.Smoothed);
    }
    return notMade;
}

}  // namespace wendrel
