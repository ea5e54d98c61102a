#include "fits/large_pages.h"

#include <cstdint>

#include <malloc.h>
#include <sys/mman.h>

namespace wendrel {

namespace {

// The reader's pool of pixel memory is the allocator's own: arrays up to
// kPooledBytes (4 million pixels) come from the heap instead of mappings of
// their own, and the memory a replaced spectrum frees stays with the process
// (up to kKeptBytes at the heap's top) for the next load to write into
// without new pages, whose first-write faults would cost more than the rest
// of a steady load. Set once, before the first pixel array is taken.
constexpr int kPooledBytes = 32 << 20;
constexpr int kKeptBytes = 256 << 20;

void KeepFreedPixelMemory() {
    static const bool tuned = [] {
        ::mallopt(M_MMAP_THRESHOLD, kPooledBytes);
        ::mallopt(M_TRIM_THRESHOLD, kKeptBytes);
        return true;
    }();
    (void)tuned;
}

}  // namespace

void ReserveOnLargePages(std::vector<double>& values, size_t count) {
    if (values.capacity() >= count) return;
    KeepFreedPixelMemory();
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
