// SPDX-FileCopyrightText: 2026 Korvane contributors
//
// SPDX-License-Identifier: MIT

#include "text/editor/caret_stops.h"

#include <QTextBoundaryFinder>
#include <algorithm>

#include "text/model/line_window.h"
#include "text/model/surrogate_pairs.h"
#include "text/model/text_segmentation.h"

namespace korvane::text {
namespace {

// Whether a word segment holds a word rather than blanks or punctuation.
bool holdsWord(const TextDocument& document, TextRange segment) {
    const QString start = document.mid(segment.start, std::min<qsizetype>(segment.length(), 64));
    QTextBoundaryFinder finder(QTextBoundaryFinder::Word, start);
    return finder.boundaryReasons() & QTextBoundaryFinder::StartOfItem;
}

// The code point at `i` of `text`, whose index moves past a surrogate pair.
char32_t codePointAt(QStringView text, qsizetype& i) {
    const QChar c = text[i];
    if (insidePair(text, i + 1))
        return QChar::surrogateToUcs4(c, text[++i]);
    return c.unicode();
}

bool isMark(char32_t c) {
    const QChar::Category category = QChar::category(c);
    return category == QChar::Mark_NonSpacing || category == QChar::Mark_SpacingCombining ||
           category == QChar::Mark_Enclosing;
}

// Whether a cluster of more than one code point is an emoji sequence (UTS #51): it holds a code
// point that only emoji sequences use (the emoji presentation selector, the keycap, a skin tone,
// a regional indicator of a flag, a tag of a subdivision flag) or a ZWJ joining a pictograph, or
// its base is a pictograph of the emoji planes. Pango asks instead whether the base has Unicode's
// Emoji property, which Qt does not expose; the two agree on the emoji sequences people type.
bool isEmojiSequence(QStringView cluster, char32_t base) {
    if (base >= 0x1F000 && base <= 0x1FAFF)
        return true;
    for (qsizetype i = 0; i < cluster.size(); ++i) {
        const char32_t c = codePointAt(cluster, i);
        if (c == 0xFE0F || c == 0x20E3 || (c >= 0x1F3FB && c <= 0x1F3FF) ||
            (c >= 0x1F1E6 && c <= 0x1F1FF) || (c >= 0xE0020 && c <= 0xE007F))
            return true;
        if (c == 0x200D && i + 1 < cluster.size()) {
            qsizetype next = i + 1;
            if (QChar::category(codePointAt(cluster, next)) == QChar::Symbol_Other)
                return true;
        }
    }
    return false;
}

}  // namespace

Qt::LayoutDirection paragraphDirection(const TextDocument& document, qsizetype position) {
    // Read a piece at a time: the first strong character is near the start of almost any line.
    constexpr qsizetype kPiece = 4096;
    const TextRange line = document.lineAround(position);
    int isolates = 0;
    for (qsizetype at = line.start; at < line.end;) {
        const qsizetype count = outsidePair(document, std::min(at + kPiece, line.end), true) - at;
        const QString piece = document.mid(at, count);
        for (qsizetype i = 0; i < piece.size(); ++i) {
            // In ASCII only the letters are strong, left-to-right ones: a line of digits and
            // blanks is read quickly.
            const char16_t unit = piece[i].unicode();
            if (unit < 0x80) {
                if ((unit | 0x20) >= u'a' && (unit | 0x20) <= u'z' && isolates == 0)
                    return Qt::LeftToRight;
                continue;
            }
            switch (QChar::direction(codePointAt(piece, i))) {
                case QChar::DirLRI:
                case QChar::DirRLI:
                case QChar::DirFSI:
                    ++isolates;
                    break;
                case QChar::DirPDI:
                    isolates = std::max(0, isolates - 1);
                    break;
                case QChar::DirL:
                    if (isolates == 0)
                        return Qt::LeftToRight;
                    break;
                case QChar::DirR:
                case QChar::DirAL:
                    if (isolates == 0)
                        return Qt::RightToLeft;
                    break;
                default:
                    break;
            }
        }
        at += count;
    }
    return Qt::LeftToRight;
}

bool backspaceDeletesCharacter(QStringView cluster) {
    // Pango's base character: the cluster's last code point that is not a combining mark.
    char32_t base = 0;
    for (qsizetype i = 0; i < cluster.size(); ++i) {
        const char32_t c = codePointAt(cluster, i);
        if (!isMark(c))
            base = c;
    }
    const auto in = [base](char32_t first, char32_t last) { return base >= first && base <= last; };
    const bool latin = in(0x0020, 0x02AF) || in(0x1E00, 0x1EFF);
    const bool greek = in(0x0370, 0x03FF) || in(0x1F00, 0x1FFF);
    const bool cyrillic = in(0x0400, 0x052F);
    const bool kana = in(0x3040, 0x30FF);
    const bool hangulSyllable = in(0xAC00, 0xD7A3);
    return !(latin || greek || cyrillic || kana || hangulSyllable ||
             isEmojiSequence(cluster, base));
}

qsizetype backspaceStop(const TextDocument& document, const QFont& font, qsizetype position) {
    const qsizetype start = caretStop(document, font, position, false, QTextLayout::SkipCharacters);
    const qsizetype length = position - start;
    if (length <= 1 || (length == 2 && insidePair(document, start + 1)))
        return start;  // one code point, or a line break
    if (!backspaceDeletesCharacter(document.mid(start, length)))
        return start;
    return outsidePair(document, position - 1);
}

qsizetype caretStop(const TextDocument& document, const QFont& font, qsizetype position,
                    bool forward, QTextLayout::CursorMode mode) {
    if (forward ? position >= document.length() : position <= 0)
        return forward ? document.length() : 0;
    const TextRange line = document.lineAround(position);
    if (position == (forward ? line.end : line.start))
        return forward ? position + 1 : position - 1;
    for (LineWindow window(document, line, position);;) {
        QTextLayout layout(window.text(), font);
        const int inWindow = int(position - window.start());
        const qsizetype stop =
            window.start() + (forward ? layout.nextCursorPosition(inWindow, mode)
                                      : layout.previousCursorPosition(inWindow, mode));
        if (window.settles({stop, stop}))
            return stop;
    }
}

TextRange clickedWord(const TextDocument& document, qsizetype position) {
    const TextRange line = document.lineAround(position);
    if (line.start == line.end)
        return {position, position};
    // At the line's end the click is on its last character.
    const qsizetype on = position == line.end ? position - 1 : position;
    const TextRange at = segmentAt(document, on, TextBoundary::Word);
    if (holdsWord(document, at))
        return at;
    const TextRange before =
        at.start > line.start ? segmentAt(document, at.start - 1, TextBoundary::Word) : TextRange{};
    const bool afterWord = before.length() > 0 && holdsWord(document, before);
    if (afterWord && position == at.start)
        return before;
    // Between words UAX #29 puts every punctuation mark in a segment of its own, and one run
    // of punctuation and blanks is one segment here: the run of punctuation under the click is
    // selected, as Qt's editors select a run of word separators, or the one before a blank
    // clicked; never the blanks.
    const auto blank = [&document](qsizetype at) { return document.at(at).isSpace(); };
    qsizetype last = on;
    while (last > at.start && blank(last))
        --last;
    if (blank(last))
        return afterWord ? before : TextRange{position, position};
    qsizetype start = last;
    while (start > at.start && !blank(start - 1))
        --start;
    qsizetype end = last + 1;
    while (end < at.end && !blank(end))
        ++end;
    return {start, end};
}

}  // namespace korvane::text
