// SPDX-FileCopyrightText: 2026 Korvane contributors
//
// SPDX-License-Identifier: MIT

#include "runtime/single_line_text_box.h"

#include <QLineEdit>
#include <algorithm>
#include <limits>

#include "runtime/events.h"
#include "runtime/form.h"
#include "text/view/line_edit.h"

namespace korvane::runtime {
namespace {

QLineEdit* makeLine(const ControlDescription& description, QWidget* form) {
    auto* line = new text::LineEdit(form);
    line->setMaxLength(std::numeric_limits<int>::max());  // no 32767-character cut
    line->setText(QString::fromUtf8(description.caption));
    return line;
}

}  // namespace

SingleLineTextBox::SingleLineTextBox(Form& form, const ControlDescription& description)
    : TextBox(form, description, makeLine(description, &form)),
      line_(static_cast<QLineEdit*>(widget())) {
    connect(line_, &QLineEdit::textChanged, this, &TextBox::Change);
}

QString SingleLineTextBox::text() const {
    return line_->text();
}

void SingleLineTextBox::setText(const QString& text) {
    if (line_->text() == text)
        return;
    writeRaisingEvents([&] { line_->setText(text); });
}

qsizetype SingleLineTextBox::selStart() const {
    return line_->hasSelectedText() ? line_->selectionStart() : line_->cursorPosition();
}

void SingleLineTextBox::setSelStart(qsizetype start) {
    if (start < 0)
        throw invalidPropertyValueError();
    line_->setCursorPosition(int(std::min<qsizetype>(start, line_->text().size())));
}

qsizetype SingleLineTextBox::selLength() const {
    return line_->selectedText().size();
}

void SingleLineTextBox::setSelLength(int length) {
    if (length < 0)
        throw invalidPropertyValueError();
    const int start = int(selStart());
    line_->setSelection(start, std::min(length, int(line_->text().size()) - start));
}

void SingleLineTextBox::insertTyped(QChar character) {
    line_->insert(QString(character));
}

}  // namespace korvane::runtime
