// SPDX-FileCopyrightText: 2026 Korvane contributors
//
// SPDX-License-Identifier: MIT

#pragma once

namespace korvane::cipher {

// Qt's simple one-to-one upper-case mapping (QChar::toUpper) of every code unit of the Basic
// Multilingual Plane, as a table of 65536 entries built on first use. A surrogate maps to
// itself; a pair must be upper-cased as one code point by the caller.
const char16_t* upperCaseTable();

}  // namespace korvane::cipher
