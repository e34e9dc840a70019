// SPDX-FileCopyrightText: 2026 Korvane contributors
//
// SPDX-License-Identifier: MIT

#pragma once

#include <QString>

namespace korvane::cipher {

// Storage for a text of `length` code units that its caller writes whole, from the first unit to
// the last, before anyone reads it: the transform's output. Memory the process has not touched
// yet takes a page fault at the first write to each of its pages, and on a text of megabytes
// those thousands of faults cost more than the writing. On Linux a long text's pages are made
// present and writable in one call instead (MADV_POPULATE_WRITE, Linux 5.14 on; an older kernel
// refuses it and the pages fault in as they are written). They are the pages the writing would
// touch anyway, so nothing more is held. Elsewhere, and for a short text, it is plain storage.
QString storageWrittenWhole(qsizetype length);

}  // namespace korvane::cipher
