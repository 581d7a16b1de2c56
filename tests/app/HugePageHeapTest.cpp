// The export's heap in huge pages: after TakeHeapInHugePages, the blocks the
// program takes lie in memory marked for transparent huge pages, unless the
// process runs under a limit on its address space. Each case runs in a child
// process of its own, whose heap no other case has changed.
#include <gtest/gtest.h>

#include <QFile>
#include <QStringList>

#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdint>
#include <cstdlib>
#include <functional>
#include <memory>
#include <vector>

#include "app/HugePageHeap.h"

namespace vantrep::app {
namespace {

// The VmFlags of the mapping of this process that holds `address`, split.
QStringList flagsOfMappingHolding(const void* address) {
    const auto wanted = reinterpret_cast<uintptr_t>(address);
    QFile smaps("/proc/self/smaps");
    if (!smaps.open(QIODevice::ReadOnly)) return {};
    bool inside = false;
    for (const QByteArray& line : smaps.readAll().split('\n')) {
        const QByteArray range = line.left(line.indexOf(' '));
        const int dash = range.indexOf('-');
        bool fromOk = false, toOk = false;
        const uintptr_t from = dash > 0 ? range.left(dash).toULongLong(&fromOk, 16) : 0;
        const uintptr_t to = dash > 0 ? range.mid(dash + 1).toULongLong(&toOk, 16) : 0;
        if (fromOk && toOk) inside = from <= wanted && wanted < to;
        if (inside && line.startsWith("VmFlags:")) return QString::fromLatin1(line.mid(8)).simplified().split(' ');
    }
    return {};
}

// Runs `body` in a child process; its exit status.
int inChild(const std::function<int()>& body) {
    const pid_t child = ::fork();
    if (child == 0) ::_exit(body());
    int status = 0;
    if (child < 0 || ::waitpid(child, &status, 0) != child || !WIFEXITED(status)) return -1;
    return WEXITSTATUS(status);
}

bool markedForHugePages(const void* address) { return flagsOfMappingHolding(address).contains("hg"); }

TEST(HugePageHeap, BlocksOfTheExportLieInMemoryMarkedForHugePages) {
#if defined(__SANITIZE_ADDRESS__)
    GTEST_SKIP() << "the sanitizer's allocator keeps no single heap";
#endif
    const int status = inChild([] {
        std::unique_ptr<char[]> before(new char[size_t(8) << 20]);
        if (markedForHugePages(before.get() + (size_t(4) << 20))) return 1;
        TakeHeapInHugePages();
        // Blocks of several megabytes, and the many small blocks of a grid
        // once the heap's older holes are used up.
        std::unique_ptr<char[]> large(new char[size_t(8) << 20]);
        std::vector<std::unique_ptr<char[]>> small;
        for (int i = 0; i < 50000; ++i) small.emplace_back(new char[200]);
        if (!markedForHugePages(large.get() + (size_t(4) << 20))) return 2;
        if (!markedForHugePages(small.back().get())) return 3;
        return 0;
    });
    EXPECT_EQ(status, 0) << "1: marked before; 2: a large block not marked; 3: a small block not marked";
}

// The room would be taken from what the report may use.
TEST(HugePageHeap, UnderAnAddressSpaceLimitTheHeapStaysAsItIs) {
    const int status = inChild([] {
        const rlimit limit{rlim_t(64) << 30, rlim_t(64) << 30};
        if (::setrlimit(RLIMIT_AS, &limit) != 0) return 2;
        TakeHeapInHugePages();
        std::unique_ptr<char[]> large(new char[size_t(8) << 20]);
        return markedForHugePages(large.get() + (size_t(4) << 20)) ? 1 : 0;
    });
    EXPECT_EQ(status, 0) << "1: the heap was marked for huge pages; 2: no limit could be set";
}

}  // namespace
}  // namespace vantrep::app
