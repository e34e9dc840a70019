// SPDX-FileCopyrightText: 2026 Korvane contributors
//
// SPDX-License-Identifier: MIT

#include "bench/sample_text.h"

#include <QStringList>
#include <random>

namespace korvane::bench {
namespace {

using namespace Qt::Literals::StringLiterals;

QString build(qsizetype length, qsizetype lineLength, const QStringList& words) {
    std::mt19937 random(20261208);
    std::uniform_int_distribution<qsizetype> pick(0, words.size() - 1);
    QString text;
    text.reserve(length + 32);
    qsizetype lineStart = 0;
    while (text.size() < length) {
        text += words[pick(random)];
        if (text.size() - lineStart > lineLength) {
            text += u'\n';
            lineStart = text.size();
        } else {
            text += u' ';
        }
    }
    text.truncate(length);
    // A pair cut in two at the end would be a lone surrogate the other texts do not have.
    if (!text.isEmpty() && text.back().isHighSurrogate())
        text.back() = u'.';
    return text;
}

}  // namespace

using namespace Qt::Literals::StringLiterals;

QString asciiText(qsizetype length, qsizetype lineLength) {
    static const QStringList words = {u"The"_s,    u"quick"_s,  u"brown"_s, u"fox"_s,  u"jumps"_s,
                                      u"over"_s,   u"the"_s,    u"lazy"_s,  u"dog."_s, u"Pack"_s,
                                      u"my"_s,     u"box"_s,    u"with"_s,  u"five"_s, u"dozen"_s,
                                      u"liquor"_s, u"jugs,"_s,  u"1984"_s,  u"(see"_s, u"p.42)"_s,
                                      u"HELLO"_s,  u"World!"_s, u"a"_s,     u"of"_s};
    return build(length, lineLength, words);
}

QString mixedText(qsizetype length, qsizetype lineLength) {
    static const QStringList words = {
        u"The"_s,      u"quick"_s, u"fox"_s,     u"jumps"_s,  u"over"_s,   u"dog."_s,
        u"Straße"_s,   u"café"_s,  u"naïve"_s,   u"Ærø"_s,    u"élan"_s,   u"ıſ"_s,
        u"Ελληνικά"_s, u"λόγος"_s, u"русский"_s, u"язык"_s,   u"日本語"_s, u"漢字"_s,
        u"😀🎉"_s,       u"𝐀𝐁𝐂"_s,   u"Hello,"_s,  u"World!"_s, u"and"_s,    u"1984"_s};
    return build(length, lineLength, words);
}

}  // namespace korvane::bench
