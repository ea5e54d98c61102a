// The device column (or row) a coordinate in twips falls in, on a surface
// whose columns are `twipsPerColumn` twips wide and start at 0: column j holds
// the coordinates from j * twipsPerColumn up to, but not including,
// (j + 1) * twipsPerColumn. The redraw's envelope drawing and the image surface
// both use this one mapping, which is what keeps their pictures identical.
#pragma once

#include <algorithm>
#include <cmath>
#include <cstdint>

namespace wendrel {

// Coordinates beyond any real device clamp to this many columns either side
// (not-a-number gives column 0).
constexpr double kFarColumn = 0x1p40;

inline int64_t DeviceColumn(float coordinate, double twipsPerColumn) {
    const double column = std::floor(static_cast<double>(coordinate) / twipsPerColumn);
    if (std::isnan(column)) return 0;
    return static_cast<int64_t>(std::clamp(column, -kFarColumn, kFarColumn));
}

}  // namespace wendrel
