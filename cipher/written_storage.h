// SPDX-FileCopyrightText: 2026 Korvane contributors
//
// SPDX-License-Identifier: MIT

#pragma once

#include <QString>

namespace korvane::cipher {

// Storage for a text of `length` code units that its caller writes whole, from the first unit to
// the last, before anyone reads it: the transform's output. Memory the process has not touched
// yet costs a page fault at the first write to each of its pages, and on a text of megabytes
// those faults cost more than the writing. Where the system grants large pages on request
// (Linux with transparent huge pages), a long text asks for them, so that 20 MB take ten faults
// of 2 MB rather than five thousand of 4 KB; every page is written whole, so it holds no more
// memory than small pages would. Elsewhere, and for a short text, it is plain storage.
QString storageWrittenWhole(qsizetype length);

}  // namespace korvane::cipher
