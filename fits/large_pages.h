// Memory advice for the large pixel arrays of a spectrum.
#pragma once

#include <cstddef>
#include <vector>

namespace wendrel {

// values.reserve(count); when that takes new storage, asks the system to back
// it with large pages (2 MB on x86-64 Linux) where it spans whole ones.
// New memory reaches a process one page at a time, each at the cost of a
// kernel fault on its first write: for a spectrum of a million pixels, whose
// Flux and FluxPct take 16 MB, 4096 faults with 4 KB pages, which cost more
// than the rest of its first load. With large pages it is a handful. Only a
// hint: the values, and where the system has no such pages, everything else,
// stay as they are. The first call also has the allocator keep the memory
// of freed pixel arrays for the next load (the reader's pool; see
// large_pages.cpp).
void ReserveOnLargePages(std::vector<double>& values, size_t count);

}  // namespace wendrel
