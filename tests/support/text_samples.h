// SPDX-FileCopyrightText: 2026 Korvane contributors
//
// SPDX-License-Identifier: MIT

#pragma once

#include <QString>

// A text with a short line, an empty line, a line ended by a LINE SEPARATOR, a line too long to
// be laid out whole (from kLongLineStart) and a last line without a break.
inline QString sampleText() {
    using namespace Qt::StringLiterals;
    QString longLine;
    for (int i = 0; i < 600; ++i)
        longLine += u"word "_s;
    return u"alpha beta\n\ngamma delta epsilon\x2028zeta\n"_s + longLine + u"\nlast line"_s;
}
constexpr int kLongLineStart = 37;

// A line of 5,003 characters whose two long words are longer than any window a step first reads:
// "start ", 2,400 w's from 6, a blank, 2,588 x's from 2,407, " end" and an emoji with its skin
// tone.
inline QString longWords() {
    using namespace Qt::StringLiterals;
    return u"start "_s + QString(2400, u'w') + u' ' + QString(2588, u'x') +
           u" end\U0001F44D\U0001F3FD"_s;
}
