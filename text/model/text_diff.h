// SPDX-FileCopyrightText: 2026 Korvane contributors
//
// SPDX-License-Identifier: MIT

#pragma once

#include <QStringView>

namespace korvane::text {

// Where two texts differ: they share `prefix` code units at the start and `suffix` at the end,
// and neither boundary splits a surrogate pair. Replacing current[prefix, size - suffix) with
// wanted[prefix, size - suffix) turns one into the other.
struct ChangedSpan {
    qsizetype prefix = 0;
    qsizetype suffix = 0;
};

ChangedSpan findChangedSpan(QStringView current, QStringView wanted);

}  // namespace korvane::text
