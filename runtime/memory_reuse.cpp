#include "runtime/memory_reuse.h"

#if __has_include(<malloc.h>)
#include <malloc.h>  // defines __GLIBC__ where the C library is glibc
#endif

namespace korvane::runtime {

void ReuseLargeBlocks() noexcept {
#if defined(__GLIBC__)
    mallopt(M_MMAP_MAX, 0);
    mallopt(M_TRIM_THRESHOLD, 64 << 20);
#endif
}

}  // namespace korvane::runtime
