// SPDX-FileCopyrightText: 2026 Korvane contributors
//
// SPDX-License-Identifier: MIT

#include "text/text_document.h"

#include <algorithm>
#include <type_traits>
#include <utility>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace korvane::text {
namespace {

// How many characters an overwrite takes from its writer at a time: a piece small enough to
// stay in the processor's cache while it is compared and copied.
constexpr qsizetype kOverwritePiece = 32 * 1024;

constexpr bool isLineBreak(char16_t unit) {
    return unit == u'\n' || unit == u'\x2028';
}

// Whether two runs of `length` characters hold their line breaks at the same places: eight
// at a time in the vector unit (SSE2), the rest one by one.
bool sameLineBreaks(const QChar* a, const QChar* b, qsizetype length) {
    const auto* x = reinterpret_cast<const char16_t*>(a);
    const auto* y = reinterpret_cast<const char16_t*>(b);
    qsizetype i = 0;
#if defined(__SSE2__)
    const __m128i lineFeed = _mm_set1_epi16(u'\n');
    const __m128i separator = _mm_set1_epi16(short(u'\x2028'));
    const auto breaks = [&](const char16_t* units) {
        const __m128i lanes = _mm_loadu_si128(reinterpret_cast<const __m128i*>(units));
        return _mm_or_si128(_mm_cmpeq_epi16(lanes, lineFeed), _mm_cmpeq_epi16(lanes, separator));
    };
    __m128i differ = _mm_setzero_si128();
    for (; i + 8 <= length; i += 8)
        differ = _mm_or_si128(differ, _mm_xor_si128(breaks(x + i), breaks(y + i)));
    if (_mm_movemask_epi8(differ) != 0)
        return false;
#endif
    for (; i < length; ++i) {
        if (isLineBreak(x[i]) != isLineBreak(y[i]))
            return false;
    }
    return true;
}

}  // namespace

TextDocument::TextDocument(QObject* parent) : QObject(parent) {}

TextDocument::~TextDocument() = default;

void TextDocument::replace(qsizetype position, qsizetype removed, QStringView inserted,
                           EditKind kind) {
    edit(position, removed, inserted, kind);
}

void TextDocument::replace(qsizetype position, qsizetype removed, QString&& inserted,
                           EditKind kind) {
    edit(position, removed, std::move(inserted), kind);
}

QString TextDocument::written(qsizetype position, qsizetype length, const Writer& write) {
    QString text(length, Qt::Uninitialized);
    for (qsizetype done = 0; done < length;) {
        const qsizetype piece = std::min(kOverwritePiece, length - done);
        done += std::clamp<qsizetype>(write(position + done, piece, text.data() + done), 1, piece);
    }
    return text;
}

void TextDocument::overwrite(qsizetype position, qsizetype length, const Writer& write) {
    position = std::clamp<qsizetype>(position, 0, this->length());
    length = std::clamp<qsizetype>(length, 0, this->length() - position);
    if (length == 0)
        return;
    if (undoRedoEnabled_) {
        const QString text = written(position, length, write);
        const QStringView old = buffer_.span(position, length);
        const qsizetype same =
            std::mismatch(old.begin(), old.end(), text.begin()).first - old.begin();
        if (same < length)
            replace(position + same, length - same, QStringView(text).sliced(same));
        return;
    }
    const qsizetype end = position + length;
    // The gap leaves the span once; each piece's place is asked for again after the writer and
    // the announcement ran, which may have read the document.
    buffer_.writableSpan(position, length);
    std::vector<QChar> piece(std::size_t(std::min(kOverwritePiece, length)));
    qsizetype changedFrom = -1;  // where the first character that differs is, once found
    bool breaksKept = true;
    // Announces the edit as far as it got, the line index and longest line mended if a line
    // break moved; also when the writer fails part way, so that the document stays whole.
    const auto finish = [&](qsizetype reached) {
        if (changedFrom < 0)
            return;
        if (!breaksKept) {
            lines_.build(buffer_.text());
            countLongest();
        }
        Q_EMIT contentsChanged(changedFrom, reached - changedFrom, reached - changedFrom);
    };
    qsizetype from = position;
    try {
        while (from < end) {
            const qsizetype wanted = std::min(kOverwritePiece, end - from);
            const qsizetype got =
                std::clamp<qsizetype>(write(from, wanted, piece.data()), 1, wanted);
            QChar* at = buffer_.writableSpan(from, got);
            if (changedFrom < 0) {
                const auto differ = std::mismatch(at, at + got, piece.data()).first;
                if (differ == at + got) {
                    from += got;  // the same characters: nothing to write yet
                    continue;
                }
                changedFrom = from + (differ - at);
                Q_EMIT contentsAboutToChange(changedFrom, end - changedFrom);
                at = buffer_.writableSpan(from, got);
            }
            breaksKept = breaksKept && sameLineBreaks(at, piece.data(), got);
            std::copy(piece.data(), piece.data() + got, at);
            from += got;
        }
    } catch (...) {
        finish(end);
        throw;
    }
    finish(end);
}

template <typename Text>
void TextDocument::edit(qsizetype position, qsizetype removed, Text&& inserted, EditKind kind) {
    position = std::clamp<qsizetype>(position, 0, length());
    removed = std::clamp<qsizetype>(removed, 0, length() - position);
    const qsizetype added = QStringView(inserted).size();
    if (removed == 0 && added == 0)
        return;
    const bool undoBefore = isUndoAvailable();
    const bool redoBefore = isRedoAvailable();
    if (undoRedoEnabled_ && !replaying_) {
        record(position, removed, QStringView(inserted), kind);
        redoSteps_.clear();
    }
    apply(position, removed, std::forward<Text>(inserted));
    announceAvailability(undoBefore, redoBefore);
}

template <typename Text>
void TextDocument::apply(qsizetype position, qsizetype removed, Text&& inserted) {
    const qsizetype added = QStringView(inserted).size();
    Q_EMIT contentsAboutToChange(position, removed);
    if (removed == length()) {
        // The whole text goes: the new one is taken as it is, its storage with it when it is a
        // string of its own, and indexed afresh.
        if constexpr (std::is_same_v<std::remove_cvref_t<Text>, QString>)
            buffer_.assign(std::move(inserted));
        else
            buffer_.assign(QStringView(inserted).toString());
        lines_.build(buffer_.text());
        countLongest();
    } else {
        const int editLine = lines_.lineAt(position);
        const int lastOldLine = lines_.lineAt(position + removed);
        const int longestRemoved = countOf(longestLine_, editLine, lastOldLine);
        buffer_.replace(position, removed, QStringView(inserted));
        // The gap now follows the inserted text, so the text up to its end is read where it
        // lies, without moving anything.
        lines_.replace(buffer_.span(0, position + added), position, removed, added);
        const int lastNewLine = lines_.lineAt(position + added);
        // The longest line is one of the edited lines if they grew past it; otherwise it stays
        // while any line of its length is left. Only when the last of them was edited shorter
        // must every line be looked at again.
        const qsizetype longestNew = longestOf(editLine, lastNewLine);
        if (longestNew > longestLine_) {
            longestLine_ = longestNew;
            longestCount_ = countOf(longestNew, editLine, lastNewLine);
        } else {
            longestCount_ += countOf(longestLine_, editLine, lastNewLine) - longestRemoved;
            if (longestCount_ == 0)
                countLongest();
        }
    }
    Q_EMIT contentsChanged(position, removed, added);
}

qsizetype TextDocument::longestOf(int first, int last) const {
    qsizetype longest = 0;
    for (int line = first; line <= last; ++line)
        longest = std::max(longest, lineEnd(line) - lineStart(line));
    return longest;
}

int TextDocument::countOf(qsizetype lineLength, int first, int last) const {
    int count = 0;
    for (int line = first; line <= last; ++line)
        count += lineEnd(line) - lineStart(line) == lineLength;
    return count;
}

void TextDocument::countLongest() {
    longestLine_ = lines_.longestLineLength(length());
    longestCount_ = 0;
    for (int line = 0; line < lineCount(); ++line)
        longestCount_ += lineEnd(line) - lineStart(line) == longestLine_;
}

QString TextDocument::removedText(qsizetype position, qsizetype removed) {
    return removed == length() ? buffer_.text() : buffer_.mid(position, removed);
}

void TextDocument::record(qsizetype position, qsizetype removed, QStringView insertedText,
                          EditKind kind) {
    const qsizetype inserted = insertedText.size();
    const bool joinsBlock = blockDepth_ > 0 && !blockStepOpen_ && !undoSteps_.empty();
    blockStepOpen_ = false;
    if (blockDepth_ > 0)
        blockRecorded_ = true;
    if (joinsBlock) {
        undoSteps_.back().actions.push_back({position, inserted, removedText(position, removed)});
        return;
    }
    const bool mergeable = mergeable_;
    mergeable_ = true;
    if (blockDepth_ > 0) {
        // A block is a step of its own that nothing merges into.
        undoSteps_.push_back(
            {{{position, inserted, removedText(position, removed)}}, EditKind::Other});
        return;
    }
    if (mergeable && !undoSteps_.empty() && kind != EditKind::Other &&
        undoSteps_.back().kind == kind && undoSteps_.back().actions.size() == 1) {
        Action& last = undoSteps_.back().actions.back();
        // Typing on where the last typed character went, unless a line break begins a new line
        // of typing, and a step with it.
        const bool startsLine = std::any_of(insertedText.begin(), insertedText.end(), [](QChar c) {
            return LineIndex::isLineBreak(c.unicode());
        });
        if (kind == EditKind::Typing && removed == 0 && last.text.isEmpty() &&
            position == last.position + last.length && !startsLine) {
            last.length += inserted;
            return;
        }
        // Backspace just before what was deleted last, or Delete just where it was.
        if (kind == EditKind::Deleting && inserted == 0 && last.length == 0) {
            if (position + removed == last.position) {
                last.text.prepend(mid(position, removed));
                last.position = position;
                return;
            }
            if (position == last.position) {
                last.text.append(mid(position, removed));
                return;
            }
        }
    }
    undoSteps_.push_back({{{position, inserted, removedText(position, removed)}}, kind});
}

void TextDocument::beginEditBlock() {
    if (blockDepth_++ == 0)
        blockStepOpen_ = true;
}

void TextDocument::endEditBlock() {
    if (blockDepth_ == 0)
        return;
    if (--blockDepth_ == 0 && blockRecorded_) {
        blockRecorded_ = false;
        mergeable_ = false;  // what is typed next is not part of the block
    }
}

void TextDocument::setUndoRedoEnabled(bool enabled) {
    undoRedoEnabled_ = enabled;
    if (!enabled)
        clearUndoRedoStacks();
}

void TextDocument::clearUndoRedoStacks() {
    const bool undoBefore = isUndoAvailable();
    const bool redoBefore = isRedoAvailable();
    undoSteps_.clear();
    redoSteps_.clear();
    announceAvailability(undoBefore, redoBefore);
}

void TextDocument::undo() {
    replay(undoSteps_, redoSteps_);
}

void TextDocument::redo() {
    replay(redoSteps_, undoSteps_);
}

void TextDocument::replay(std::vector<Step>& from, std::vector<Step>& to) {
    if (from.empty())
        return;
    const bool undoBefore = isUndoAvailable();
    const bool redoBefore = isRedoAvailable();
    Step step = std::move(from.back());
    from.pop_back();
    Step reverse{{}, EditKind::Other};
    reverse.actions.reserve(step.actions.size());
    replaying_ = true;
    for (auto action = step.actions.rbegin(); action != step.actions.rend(); ++action) {
        const qsizetype put = action->text.size();
        reverse.actions.push_back(
            {action->position, put, removedText(action->position, action->length)});
        apply(action->position, action->length, std::move(action->text));
        lastUndoRedoPosition_ = action->position + put;
    }
    replaying_ = false;
    mergeable_ = false;  // what is typed next is a step of its own
    to.push_back(std::move(reverse));
    announceAvailability(undoBefore, redoBefore);
}

void TextDocument::announceAvailability(bool undoBefore, bool redoBefore) {
    if (undoBefore != isUndoAvailable())
        Q_EMIT undoAvailable(isUndoAvailable());
    if (redoBefore != isRedoAvailable())
        Q_EMIT redoAvailable(isRedoAvailable());
}

}  // namespace korvane::text
