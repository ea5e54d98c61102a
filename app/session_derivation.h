// The parts of a session's row that say how its spectrum derives: a
// smoothing ("smooth": {"kernel", "width"}) and a combination of two rows
// ("combine": {"kind": "ratio" | "difference", "a", "b"}, in place of a
// file). Both are optional, so sessions without them read as before.
#pragma once

#include <QJsonObject>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "store/workspace.h"

namespace wendrel {

struct RowDerivation {
    std::optional<Smoothing> Smoothed;
    CombinedRows Combined;  // Kind None: the row's spectrum comes from its file
};

RowDerivation DerivationOf(const Row& row);

// Adds the derivation's fields to a session row's JSON object.
void WriteDerivation(const RowDerivation& derivation, QJsonObject& row);

// Reads them; returns what is wrong with their shape, empty when right.
std::string ReadDerivation(const QJsonObject& row, RowDerivation& derivation);

// After a session's files loaded: smooths the loaded rows that ask it, then
// fills the combined rows from their two rows. Returns a line ("\n...") for
// each row that could not be made.
std::string MakeDerivedRows(Workspace& ws, const std::vector<std::pair<int, RowDerivation>>& rows);

}  // namespace wendrel
