// SPDX-FileCopyrightText: 2026 Korvane contributors
//
// SPDX-License-Identifier: MIT

#include "text/model/text_document.h"

#include <algorithm>
#include <functional>
#include <type_traits>
#include <utility>

#include "text/model/line_breaks.h"
#include "text/model/text_diff.h"

namespace korvane::text {
namespace {

// How many characters an overwrite takes from its writer at a time: a piece small enough to
// stay in the processor's cache while it is compared and copied.
constexpr qsizetype kOverwritePiece = 32 * 1024;
// An edit of more characters than this drops the pairs' index, to be found again when next
// asked for, rather than have every rewrite of megabytes read them twice.
constexpr qsizetype kFollowedPairsEdit = 64 * 1024;

bool liesIn(QStringView inside, const TextBuffer& buffer) {
    const auto within = [&](QStringView piece) {
        return !piece.isEmpty() && !std::less<const QChar*>()(inside.data(), piece.data()) &&
               std::less<const QChar*>()(inside.data(), piece.data() + piece.size());
    };
    return !inside.isEmpty() && (within(buffer.beforeGap()) || within(buffer.afterGap()));
}

}  // namespace

TextDocument::TextDocument(QObject* parent) : QObject(parent) {}

TextDocument::~TextDocument() = default;

TextRange TextDocument::lineAround(qsizetype position) const {
    const int line = lineAt(std::clamp<qsizetype>(position, 0, length()));
    return {lineStart(line), lineEnd(line)};
}

const CodePointIndex& TextDocument::pairs() const {
    if (!pairsBuilt_) {
        pairs_.build(buffer_.beforeGap(), buffer_.afterGap());
        pairsBuilt_ = true;
    }
    return pairs_;
}

qsizetype TextDocument::codePointOffset(qsizetype position) const {
    return pairs().offsetOf(std::clamp<qsizetype>(position, 0, length()));
}

qsizetype TextDocument::positionOfCodePoint(qsizetype offset) const {
    return pairs().positionOf(offset, length());
}

qint64 TextDocument::memoryToReplace(qsizetype added, qsizetype removed) const {
    // A whole text replaced is taken as it is, with lines indexed afresh.
    qint64 need = lines_.memoryToIndex(added);
    if (removed < length())
        need += buffer_.memoryToReplace(added, removed);
    if (undoRedoEnabled_)
        need += qint64(sizeof(QChar)) * removed;  // the note of the text removed
    return need;
}

void TextDocument::replace(qsizetype position, qsizetype removed, QStringView inserted,
                           EditKind kind) {
    if (liesIn(inserted, buffer_)) {
        // Characters of this very document would move under the edit.
        edit(position, removed, inserted.toString(), kind);
        return;
    }
    edit(position, removed, inserted, kind);
}

void TextDocument::replace(qsizetype position, qsizetype removed, QString&& inserted,
                           EditKind kind) {
    edit(position, removed, std::move(inserted), kind);
}

void TextDocument::replace(qsizetype position, qsizetype removed, QString&& inserted,
                           LineIndex insertedLines, EditKind kind) {
    edit(position, removed, std::move(inserted), kind, &insertedLines);
}

std::optional<TextRange> TextDocument::replaceChanged(QStringView wanted) {
    const QString& current = text();
    const ChangedSpan span = findChangedSpan(current, wanted);
    const qsizetype removed = current.size() - span.prefix - span.suffix;
    const qsizetype inserted = wanted.size() - span.prefix - span.suffix;
    if (removed == 0 && inserted == 0)
        return std::nullopt;
    replace(span.prefix, removed, wanted.sliced(span.prefix, inserted));
    return TextRange{span.prefix, span.prefix + inserted};
}

template <typename Text>
void TextDocument::edit(qsizetype position, qsizetype removed, Text&& inserted, EditKind kind,
                        LineIndex* insertedLines) {
    position = std::clamp<qsizetype>(position, 0, length());
    removed = std::clamp<qsizetype>(removed, 0, length() - position);
    const QStringView insertedView(inserted);
    if (removed == 0 && insertedView.isEmpty())
        return;
    const bool undoBefore = isUndoAvailable();
    const bool redoBefore = isRedoAvailable();
    // What needs memory first, the note in the history last: a failure leaves all as it was.
    constexpr bool taking = std::is_same_v<std::remove_cvref_t<Text>, QString>;
    PreparedEdit prepared = prepare(position, removed, insertedView, taking, insertedLines);
    if (undoRedoEnabled_)
        history_.record(position, removedText(position, removed), insertedView, kind);
    if constexpr (taking) {
        QString taken = std::forward<Text>(inserted);
        commit(prepared, taken, &taken);
    } else {
        commit(prepared, insertedView, nullptr);
    }
    announceAvailability(undoBefore, redoBefore);
}

TextDocument::PreparedEdit TextDocument::prepare(qsizetype position, qsizetype removed,
                                                 QStringView inserted, bool taking,
                                                 LineIndex* insertedLines) {
    PreparedEdit edit{position, removed, removed == length(), {}, {}, {}};
    if (edit.whole) {
        if (insertedLines)
            edit.wholeLines = std::move(*insertedLines);
        else
            edit.wholeLines.build(inserted);
        if (!taking)
            edit.wholeText = inserted.toString();
    } else {
        edit.lineEdit = insertedLines
                            ? lines_.prepare(position, removed, inserted.size(), *insertedLines)
                            : lines_.prepare(position, removed, inserted);
        buffer_.reserve(inserted.size() - removed);
    }
    return edit;
}

void TextDocument::commit(PreparedEdit& edit, QStringView inserted, QString* takenText) {
    const qsizetype position = edit.position;
    const qsizetype removed = edit.removed;
    Q_EMIT contentsAboutToChange(position, removed);
    TextChange change{position, removed, inserted.size(), {}};
    if (edit.whole) {
        // The whole text goes: the new one is taken as it is, its storage with it when it is a
        // string of its own, and its lines were indexed afresh.
        change.lines = {0, lines_.lineCount() - 1, edit.wholeLines.lineCount() - 1};
        buffer_.assign(takenText ? std::move(*takenText) : std::move(edit.wholeText));
        lines_ = std::move(edit.wholeLines);
        countLongest();
    } else {
        const LineIndex::Edit& lineEdit = edit.lineEdit;
        const int longestRemoved = countOf(longestLine_, lineEdit.first, lineEdit.lastRemoved);
        buffer_.replace(position, removed, inserted);
        change.lines = lines_.apply(lineEdit);
        // The longest line is one of the edited lines if they grew past it; otherwise it stays
        // while any line of its length is left. Only when the last of them was edited shorter
        // must every line be looked at again.
        const qsizetype longestNew = longestOf(change.lines.first, change.lines.lastAdded);
        if (longestNew > longestLine_) {
            longestLine_ = longestNew;
            longestCount_ = countOf(longestNew, change.lines.first, change.lines.lastAdded);
        } else {
            longestCount_ +=
                countOf(longestLine_, change.lines.first, change.lines.lastAdded) - longestRemoved;
            if (longestCount_ == 0)
                countLongest();
        }
    }
    followPairs(position, removed, inserted.size());
    announceChange(change);
}

void TextDocument::followPairs(qsizetype position, qsizetype removed, qsizetype added) noexcept {
    if (!pairsBuilt_)
        return;
    if (removed + added > kFollowedPairsEdit) {
        pairsBuilt_ = false;
        return;
    }
    try {
        // The added span and the unit either side, where a pair may have been split or joined.
        const qsizetype from = std::max<qsizetype>(0, position - 1);
        const qsizetype to = std::min(length(), position + added + 1);
        pairs_.replace(position, removed, added, buffer_.span(from, to - from), from);
    } catch (...) {
        pairsBuilt_ = false;  // found again when next asked for
    }
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
    QString piece(std::min(kOverwritePiece, length), Qt::Uninitialized);
    qsizetype changedFrom = -1;  // where the first character that differs is, once found
    int firstLine = 0;
    int lastLine = 0;
    bool breaksKept = true;
    // Announces the edit as far as it got, the line index and longest line mended if a line
    // break moved; also when the writer fails part way, so that the document stays whole.
    const auto finish = [&](qsizetype reached) {
        if (changedFrom < 0)
            return;
        const qsizetype span = reached - changedFrom;
        TextChange change{changedFrom, span, span, {firstLine, lastLine, lastLine}};
        if (!breaksKept) {
            lines_.build(buffer_.text());
            countLongest();
            change.lines = {firstLine, lastLine, lines_.lineAt(reached)};
        }
        followPairs(changedFrom, span, span);
        announceChange(change);
    };
    qsizetype from = position;
    try {
        while (from < end) {
            const qsizetype wanted = std::min(kOverwritePiece, end - from);
            const qsizetype got =
                std::clamp<qsizetype>(write(from, wanted, piece.data()), 1, wanted);
            QChar* at = buffer_.writableSpan(from, got);
            if (changedFrom < 0) {
                const auto differ = std::mismatch(at, at + got, piece.constData()).first;
                if (differ == at + got) {
                    from += got;  // the same characters: nothing to write yet
                    continue;
                }
                changedFrom = from + (differ - at);
                firstLine = lines_.lineAt(changedFrom);
                lastLine = lines_.lineAt(end);
                Q_EMIT contentsAboutToChange(changedFrom, end - changedFrom);
                at = buffer_.writableSpan(from, got);
            }
            breaksKept = breaksKept && sameLineBreaks(at, piece.constData(), got);
            std::copy(piece.constData(), piece.constData() + got, at);
            from += got;
        }
    } catch (...) {
        finish(end);
        throw;
    }
    finish(end);
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
    const LineIndex::LongestLine longest = lines_.longestLine(length());
    longestLine_ = longest.length;
    longestCount_ = longest.count;
}

QString TextDocument::removedText(qsizetype position, qsizetype removed) {
    return removed == length() ? buffer_.text() : buffer_.mid(position, removed);
}

void TextDocument::setUndoRedoEnabled(bool enabled) {
    undoRedoEnabled_ = enabled;
    if (!enabled)
        clearUndoRedoStacks();
}

void TextDocument::clearUndoRedoStacks() {
    const bool undoBefore = isUndoAvailable();
    const bool redoBefore = isRedoAvailable();
    history_.clear();
    announceAvailability(undoBefore, redoBefore);
}

std::optional<qsizetype> TextDocument::undo() {
    return replay(true);
}

std::optional<qsizetype> TextDocument::redo() {
    return replay(false);
}

QString TextDocument::apply(UndoHistory::Action& action, bool puttingBack) {
    PreparedEdit prepared = prepare(action.position, action.length, action.text, true);
    // Put back, the replaced text is the one the action still holds, unless the whole text,
    // which is kept without a copy, takes the action's text.
    QString replaced =
        !puttingBack || prepared.whole ? removedText(action.position, action.length) : QString();
    commit(prepared, action.text, &action.text);
    return replaced;
}

std::optional<qsizetype> TextDocument::replay(bool undoing) {
    const bool undoBefore = isUndoAvailable();
    const bool redoBefore = isRedoAvailable();
    // Each replacement of the step, made as any edit but for the note in the history.
    const UndoHistory::Apply apply = [this](UndoHistory::Action& action, bool puttingBack) {
        return this->apply(action, puttingBack);
    };
    const std::optional<qsizetype> caret = undoing ? history_.undo(apply) : history_.redo(apply);
    announceAvailability(undoBefore, redoBefore);
    return caret;
}

void TextDocument::markEdits() {
    history_.mark();
}

void TextDocument::takeBackEdits() {
    const bool undoBefore = isUndoAvailable();
    const bool redoBefore = isRedoAvailable();
    try {
        history_.takeBack([this](UndoHistory::Action& action, bool puttingBack) {
            return apply(action, puttingBack);
        });
    } catch (...) {
        announceAvailability(undoBefore, redoBefore);
        throw;
    }
    announceAvailability(undoBefore, redoBefore);
}

void TextDocument::keepEdits() {
    history_.settle();
}

void TextDocument::announceChange(const TextChange& change) {
    ++revision_;
    Q_EMIT contentsChanged(change);
}

void TextDocument::announceAvailability(bool undoBefore, bool redoBefore) {
    if (undoBefore != isUndoAvailable())
        Q_EMIT undoAvailable(isUndoAvailable());
    if (redoBefore != isRedoAvailable())
        Q_EMIT redoAvailable(isRedoAvailable());
}

}  // namespace korvane::text
