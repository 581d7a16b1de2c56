// The export's heap in 2 MB pages. An export of a large report fills a few
// hundred megabytes of fresh memory; on the virtual machines it is run on,
// the first touch of each 4 KB page costs about ten microseconds, a fifth of
// a million-record export. glibc takes its heap in transparent huge pages
// only when its "glibc.malloc.hugetlb" tunable is set at start, so the
// export starts itself once more with it set.
#pragma once

#include <QByteArray>

namespace vantrep::app {

// `tunables` (a GLIBC_TUNABLES value, possibly empty) with the heap's huge
// pages turned on; the other tunables are kept, and a hugetlb setting
// already there is left as it is.
QByteArray TunablesWithHugePages(const QByteArray& tunables);

// Starts this program again, with the same arguments and the heap in huge
// pages, unless it is so already, it was started again already, or it runs
// under valgrind (whose tool would not follow). Returns only when the
// program goes on as it is.
void RestartWithHugePages(char** argv);

}  // namespace vantrep::app
