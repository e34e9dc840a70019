// SPDX-FileCopyrightText: 2026 Korvane contributors
//
// SPDX-License-Identifier: MIT

#include "cipher/written_storage.h"

#if defined(__linux__)
#include <sys/mman.h>
#include <unistd.h>
#endif

namespace korvane::cipher {
namespace {

// A text has its pages made present in one call from this size on.
constexpr qsizetype kPresentFromBytes = qsizetype(1) << 20;

#if defined(__linux__) && defined(MADV_POPULATE_WRITE)
// Makes the whole pages that lie inside the `bytes` at `data` present and writable; the pages at
// the edges, which the storage shares with its neighbours, fault in as they are written.
void makePresent(void* data, qsizetype bytes) {
    static const quintptr page = quintptr(sysconf(_SC_PAGESIZE));
    const quintptr start = (quintptr(data) + page - 1) & ~(page - 1);
    const quintptr end = (quintptr(data) + quintptr(bytes)) & ~(page - 1);
    if (end > start)
        madvise(reinterpret_cast<void*>(start), end - start, MADV_POPULATE_WRITE);
}
#else
void makePresent(void*, qsizetype) {}
#endif

}  // namespace

QString storageWrittenWhole(qsizetype length) {
    QString storage(length, Qt::Uninitialized);
    const qsizetype bytes = length * qsizetype(sizeof(QChar));
    if (bytes >= kPresentFromBytes)
        makePresent(storage.data(), bytes);
    return storage;
}

}  // namespace korvane::cipher
