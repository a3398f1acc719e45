#include "platform/memory_use.h"

// Any header of the C library says which library it is; __GLIBC__ is not known before one.
#include <cstdlib>

#if defined(__GLIBC__)
#include <malloc.h>
#endif

namespace qh {

void ReuseLargeBlocks() {
#if defined(__GLIBC__)
    // Blocks up to 1 GiB from the heap (an expanded package is refused beyond 512 MiB); up to
    // 256 MiB of freed memory kept for reuse before the heap shrinks.
    mallopt(M_MMAP_THRESHOLD, 1 << 30);
    mallopt(M_TRIM_THRESHOLD, 256 << 20);
#endif
}

}  // namespace qh
