// SPDX-FileCopyrightText: 2026 Korvane contributors
//
// SPDX-License-Identifier: MIT

#include "text/editor/text_editor.h"

#include <QAccessible>
#include <QClipboard>
#include <QGuiApplication>
#include <QInputMethodEvent>
#include <QMimeData>
#include <QTextCharFormat>
#include <algorithm>
#include <utility>

#include "text/editor/caret_stops.h"
#include "text/editor/primary_selection.h"
#include "text/model/line_window.h"
#include "text/model/surrogate_pairs.h"

namespace korvane::text {
namespace {

// The edits of an input method's event or of a drop, one undo step, the block closed also when
// one of them fails.
class EditBlock {
public:
    explicit EditBlock(TextDocument& document) : document_(&document) { document.beginEditBlock(); }
    ~EditBlock() { end(); }
    EditBlock(const EditBlock&) = delete;
    EditBlock& operator=(const EditBlock&) = delete;
    void end() {
        if (document_)
            document_->endEditBlock();
        document_ = nullptr;
    }

private:
    TextDocument* document_;
};

// The part of the line holding `position` that an input method is told of: the whole line, or
// a window of it around the caret in a long one.
TextRange inputWindow(const TextDocument& document, qsizetype position) {
    return LineWindow(document, document.lineAround(position), position).range();
}

}  // namespace

TextEditor::TextEditor(QObject* parent) : QObject(parent), document_(new TextDocument(this)) {
    connect(document_, &TextDocument::contentsAboutToChange, this, &TextEditor::noteComingChange);
    connect(document_, &TextDocument::contentsChanged, this, &TextEditor::followChange);
}

TextEditor::~TextEditor() {
    keepPrimarySelection();
}

// --- The text, the caret and the selection -------------------------------------------------

void TextEditor::setText(QString text) {
    document_->replace(0, document_->length(), std::move(text));
    cursor_.setWantedX(std::nullopt);
    setSelection(0, 0);
}

void TextEditor::setReadOnly(bool readOnly) {
    if (readOnly == readOnly_)
        return;
    readOnly_ = readOnly;
    if (readOnly && !preedit_.text.isEmpty())
        setPreedit({});
    Q_EMIT readOnlyChanged(readOnly);
}

QString TextEditor::selectedText() const {
    QString selected = document_->mid(selectionStart(), selectionEnd() - selectionStart());
    if (QStringView(selected).contains(QChar(QChar::LineSeparator)))
        selected.replace(QChar(QChar::LineSeparator), QChar(u'\n'));
    return selected;
}

void TextEditor::setSelection(qsizetype anchor, qsizetype caret) {
    anchor = clampedPosition(*document_, anchor);
    caret = clampedPosition(*document_, caret);
    if (hasSelection() && anchor == caret)
        keepPrimarySelection();
    const TextCursor::Moved moved = cursor_.set(anchor, caret);
    if (!moved.caret && !moved.selection)
        return;
    if (moved.caret && !preedit_.text.isEmpty()) {
        Preedit preedit = preedit_;
        preedit.position = caret;
        setPreedit(std::move(preedit));
    }
    Q_EMIT cursorMoved(moved);
}

void TextEditor::moveCaretTo(qsizetype position, bool extend) {
    setSelection(extend ? cursor_.anchor() : position, position);
}

void TextEditor::moveCaret(Move move, bool forward, bool extend) {
    const qsizetype caret = cursor_.position();
    // As in Qt's editors, in a right-to-left line Right and Ctrl+Right go back in the text and
    // Left and Ctrl+Left on, so that the caret moves the way the arrow points.
    bool onward = forward;
    if ((move == Move::Character || move == Move::Word) &&
        paragraphDirection(*document_, caret) == Qt::RightToLeft)
        onward = !onward;
    qsizetype target = caret;
    switch (move) {
        case Move::Character:
            if (hasSelection() && !extend)
                target = onward ? selectionEnd() : selectionStart();
            else
                target = caretStop(*document_, font_, caret, onward, QTextLayout::SkipCharacters);
            break;
        case Move::Word:
            target = caretStop(*document_, font_, caret, onward, QTextLayout::SkipWords);
            break;
        case Move::LineEdge: {
            const TextRange line = document_->lineAround(caret);
            target = forward ? line.end : line.start;
            break;
        }
        case Move::DocumentEdge:
            target = forward ? document_->length() : 0;
            break;
    }
    cursor_.setWantedX(std::nullopt);
    moveCaretTo(target, extend);
}

std::optional<qreal> TextEditor::wantedX() const {
    return cursor_.wantedX();
}

void TextEditor::setWantedX(std::optional<qreal> x) {
    cursor_.setWantedX(x);
}

void TextEditor::selectAll() {
    setSelection(0, document_->length());
    offerPrimarySelection();
}

void TextEditor::offerPrimarySelection() {
    QClipboard* clipboard = QGuiApplication::clipboard();
    if (!hasSelection() || !clipboard->supportsSelection())
        return;
    // The clipboard owns the data, and drops the selection this editor offered before.
    primary_ = new PrimarySelection([this] { return selectedText(); },
                                    [this] { return selectionEnd() - selectionStart(); });
    clipboard->setMimeData(primary_, QClipboard::Selection);
}

void TextEditor::keepPrimarySelection() {
    if (primary_)
        primary_->keep();
    primary_ = nullptr;
}

// --- Following the document ----------------------------------------------------------------

void TextEditor::noteComingChange(qsizetype position, qsizetype removed) noexcept {
    if (hasSelection() && position <= selectionEnd() && position + removed >= selectionStart())
        keepPrimarySelection();
    Q_EMIT contentsAboutToChange(position, removed);
}

void TextEditor::followChange(const TextChange& change) noexcept {
    const qsizetype anchor = TextCursor::follow(cursor_.anchor(), change);
    const qsizetype caret = TextCursor::follow(cursor_.position(), change);
    Q_EMIT contentsEdited(change);
    setSelection(anchor, caret);
    Q_EMIT contentsChanged(change);
}

// --- Edits -------------------------------------------------------------------------------

bool TextEditor::runUserEdit(RefusedEdit::Kind kind,
                             const std::function<void(EditTransaction&)>& edit) {
    EditTransaction transaction(*this, transactions_, kind);
    return transaction.run([&] { edit(transaction); });
}

void TextEditor::setFollowerScope(EditTransaction::FollowerScope scope) {
    transactions_.followerScope = std::move(scope);
}

void TextEditor::setFollowerNeed(EditTransaction::FollowerNeed need) {
    transactions_.followerNeed = std::move(need);
}

qint64 TextEditor::memoryToReplace(qsizetype added, qsizetype removed) const {
    qint64 need = document_->memoryToReplace(added, removed);
    if (QAccessible::isActive())
        need += 2 * (qint64(added) + removed);  // the texts assistive technology is told of
    return need;
}

void TextEditor::editAt(qsizetype position, qsizetype removed, QString text, EditKind kind) {
    if (readOnly_)
        return;
    // The text is read once, for its other line breaks and for its lines.
    LineIndex lines;
    lines.buildWithLineFeeds(text);
    const qsizetype added = text.size();
    cursor_.setWantedX(std::nullopt);
    document_->replace(position, removed, std::move(text), std::move(lines), kind);
    setCursorPosition(position + added);
    Q_EMIT visibilityRequest(cursor_.position());
}

void TextEditor::insertTyped(const QString& text) {
    runUserEdit(RefusedEdit::Typing, [&](EditTransaction&) {
        // A typed line break is an undo step of its own, as in Qt's editors.
        const bool lineBreak = text == u"\n" || text == u"\r";
        editAt(selectionStart(), selectionEnd() - selectionStart(), text,
               lineBreak ? EditKind::Other : EditKind::Typing);
    });
}

void TextEditor::insertText(QString text) {
    runUserEdit(RefusedEdit::Pasting, [&](EditTransaction& edit) {
        const qsizetype removed = selectionEnd() - selectionStart();
        edit.setBytes(text.size());
        edit.ensureMemory(text.size(), removed, true, text);
        editAt(selectionStart(), removed, std::move(text), EditKind::Other);
    });
}

void TextEditor::deleteSelection() {
    if (hasSelection())
        deleteText({selectionStart(), selectionEnd()});
}

void TextEditor::deleteText(TextRange range) {
    runUserEdit(RefusedEdit::Deleting, [&](EditTransaction&) {
        editAt(range.start, range.length(), QString(), EditKind::Other);
    });
}

void TextEditor::deleteNext(bool forward, bool word) {
    if (hasSelection()) {
        deleteSelection();
        return;
    }
    runUserEdit(RefusedEdit::Deleting, [&](EditTransaction&) {
        // Delete takes a whole grapheme cluster; Backspace takes one, or only its last mark in a
        // syllable typed mark by mark (see backspaceStop).
        const qsizetype caret = cursor_.position();
        const qsizetype to =
            word || forward ? caretStop(*document_, font_, caret, forward,
                                        word ? QTextLayout::SkipWords : QTextLayout::SkipCharacters)
                            : backspaceStop(*document_, font_, caret);
        editAt(std::min(caret, to), std::abs(to - caret), QString(), EditKind::Deleting);
    });
}

void TextEditor::undo() {
    stepHistory(RefusedEdit::Undoing, &TextDocument::undo);
}

void TextEditor::redo() {
    stepHistory(RefusedEdit::Redoing, &TextDocument::redo);
}

void TextEditor::stepHistory(RefusedEdit::Kind kind,
                             std::optional<qsizetype> (TextDocument::*step)()) {
    if (readOnly_)
        return;
    runUserEdit(kind, [&](EditTransaction&) {
        if (const std::optional<qsizetype> caret = (document_->*step)()) {
            setCursorPosition(*caret);
            Q_EMIT visibilityRequest(cursor_.position());
        }
    });
}

void TextEditor::cut() {
    if (readOnly_ || !hasSelection())
        return;
    runUserEdit(RefusedEdit::Cutting, [&](EditTransaction& edit) {
        // The copy first, the clipboard once the cut stands: a cut refused leaves both as they
        // were.
        QString text = selectedText();
        edit.setBytes(text.size());
        editAt(selectionStart(), selectionEnd() - selectionStart(), QString(), EditKind::Other);
        edit.whenKept([text = std::move(text)] { QGuiApplication::clipboard()->setText(text); });
    });
}

void TextEditor::copy() {
    if (!hasSelection())
        return;
    runUserEdit(RefusedEdit::Copying, [&](EditTransaction& edit) {
        edit.setBytes(selectionEnd() - selectionStart());
        // The copy is made before the clipboard is touched: one that fails leaves it as it was.
        QGuiApplication::clipboard()->setText(selectedText());
    });
}

void TextEditor::paste() {
    if (readOnly_)
        return;
    runUserEdit(RefusedEdit::Pasting, [&](EditTransaction& edit) {
        QClipboard* clipboard = QGuiApplication::clipboard();
        const QMimeData* data = clipboard->mimeData();
        if (!data || !data->hasText())
            return;
        const qsizetype removed = selectionEnd() - selectionStart();
        // The clipboard's string goes into the document as it is; an empty document takes its
        // storage, so a paste of megabytes is not copied again.
        QString text = mimeText(edit, *data, clipboard->ownsClipboard(), removed);
        if (!text.isEmpty())
            editAt(selectionStart(), removed, std::move(text), EditKind::Other);
    });
}

void TextEditor::pasteSelectionAt(qsizetype position) {
    QClipboard* clipboard = QGuiApplication::clipboard();
    if (readOnly_ || !clipboard->supportsSelection())
        return;
    runUserEdit(RefusedEdit::PastingSelection, [&](EditTransaction& edit) {
        const QMimeData* data = clipboard->mimeData(QClipboard::Selection);
        if (!data || !data->hasText())
            return;
        QString text = mimeText(edit, *data, clipboard->ownsSelection(), 0);
        if (text.isEmpty())
            return;
        setCursorPosition(position);
        editAt(cursor_.position(), 0, std::move(text), EditKind::Other);
    });
}

bool TextEditor::drop(const QMimeData& data, bool fromHere, qsizetype position, TextRange moved) {
    if (readOnly_)
        return false;
    return runUserEdit(RefusedEdit::Dropping, [&](EditTransaction& edit) {
        // Text from this process is there, its size known before any copy; another program's
        // is fetched by Qt. A move is one undo step: the text leaves its place and arrives at
        // the drop.
        QString text = mimeText(edit, data, fromHere, 0);
        EditBlock block(*document_);
        qsizetype at = position;
        if (moved.length() > 0) {
            document_->replace(moved.start, moved.length(), QStringView(), EditKind::Other);
            if (at >= moved.end)
                at -= moved.length();
        }
        editAt(at, 0, std::move(text), EditKind::Other);
    });
}

QString TextEditor::mimeText(EditTransaction& edit, const QMimeData& data, bool owned,
                             qsizetype removed) {
    if (const auto* primary = dynamic_cast<const PrimarySelection*>(&data)) {
        // An editor's selection offered as the primary selection is copied when read: its
        // length is known before.
        edit.ensureMemory(primary->length(), removed, false);
    }
    // Data this process offers hands out its string without a copy; another program's is
    // fetched and converted by Qt, whose size is known only once it is here.
    QString text = data.text();
    edit.setBytes(text.size());
    if (owned || !text.isEmpty())
        edit.ensureMemory(text.size(), removed, true, text);
    return text;
}

// --- Input methods ------------------------------------------------------------------------

bool TextEditor::inputMethod(const QInputMethodEvent& event) {
    if (readOnly_)
        return false;
    return runUserEdit(RefusedEdit::Composing, [&](EditTransaction&) {
        const bool gettingInput = !event.commitString().isEmpty() ||
                                  event.preeditString() != preedit_.text ||
                                  event.replacementLength() > 0;
        EditBlock block(*document_);
        if (gettingInput && hasSelection())
            deleteSelection();
        if (!event.commitString().isEmpty() || event.replacementLength() > 0) {
            // The replacement range is counted from the caret; the commit string takes its
            // place.
            const qsizetype caret = cursor_.position();
            const qsizetype start = clampedPosition(*document_, caret + event.replacementStart());
            const qsizetype end =
                clampedPosition(*document_, start + std::max(0, event.replacementLength()));
            const bool typed = event.replacementLength() == 0 && !hasSelection();
            if (end > start || !event.commitString().isEmpty())
                editAt(start, end - start, event.commitString(),
                       typed ? EditKind::Typing : EditKind::Other);
        }
        block.end();

        Preedit preedit;
        preedit.text = event.preeditString();
        preedit.position = cursor_.position();
        preedit.cursor = int(preedit.text.size());
        const qsizetype windowStart = inputWindow(*document_, cursor_.position()).start;
        for (const QInputMethodEvent::Attribute& attribute : event.attributes()) {
            if (attribute.type == QInputMethodEvent::Cursor) {
                preedit.cursor = attribute.start;
                preedit.cursorShown = attribute.length != 0;
            } else if (attribute.type == QInputMethodEvent::TextFormat) {
                const QTextCharFormat format = attribute.value.value<QTextFormat>().toCharFormat();
                if (format.isValid() && attribute.length > 0)
                    preedit.formats.append({attribute.start, attribute.length, format});
            } else if (attribute.type == QInputMethodEvent::Selection) {
                setSelection(windowStart + attribute.start,
                             windowStart + attribute.start + attribute.length);
                preedit.position = cursor_.position();
            }
        }
        if (!preedit.text.isEmpty() && preedit.formats.isEmpty()) {
            // The composed text is underlined until it is committed.
            QTextCharFormat underlined;
            underlined.setFontUnderline(true);
            preedit.formats.append({0, int(preedit.text.size()), underlined});
        }
        setPreedit(std::move(preedit));
    });
}

void TextEditor::setPreedit(Preedit preedit) {
    const Preedit before = std::exchange(preedit_, std::move(preedit));
    Q_EMIT preeditChanged(before);
}

std::optional<QVariant> TextEditor::inputMethodQuery(Qt::InputMethodQuery query) const {
    // The text around the caret is its line, or a window of it in a very long line; positions
    // are counted from the start of that text.
    const qsizetype caret = cursor_.position();
    const TextRange window = inputWindow(*document_, caret);
    switch (query) {
        case Qt::ImReadOnly:
            return readOnly_;
        case Qt::ImCursorPosition:
            return int(caret - window.start);
        case Qt::ImAnchorPosition:
            return int(std::clamp(cursor_.anchor(), window.start, window.end) - window.start);
        case Qt::ImAbsolutePosition:
            return qlonglong(caret);
        case Qt::ImSurroundingText:
            return document_->mid(window.start, window.length());
        case Qt::ImTextBeforeCursor:
            return document_->mid(window.start, caret - window.start);
        case Qt::ImTextAfterCursor:
            return document_->mid(caret, window.end - caret);
        case Qt::ImCurrentSelection:
            return selectedText();
        case Qt::ImMaximumTextLength:
            return QVariant();  // no limit
        default:
            return std::nullopt;
    }
}

}  // namespace korvane::text
