#include "app/HugePageHeap.h"

#include <QList>

#include <cstdlib>
#include <cstring>
#include <unistd.h>

namespace vantrep::app {

namespace {

const char restartedMark[] = "VANTREP_HEAP_RESTARTED";

bool underValgrind() {
    const char* preload = std::getenv("LD_PRELOAD");
    return preload && std::strstr(preload, "vgpreload");
}

}  // namespace

QByteArray TunablesWithHugePages(const QByteArray& tunables) {
    for (const QByteArray& tunable : tunables.split(':'))
        if (tunable.startsWith("glibc.malloc.hugetlb=")) return tunables;
    const QByteArray hugePages = "glibc.malloc.hugetlb=1";
    return tunables.isEmpty() ? hugePages : tunables + ':' + hugePages;
}

void RestartWithHugePages(char** argv) {
    if (std::getenv(restartedMark) || underValgrind()) return;
    const QByteArray tunables = qgetenv("GLIBC_TUNABLES");
    const QByteArray wanted = TunablesWithHugePages(tunables);
    if (wanted == tunables) return;
    ::setenv(restartedMark, "1", 1);
    ::setenv("GLIBC_TUNABLES", wanted.constData(), 1);
    ::execv("/proc/self/exe", argv);
    // Not started again: go on with the heap as it is.
    ::unsetenv(restartedMark);
    if (tunables.isEmpty())
        ::unsetenv("GLIBC_TUNABLES");
    else
        ::setenv("GLIBC_TUNABLES", tunables.constData(), 1);
}

}  // namespace vantrep::app
