#include "app/HugePageHeap.h"

#include <malloc.h>
#include <sys/mman.h>
#include <sys/resource.h>

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstdlib>

namespace vantrep::app {

namespace {

constexpr size_t piece = size_t(24) << 20;
constexpr size_t pieces = 6;  // 144 MB in all
constexpr uintptr_t hugePage = uintptr_t(2) << 20;

}  // namespace

void TakeHeapInHugePages() {
    // Under a limit on its address space the room would be taken from what
    // the report itself may use.
    rlimit limit{};
    if (::getrlimit(RLIMIT_AS, &limit) != 0 || limit.rlim_cur != RLIM_INFINITY) return;
    mallopt(M_MMAP_THRESHOLD, 32 << 20);
    mallopt(M_TRIM_THRESHOLD, 1 << 30);
    // The pieces grow the heap; freed, they stay its free room at the top.
    std::array<void*, pieces> taken{};
    for (void*& p : taken) p = std::malloc(piece);
    uintptr_t low = UINTPTR_MAX, high = 0;
    bool all = true;
    for (void* p : taken) {
        all = all && p;
        low = std::min(low, reinterpret_cast<uintptr_t>(p));
        high = std::max(high, reinterpret_cast<uintptr_t>(p) + piece);
    }
    // Side by side (each block's header between them), not scattered.
    if (all && high - low <= pieces * (piece + 4096)) {
        low = (low + hugePage - 1) & ~(hugePage - 1);
        high &= ~(hugePage - 1);
        ::madvise(reinterpret_cast<void*>(low), high - low, MADV_HUGEPAGE);
    }
    for (void* p : taken) std::free(p);
}

}  // namespace vantrep::app
