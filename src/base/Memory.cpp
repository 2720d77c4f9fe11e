#include "base/Memory.h"

#if defined(__GLIBC__)
#include <malloc.h>
#endif

namespace base {

void KeepFreedMemory()
{
#if defined(__GLIBC__)
    // The top of the heap is returned only beyond 64 MiB free, and blocks
    // below 32 MiB come from the heap, not from mappings of their own that
    // go back at every free. Fixed values also end glibc's own adjustment
    // of both, which starts at 128 KiB.
    mallopt(M_TRIM_THRESHOLD, 64 << 20);
    mallopt(M_MMAP_THRESHOLD, 32 << 20);
#endif
}

} // namespace base
