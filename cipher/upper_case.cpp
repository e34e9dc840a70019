// SPDX-FileCopyrightText: 2026 Korvane contributors
//
// SPDX-License-Identifier: MIT

#include "cipher/upper_case.h"

#include <QChar>
#include <memory>

namespace korvane::cipher {

const char16_t* upperCaseTable() {
    static const std::unique_ptr<char16_t[]> table = [] {
        auto upper = std::make_unique<char16_t[]>(0x10000);
        for (char32_t c = 0; c < 0x10000; ++c) {
            const char32_t mapped = QChar::toUpper(c);
            // No capital of a BMP character lies outside it; a mapping that did is not taken.
            upper[c] = QChar::requiresSurrogates(mapped) ? char16_t(c) : char16_t(mapped);
        }
        return upper;
    }();
    return table.get();
}

}  // namespace korvane::cipher
