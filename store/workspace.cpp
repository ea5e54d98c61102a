#include "store/workspace.h"

namespace wendrel {

Workspace::Workspace() {
    for (int k = 1; k <= kMaxSlots; ++k) {
        Row& s = slot(k);
        s.SlotColor = kStartSlotColors[static_cast<size_t>(k - 1)];
        s.Offset = StartOffset(k);
    }
}

}  // namespace wendrel
