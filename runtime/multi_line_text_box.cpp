// SPDX-FileCopyrightText: 2026 Korvane contributors
//
// SPDX-License-Identifier: MIT

#include "runtime/multi_line_text_box.h"

#include <QTextCursor>
#include <QTextDocument>
#include <algorithm>

#include "runtime/events.h"
#include "runtime/form.h"
#include "runtime/plain_text_edit.h"
#include "text/text_diff.h"

namespace korvane::runtime {

using text::ChangedSpan;
using text::FindChangedSpan;
namespace {

QPlainTextEdit* MakeLines(const ControlDescription& description, QWidget* form) {
    auto* lines = new PlainTextEdit(form);
    lines->setLineWrapMode(QPlainTextEdit::NoWrap);
    lines->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    lines->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    lines->setTabChangesFocus(true);
    lines->setPlainText(QString::fromUtf8(description.caption));
    return lines;
}

}  // namespace

MultiLineTextBox::MultiLineTextBox(Form& form, const ControlDescription& description)
    : TextBox(form, description, MakeLines(description, &form)),
      lines_(static_cast<QPlainTextEdit*>(widget())) {
    connect(lines_, &QPlainTextEdit::textChanged, this, &TextBox::Change);
    connect(lines_->document(), &QTextDocument::contentsChange, this, &MultiLineTextBox::Edited);
}

QString MultiLineTextBox::text() const {
    return mid(0, length());
}

qsizetype MultiLineTextBox::length() const {
    return lines_->document()->characterCount() - 1;  // less the closing separator
}

QString MultiLineTextBox::mid(qsizetype position, qsizetype count) const {
    // The raw text keeps every character as typed (a no-break space stays one); only the
    // document's block separators are read back as line feeds. The whole text comes faster,
    // and with less memory, from the document's own copy than through a selection.
    QString text;
    if (position == 0 && count >= length()) {
        text = lines_->document()->toRawText();
    } else {
        QTextCursor span(lines_->document());
        span.setPosition(int(position));
        span.setPosition(int(position + count), QTextCursor::KeepAnchor);
        text = span.selectedText();
    }
    char16_t* units = reinterpret_cast<char16_t*>(text.data());
    for (qsizetype i = 0; i < text.size(); ++i) {  // no jump per unit, so it is vectorized
        units[i] = units[i] == QChar::ParagraphSeparator ? u'\n' : units[i];
    }
    return text;
}

void MultiLineTextBox::setText(const QString& text) {
    const QString current = this->text();
    // "\r\n" becomes one line break, so no span of such a text matches the document: it is
    // written whole.
    const ChangedSpan span = text.contains(u'\r') ? ChangedSpan{} : FindChangedSpan(current, text);
    if (span.prefix + span.suffix == current.size() && current.size() == text.size())
        return;  // the text the box already holds
    WriteRaisingEvents([&] {
        QTextCursor cursor(lines_->document());
        cursor.beginEditBlock();
        cursor.setPosition(int(span.prefix));
        cursor.setPosition(int(current.size() - span.suffix), QTextCursor::KeepAnchor);
        cursor.insertText(text.mid(span.prefix, text.size() - span.prefix - span.suffix));
        cursor.endEditBlock();
    });
}

void MultiLineTextBox::setSelLength(int length) {
    if (length < 0)
        throw InvalidPropertyValueError();
    QTextCursor cursor = lines_->textCursor();
    const int start = cursor.selectionStart();
    const int end = lines_->document()->characterCount() - 1;  // less the closing separator
    cursor.setPosition(start);
    cursor.setPosition(std::min(start + length, end), QTextCursor::KeepAnchor);
    lines_->setTextCursor(cursor);
}

void MultiLineTextBox::InsertTyped(QChar character) {
    lines_->insertPlainText(QString(character));
}

}  // namespace korvane::runtime
