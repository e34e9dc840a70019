// SPDX-FileCopyrightText: 2026 Korvane contributors
//
// SPDX-License-Identifier: MIT

#include "runtime/multi_line_text_box.h"

#include <QLocale>
#include <algorithm>
#include <new>
#include <utility>

#include "runtime/error_report.h"
#include "runtime/events.h"
#include "runtime/form.h"
#include "text/model/line_breaks.h"
#include "text/view/text_view.h"

namespace korvane::runtime {

using text::RefusedEdit;
using text::TextEditor;
using text::TextView;
namespace {

// What the report of a refused edit says below "Out of memory".
QString refusalSentence(const RefusedEdit& refused) {
    // Qt's data sizes say "1 bytes".
    const QString size = refused.bytes == 1 ? QStringLiteral("1 byte")
                                            : QLocale().formattedDataSize(
                                                  refused.bytes, 0, QLocale::DataSizeSIFormat);
    const QString text = refused.bytes < 0 ? QString() : QStringLiteral(", %1,").arg(size);
    const QString keeps = QStringLiteral("; the box keeps its text.");
    switch (refused.kind) {
        case RefusedEdit::Typing:
            return QStringLiteral("There is no memory left for what was typed") + keeps;
        case RefusedEdit::Deleting:
            return QStringLiteral("There is no memory left to keep the deleted text for undo") +
                   keeps;
        case RefusedEdit::Pasting:
            return QStringLiteral("The pasted text") + text +
                   QStringLiteral(" does not fit in memory") + keeps;
        case RefusedEdit::PastingSelection:
            return QStringLiteral("The selection pasted with the middle button") + text +
                   QStringLiteral(" does not fit in memory") + keeps;
        case RefusedEdit::Dropping:
            return QStringLiteral("The dropped text") + text +
                   QStringLiteral(" does not fit in memory") + keeps;
        case RefusedEdit::Composing:
            return QStringLiteral("The text of the input method") + text +
                   QStringLiteral(" does not fit in memory") + keeps;
        case RefusedEdit::Undoing:
            return QStringLiteral(
                "Undoing needs more memory than there is; the box keeps its "
                "text and what it can undo.");
        case RefusedEdit::Redoing:
            return QStringLiteral(
                "Redoing needs more memory than there is; the box keeps its "
                "text and what it can redo.");
        case RefusedEdit::Cutting:
            return QStringLiteral("The text to cut") + text +
                   QStringLiteral(
                       " does not fit in memory twice; the box keeps its text and "
                       "the clipboard what it held.");
        case RefusedEdit::Copying:
            return QStringLiteral("The text to copy") + text +
                   QStringLiteral(
                       " does not fit in memory twice; the clipboard keeps what it "
                       "held.");
        case RefusedEdit::Dragging:
            return QStringLiteral("The text to drag") + text +
                   QStringLiteral(" does not fit in memory twice; nothing is dragged.");
        case RefusedEdit::Writing:
            return QStringLiteral("The text written by assistive technology") + text +
                   QStringLiteral(" does not fit in memory") + keeps;
    }
    return QString();
}

TextView* makeView(const ControlDescription& description, QWidget* form) {
    auto* view = new TextView(form);
    view->editor().setReadOnly(description.locked);
    // The program writes a locked box; nobody undoes that.
    view->editor().document().setUndoRedoEnabled(!description.locked);
    view->setText(text::withLineFeeds(QString::fromUtf8(description.caption)));
    return view;
}

}  // namespace

MultiLineTextBox::MultiLineTextBox(Form& form, const ControlDescription& description)
    : TextBox(form, description, makeView(description, &form)),
      view_(static_cast<TextView*>(widget())),
      editor_(&view_->editor()) {
    connect(editor_, &TextEditor::contentsAboutToChange, this, &MultiLineTextBox::AboutToEdit);
    connect(editor_, &TextEditor::contentsChanged, this, &MultiLineTextBox::followChange);
    connect(editor_, &TextEditor::editRefused, this, &MultiLineTextBox::reportRefused);
    connect(view_, &TextView::extraMenuItemTriggered, this, &MultiLineTextBox::MenuItemClick);
    connect(view_, &TextView::extraSubmenuItemTriggered, this, &MultiLineTextBox::SubmenuItemClick);
    // A user's edit raises the box's events inside a write of its own, so that a handler that
    // runs out of memory following it has the edit refused; any other error a handler raised
    // is reported as it would be without.
    editor_->setFollowerScope([](const std::function<void()>& edit) {
        try {
            writeRaisingEvents(edit);
        } catch (const RunTimeError& error) {
            if (error == outOfMemoryError())
                throw std::bad_alloc();
            reportUnhandledError(error);
        }
    });
}

void MultiLineTextBox::reportRefused(const RefusedEdit& refused) {
    reportUnhandledError(outOfMemoryError(), refusalSentence(refused));
}

qint64 MultiLineTextBox::memoryToInsert(qsizetype added) const {
    return editor_->memoryToReplace(added, 0);
}

void MultiLineTextBox::setFollowingNeed(std::function<qint64(qsizetype)> need) {
    editor_->setFollowerNeed(std::move(need));
}

quint64 MultiLineTextBox::revision() const {
    return editor_->document().revision();
}

void MultiLineTextBox::followChange(const text::TextChange& change) {
    Q_EMIT Edited(change.position, change.removed, change.added);
    Q_EMIT Change();
}

QString MultiLineTextBox::menuItem() const {
    return view_->extraMenuItem();
}

void MultiLineTextBox::setMenuItem(const QString& caption) {
    view_->setExtraMenuItem(caption);
}

QStringList MultiLineTextBox::submenuItems() const {
    return view_->extraSubmenu();
}

void MultiLineTextBox::setSubmenu(const QString& title, const QStringList& items) {
    view_->setExtraSubmenu(title, items);
}

bool MultiLineTextBox::isLocked() const {
    return editor_->isReadOnly();
}

void MultiLineTextBox::setLocked(bool locked) {
    editor_->setReadOnly(locked);
}

QString MultiLineTextBox::text() const {
    return editor_->document().text();
}

qsizetype MultiLineTextBox::length() const {
    return editor_->document().length();
}

QString MultiLineTextBox::mid(qsizetype position, qsizetype count) const {
    return editor_->document().mid(position, count);
}

void MultiLineTextBox::read(qsizetype position, qsizetype count, QChar* out) const {
    editor_->document().buffer().copy(position, count, out);
}

void MultiLineTextBox::setText(const QString& text) {
    // What the program writes into a locked box reads back exactly as written.
    const QString stored = isLocked() ? text : text::withLineFeeds(text);
    writeRaisingEvents([&] {
        // The text the box already holds; written with other line breaks, it is still a write.
        if (!editor_->document().replaceChanged(stored) && stored.constData() != text.constData())
            Q_EMIT Change();
    });
}

void MultiLineTextBox::replaceSpan(qsizetype position, qsizetype removed, QString inserted) {
    if (removed == 0 && inserted.isEmpty())
        return;
    writeRaisingEvents(
        [&] { editor_->document().replace(position, removed, std::move(inserted)); });
}

void MultiLineTextBox::replaceAllLinedAs(QString text, const MultiLineTextBox& source) {
    writeRaisingEvents([&] {
        editor_->document().replace(0, length(), std::move(text),
                                    source.editor_->document().lines());
    });
}

void MultiLineTextBox::overwrite(const Writer& write) {
    writeRaisingEvents([&] { editor_->document().overwrite(0, length(), write); });
}

qsizetype MultiLineTextBox::selStart() const {
    return editor_->selectionStart();
}

void MultiLineTextBox::setSelStart(qsizetype start) {
    if (start < 0)
        throw invalidPropertyValueError();
    editor_->setCursorPosition(std::min(start, length()));
}

qsizetype MultiLineTextBox::selLength() const {
    return editor_->selectionEnd() - editor_->selectionStart();
}

void MultiLineTextBox::setSelLength(int length) {
    if (length < 0)
        throw invalidPropertyValueError();
    const qsizetype start = editor_->selectionStart();
    editor_->setSelection(start, std::min<qsizetype>(start + length, this->length()));
}

void MultiLineTextBox::insertTyped(QChar character) {
    editor_->insertTyped(QString(character));  // a locked box takes nothing
}

}  // namespace korvane::runtime
