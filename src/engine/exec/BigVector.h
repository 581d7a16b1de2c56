// Vectors for the per-record arrays of the engine (codes, numbers, record
// lists), which run to megabytes on large tables.
//
// Arrays of a megabyte or more are placed in memory of their own, aligned to
// 2 MB and marked for transparent huge pages. Filling a fresh array otherwise
// costs one page fault per 4 KB; on a million-record table that was a third of
// the time of a first query.
#pragma once

#include <sys/mman.h>

#include <cstddef>
#include <cstdint>
#include <memory>
#include <new>
#include <vector>

namespace vantrep::engine::exec {

template <class T>
struct BigAllocator {
    using value_type = T;
    static constexpr size_t hugePage = size_t(2) << 20;
    static constexpr size_t threshold = size_t(1) << 20;

    BigAllocator() = default;
    template <class U>
    BigAllocator(const BigAllocator<U>&) {}

    T* allocate(size_t n) {
        size_t bytes = n * sizeof(T);
        if (bytes < threshold) return std::allocator<T>().allocate(n);
        size_t size = roundUp(bytes);
        void* mapped = ::mmap(nullptr, size + hugePage, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
        if (mapped == MAP_FAILED) throw std::bad_alloc();
        auto start = reinterpret_cast<uintptr_t>(mapped);
        uintptr_t aligned = (start + hugePage - 1) & ~(hugePage - 1);
        if (aligned > start) ::munmap(mapped, aligned - start);
        uintptr_t end = start + size + hugePage;
        if (end > aligned + size) ::munmap(reinterpret_cast<void*>(aligned + size), end - (aligned + size));
        ::madvise(reinterpret_cast<void*>(aligned), size, MADV_HUGEPAGE);
        return reinterpret_cast<T*>(aligned);
    }

    void deallocate(T* p, size_t n) {
        size_t bytes = n * sizeof(T);
        if (bytes < threshold) {
            std::allocator<T>().deallocate(p, n);
            return;
        }
        ::munmap(p, roundUp(bytes));
    }

    friend bool operator==(const BigAllocator&, const BigAllocator&) { return true; }

private:
    static size_t roundUp(size_t bytes) { return (bytes + hugePage - 1) & ~(hugePage - 1); }
};

template <class T>
using BigVector = std::vector<T, BigAllocator<T>>;

// Record numbers of a table, ascending unless sorted otherwise.
using RecordList = BigVector<uint32_t>;

}  // namespace vantrep::engine::exec
