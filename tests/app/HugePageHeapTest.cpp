// The export's restart with its heap in huge pages: the tunables it sets and
// when it goes on without starting again.
#include <gtest/gtest.h>

#include <cstdlib>

#include "app/HugePageHeap.h"

namespace vantrep::app {
namespace {

TEST(HugePageHeap, AddsTheHugePageTunableAndKeepsTheOthers) {
    EXPECT_EQ(TunablesWithHugePages(""), "glibc.malloc.hugetlb=1");
    EXPECT_EQ(TunablesWithHugePages("glibc.malloc.check=3"), "glibc.malloc.check=3:glibc.malloc.hugetlb=1");
    EXPECT_EQ(TunablesWithHugePages("glibc.malloc.hugetlb=0"), "glibc.malloc.hugetlb=0");
    EXPECT_EQ(TunablesWithHugePages("glibc.malloc.check=3:glibc.malloc.hugetlb=2"),
              "glibc.malloc.check=3:glibc.malloc.hugetlb=2");
    // A tunable whose name only ends alike is another one.
    EXPECT_EQ(TunablesWithHugePages("x.glibc.malloc.hugetlb=0"), "x.glibc.malloc.hugetlb=0:glibc.malloc.hugetlb=1");
}

// Each case would start the test program itself again if the guard failed:
// returning here with the environment untouched is the check.
TEST(HugePageHeap, GoesOnWithoutRestartingWhenThereIsNothingToDo) {
    char name[] = "vantrep";
    char* argv[] = {name, nullptr};

    ::setenv("GLIBC_TUNABLES", "glibc.malloc.hugetlb=0", 1);
    RestartWithHugePages(argv);
    EXPECT_STREQ(std::getenv("GLIBC_TUNABLES"), "glibc.malloc.hugetlb=0");

    ::unsetenv("GLIBC_TUNABLES");
    ::setenv("VANTREP_HEAP_RESTARTED", "1", 1);
    RestartWithHugePages(argv);
    EXPECT_EQ(std::getenv("GLIBC_TUNABLES"), nullptr);
    ::unsetenv("VANTREP_HEAP_RESTARTED");
}

}  // namespace
}  // namespace vantrep::app
