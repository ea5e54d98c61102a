// View > "Velocity Axis ...": the rest wavelength of the velocity axis for
// all rows, or one for each loaded row, each typed (Angstroms, in the medium
// the Lines menu shows) or picked from the Lines menu's lines.
#pragma once

#include <QWidget>
#include <optional>
#include <string>
#include <vector>

#include "store/workspace.h"

namespace wendrel {

struct VelocityAxisAnswer {
    double Common = 0;           // 0: the wavelength axis
    std::vector<double> PerRow;  // index slot - 1; 0: the common one
};

// Asks; nothing when cancelled or refused (then `refusal` says why).
std::optional<VelocityAxisAnswer> AskVelocityAxisRests(QWidget* parent, const Workspace& ws, std::string& refusal);

}  // namespace wendrel
