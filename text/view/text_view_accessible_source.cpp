// SPDX-FileCopyrightText: 2026 Korvane contributors
//
// SPDX-License-Identifier: MIT

#include "text/view/text_view_accessible_source.h"

#include "text/accessible/text_attributes.h"
#include "text/view/text_view.h"

namespace korvane::text {

const TextReader& TextViewAccessibleSource::text() const {
    return view_.document();
}

bool TextViewAccessibleSource::isReadOnly() const {
    return view_.isReadOnly();
}

qsizetype TextViewAccessibleSource::cursorPosition() const {
    return view_.cursorPosition();
}

TextRange TextViewAccessibleSource::selection() const {
    return {view_.selectionStart(), view_.selectionEnd()};
}

void TextViewAccessibleSource::select(qsizetype anchor, qsizetype caret) {
    view_.setSelection(anchor, caret);
    view_.ensureVisible(view_.cursorPosition());
}

void TextViewAccessibleSource::edit(qsizetype start, qsizetype end, const QString& text) {
    if (view_.isReadOnly())
        return;
    // Asked from Qt's accessibility bridge: refused whole, and told, when there is no memory.
    view_.runUserEdit(RefusedEdit::Writing, [&] {
        view_.setSelection(start, end);
        view_.insertText(text);
    });
}

void TextViewAccessibleSource::setValue(const QString& text) {
    if (view_.isReadOnly())
        return;
    // Only the span that differs is rewritten, as one step to undo; the caret goes after it.
    view_.runUserEdit(RefusedEdit::Writing, [&] {
        if (const std::optional<TextRange> written = view_.document().replaceChanged(text))
            view_.setCursorPosition(written->end);
    });
}

QRect TextViewAccessibleSource::characterRect(qsizetype position) const {
    const QRect rect = view_.characterRect(position);
    return QRect(view_.viewport()->mapToGlobal(rect.topLeft()), rect.size());
}

qsizetype TextViewAccessibleSource::positionAt(const QPoint& global) const {
    const QPoint local = view_.viewport()->mapFromGlobal(global);
    if (!view_.viewport()->rect().contains(local))
        return -1;
    return view_.positionAt(local);
}

void TextViewAccessibleSource::scrollTo(qsizetype start, qsizetype end) {
    view_.ensureVisible(end);
    view_.ensureVisible(start);
}

QString TextViewAccessibleSource::attributes() const {
    return accessibleTextAttributes(view_);
}

}  // namespace korvane::text
