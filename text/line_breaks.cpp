// SPDX-FileCopyrightText: 2026 Korvane contributors
//
// SPDX-License-Identifier: MIT

#include "text/line_breaks.h"

#include <algorithm>

namespace korvane::text {
namespace {

bool isOtherBreak(char16_t c) {
    return c == u'\r' || c == u'\u2029' || c == u'\ufdd0' || c == u'\ufdd1';
}

}  // namespace

QString withLineFeeds(QString text) {
    const char16_t* begin = reinterpret_cast<const char16_t*>(std::as_const(text).constData());
    const char16_t* end = begin + text.size();
    const char16_t* first = std::find_if(begin, end, isOtherBreak);
    if (first == end)
        return text;
    QString stored;
    stored.reserve(text.size());
    stored.append(QStringView(begin, first));
    for (const char16_t* c = first; c != end; ++c) {
        if (*c == u'\r' && c + 1 != end && c[1] == u'\n')
            continue;  // the line feed that follows stands for both
        stored.append(isOtherBreak(*c) ? QChar(u'\n') : QChar(*c));
    }
    return stored;
}

}  // namespace korvane::text
