// Work split over the cores: every item done once, failures passed on.
#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <stdexcept>
#include <thread>
#include <vector>

#include "engine/Parallel.h"

namespace vantrep::engine {
namespace {

TEST(Parallel, PartsCoverEveryItemOnceAndRunAtOnce) {
    for (size_t count : {0u, 1u, 7u, 100001u}) {
        for (size_t parts : {1u, 2u, 3u}) {
            std::vector<int> done(count, 0);
            std::vector<std::thread::id> threads(parts);
            runParts(parts, [&](size_t part) {
                threads[part] = std::this_thread::get_id();
                const auto [begin, end] = partRange(count, parts, part);
                for (size_t i = begin; i < end; ++i) ++done[i];
            });
            EXPECT_EQ(std::count(done.begin(), done.end(), 1), static_cast<long>(count)) << count << " in " << parts;
            EXPECT_EQ(threads[0], std::this_thread::get_id()) << "part 0 runs on the caller";
        }
    }
    EXPECT_EQ(partsFor(10, 100), 1u);
    EXPECT_GE(partsFor(1000000, 100), 1u);
    EXPECT_LE(partsFor(1000000, 100), std::max(1u, std::thread::hardware_concurrency()));
}

TEST(Parallel, AFailingPartIsReportedAfterAllPartsEnd) {
    std::atomic<int> ended{0};
    EXPECT_THROW(runParts(3,
                          [&](size_t part) {
                              ++ended;
                              if (part == 1) throw std::runtime_error("part 1 failed");
                          }),
                 std::runtime_error);
    EXPECT_EQ(ended, 3);
    int runs = 0;
    runParts(0, [&](size_t) { ++runs; });
    EXPECT_EQ(runs, 1) << "no parts asked for still runs the work once";
}

}  // namespace
}  // namespace vantrep::engine
