// SPDX-FileCopyrightText: 2026 Korvane contributors
//
// SPDX-License-Identifier: MIT

#include "runtime/multi_line_text_box.h"

#include <algorithm>
#include <utility>

#include "runtime/events.h"
#include "runtime/form.h"
#include "text/model/line_breaks.h"
#include "text/view/text_view.h"

namespace korvane::runtime {

using text::TextView;
namespace {

TextView* makeView(const ControlDescription& description, QWidget* form) {
    auto* view = new TextView(form);
    view->setReadOnly(description.locked);
    // The program writes a locked box; nobody undoes that.
    view->document().setUndoRedoEnabled(!description.locked);
    view->setText(text::withLineFeeds(QString::fromUtf8(description.caption)));
    return view;
}

}  // namespace

MultiLineTextBox::MultiLineTextBox(Form& form, const ControlDescription& description)
    : TextBox(form, description, makeView(description, &form)),
      view_(static_cast<TextView*>(widget())) {
    connect(view_, &TextView::contentsAboutToChange, this, &MultiLineTextBox::AboutToEdit);
    connect(view_, &TextView::contentsChanged, this, &MultiLineTextBox::followChange);
    connect(view_, &TextView::extraMenuItemTriggered, this, &MultiLineTextBox::MenuItemClick);
}

void MultiLineTextBox::followChange(const text::TextChange& change) {
    ++revision_;
    Q_EMIT Edited(change.position, change.removed, change.added);
    Q_EMIT Change();
}

QString MultiLineTextBox::menuItem() const {
    return view_->extraMenuItem();
}

void MultiLineTextBox::setMenuItem(const QString& caption) {
    view_->setExtraMenuItem(caption);
}

bool MultiLineTextBox::isLocked() const {
    return view_->isReadOnly();
}

void MultiLineTextBox::setLocked(bool locked) {
    view_->setReadOnly(locked);
}

QString MultiLineTextBox::text() const {
    return view_->document().text();
}

qsizetype MultiLineTextBox::length() const {
    return view_->length();
}

QString MultiLineTextBox::mid(qsizetype position, qsizetype count) const {
    return view_->document().mid(position, count);
}

void MultiLineTextBox::setText(const QString& text) {
    // What the program writes into a locked box reads back exactly as written.
    const QString stored = isLocked() ? text : text::withLineFeeds(text);
    writeRaisingEvents([&] {
        // The text the box already holds; written with other line breaks, it is still a write.
        if (!view_->document().replaceChanged(stored) && stored.constData() != text.constData())
            Q_EMIT Change();
    });
}

void MultiLineTextBox::replaceSpan(qsizetype position, qsizetype removed, QString inserted) {
    if (removed == 0 && inserted.isEmpty())
        return;
    writeRaisingEvents(
        [&] { view_->document().replace(position, removed, std::move(inserted)); });
}

void MultiLineTextBox::overwrite(const Writer& write) {
    writeRaisingEvents([&] { view_->document().overwrite(0, view_->length(), write); });
}

qsizetype MultiLineTextBox::selStart() const {
    return view_->selectionStart();
}

void MultiLineTextBox::setSelStart(qsizetype start) {
    if (start < 0)
        throw invalidPropertyValueError();
    view_->setCursorPosition(std::min(start, view_->length()));
}

qsizetype MultiLineTextBox::selLength() const {
    return view_->selectionEnd() - view_->selectionStart();
}

void MultiLineTextBox::setSelLength(int length) {
    if (length < 0)
        throw invalidPropertyValueError();
    const qsizetype start = view_->selectionStart();
    view_->setSelection(start, std::min<qsizetype>(start + length, view_->length()));
}

void MultiLineTextBox::insertTyped(QChar character) {
    view_->insertTyped(QString(character));  // a locked box takes nothing
}

}  // namespace korvane::runtime
