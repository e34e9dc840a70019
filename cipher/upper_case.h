// SPDX-FileCopyrightText: 2026 Korvane contributors
//
// SPDX-License-Identifier: MIT

#pragma once

namespace korvane::cipher {

// Unicode's simple upper-case mapping (Simple_Uppercase_Mapping, field 12 of UnicodeData.txt):
// the capital of one code point as one code point, or the code point itself when it has none.
// Upper-casing by it never changes how many characters a text has. Every upper-casing of the
// engine goes through this function.
char32_t simpleUpperCase(char32_t code);

// simpleUpperCase of every code unit of the Basic Multilingual Plane, as a table of 65536
// entries built on first use. A surrogate maps to itself; a pair must be upper-cased as one code
// point by the caller.
const char16_t* upperCaseTable();

// simpleUpperCase of code units one by one: of ASCII worked out, of any other unit looked up in
// upperCaseTable(), fetched the first time a unit outside ASCII needs it, so that a text of ASCII
// alone never has the table built.
class UnitCapitals {
public:
    char16_t of(char16_t unit) {
        if (unit >= 0x80)
            return table()[unit];
        return unit >= u'a' && unit <= u'z' ? char16_t(unit - 32) : unit;
    }
    const char16_t* table() {
        if (table_ == nullptr)
            table_ = upperCaseTable();
        return table_;
    }

private:
    const char16_t* table_ = nullptr;
};

}  // namespace korvane::cipher
