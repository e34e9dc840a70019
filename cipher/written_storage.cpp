// SPDX-FileCopyrightText: 2026 Korvane contributors
//
// SPDX-License-Identifier: MIT

#include "cipher/written_storage.h"

#if defined(__linux__)
#include <sys/mman.h>
#endif

namespace korvane::cipher {
namespace {

#if defined(__linux__) && defined(MADV_HUGEPAGE)
// The size of a large page on x86-64 and on most ARM64 systems.
constexpr quintptr kLargePage = quintptr(2) << 20;

// Asks for large pages over the whole large pages that lie inside the `bytes` at `data`. The
// edges keep small pages. A system without them refuses the advice, which changes nothing.
void adviseLargePages(void* data, qsizetype bytes) {
    const quintptr start = (quintptr(data) + kLargePage - 1) & ~(kLargePage - 1);
    const quintptr end = (quintptr(data) + quintptr(bytes)) & ~(kLargePage - 1);
    if (end > start)
        madvise(reinterpret_cast<void*>(start), end - start, MADV_HUGEPAGE);
}
#else
void adviseLargePages(void*, qsizetype) {}
#endif

// A text takes large pages from this size on: two of them at least lie inside it.
constexpr qsizetype kLargePagesFromBytes = qsizetype(6) << 20;

}  // namespace

QString storageWrittenWhole(qsizetype length) {
    QString storage(length, Qt::Uninitialized);
    const qsizetype bytes = length * qsizetype(sizeof(QChar));
    if (bytes >= kLargePagesFromBytes)
        adviseLargePages(storage.data(), bytes);
    return storage;
}

}  // namespace korvane::cipher
