// Work split over the machine's cores, for the steps that dominate the time of
// opening a large report: passes over every record, formatting every cell.
#pragma once

#include <algorithm>
#include <cstddef>
#include <exception>
#include <system_error>
#include <thread>
#include <utility>
#include <vector>

namespace vantrep::engine {

// The number of parts to split `count` items of work into: one per core, but
// never so many that a part has fewer than `minimumPart` items.
inline size_t partsFor(size_t count, size_t minimumPart) {
    const size_t cores = std::max<size_t>(1, std::thread::hardware_concurrency());
    return std::clamp<size_t>(count / std::max<size_t>(1, minimumPart), 1, cores);
}

// The items [begin, end) of part `part` when `count` items are split into
// `parts` parts of nearly equal size.
inline std::pair<size_t, size_t> partRange(size_t count, size_t parts, size_t part) {
    return {count * part / parts, count * (part + 1) / parts};
}

// Runs work(part) for part = 0 .. parts-1 (at least part 0) at once, part 0
// on the calling thread, and returns when every part is done. The first
// exception a part throws is thrown again here, after all parts have ended.
template <class Work>
void runParts(size_t parts, const Work& work) {
    parts = std::max<size_t>(parts, 1);
    std::vector<std::exception_ptr> failures(parts);
    auto guarded = [&](size_t part) {
        try {
            work(part);
        } catch (...) {
            failures[part] = std::current_exception();
        }
    };
    // Room is made before any thread starts: a vector growing once threads
    // run could fail and leave them unjoined.
    std::vector<std::thread> threads;
    threads.reserve(parts);
    std::vector<size_t> here;  // parts run on the calling thread
    here.reserve(parts);
    here.push_back(0);
    for (size_t part = 1; part < parts; ++part) {
        try {
            threads.emplace_back(guarded, part);
        } catch (...) {
            here.push_back(part);  // no thread to be had (or no memory for one): the part runs here
        }
    }
    for (size_t part : here) guarded(part);
    for (std::thread& t : threads) t.join();
    for (const std::exception_ptr& failure : failures)
        if (failure) std::rethrow_exception(failure);
}

}  // namespace vantrep::engine
