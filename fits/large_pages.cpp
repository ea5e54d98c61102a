#include "fits/large_pages.h"

#include <cstdint>

#include <sys/mman.h>

namespace wendrel {

void ReserveOnLargePages(std::vector<double>& values, size_t count) {
    if (values.capacity() >= count) return;
    values.reserve(count);
#ifdef MADV_HUGEPAGE
    constexpr uintptr_t kLargePage = uintptr_t{2} << 20;
    // Only the large pages that lie wholly inside the storage: the advice
    // must not reach memory that belongs to anything else.
    const auto begin = reinterpret_cast<uintptr_t>(values.data());
    const auto end = reinterpret_cast<uintptr_t>(values.data() + values.capacity());
    const uintptr_t first = (begin + kLargePage - 1) & ~(kLargePage - 1);
    const uintptr_t last = end & ~(kLargePage - 1);
    if (last > first) ::madvise(reinterpret_cast<void*>(first), last - first, MADV_HUGEPAGE);
#endif
}

}  // namespace wendrel
