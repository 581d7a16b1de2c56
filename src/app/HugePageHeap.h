// The export's heap in 2 MB pages. An export of a large report fills tens of
// megabytes of fresh heap; on the virtual machines it is run on, the first
// touch of each 4 KB page costs about ten microseconds, and of a 2 MB page
// (transparent huge page) little more than one of them.
#pragma once

namespace vantrep::app {

// Grows the main heap at once by the room an export of a large summary uses,
// marks that room for transparent huge pages and keeps it for reuse: what is
// freed stays in the heap instead of going back to the system, and blocks of
// up to 32 MB are taken from the heap rather than mapped on their own. Does
// nothing under a limit on the process's address space, nor to an allocator
// whose blocks do not lie side by side in one heap (a sanitizer's, say). For
// short-lived processes only: the room is kept until the process ends.
void TakeHeapInHugePages();

}  // namespace vantrep::app
