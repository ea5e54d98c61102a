#include "plot/curve_palettes.h"

namespace wendrel {

std::span<const int32_t, kMaxSlots> PaletteColours(CurvePalette palette) {
    return palette == CurvePalette::HighContrast ? std::span<const int32_t, kMaxSlots>(kHighContrastColours)
                                                 : std::span<const int32_t, kMaxSlots>(kStartSlotColors);
}

std::string_view PaletteName(CurvePalette palette) {
    return palette == CurvePalette::HighContrast ? "High Contrast" : "Design";
}

}  // namespace wendrel
