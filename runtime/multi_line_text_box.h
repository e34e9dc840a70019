// SPDX-FileCopyrightText: 2026 Korvane contributors
//
// SPDX-License-Identifier: MIT

#pragma once

#include <QStringList>
#include <functional>

#include "runtime/text_box.h"

namespace korvane::text {
class TextEditor;
class TextView;
struct TextChange;
struct RefusedEdit;
}  // namespace korvane::text

namespace korvane::runtime {

// A text box of several lines with both scroll bars and no wrapping, for texts of any size:
// editable, or locked, when the user selects and copies and only the program writes. Every kind
// of line break an editable box is given ("\r\n", '\r', U+2029) is stored as a line feed; a
// locked box keeps what the program wrote exactly. It hears every
// change of its text in one place, from its editor once the editor and its view have followed the
// change (caret, selection, lines in view), whoever made it: AboutToEdit before it, Edited and
// Change after.
class MultiLineTextBox final : public TextBox {
    Q_OBJECT

public:
    MultiLineTextBox(Form& form, const ControlDescription& description);

    bool isLocked() const;
    void setLocked(bool locked);

    QString text() const override;
    qsizetype length() const;
    // The characters from `position` on, `count` of them, read without copying the whole text.
    QString mid(qsizetype position, qsizetype count) const;
    // Copies the `count` characters from `position` on to `out`, which needs no memory.
    void read(qsizetype position, qsizetype count, QChar* out) const;
    // Rewrites only the span that differs, in one edit and one undo step, so that the caret and
    // the scroll position of someone reading the box stay put. A text that differs only in the
    // kind of its line breaks is still a write: it raises Change.
    void setText(const QString& text) override;
    // Replaces `removed` characters at `position` by `inserted`, in one write. An empty box
    // takes the inserted text's storage as its own.
    void replaceSpan(qsizetype position, qsizetype removed, QString inserted);
    // Writes `text` in place of the whole text, in one write, taking its storage, with the lines
    // of `source`: for a text whose line breaks stand where that box's do (such as its
    // transform, which keeps every character in its place), which then is not read for them.
    void replaceAllLinedAs(QString text, const MultiLineTextBox& source);
    // Writes up to `length` characters of the text from `position` into `out` and returns how
    // many it wrote, at least one.
    using Writer = std::function<qsizetype(qsizetype position, qsizetype length, QChar* out)>;
    // Rewrites the whole text in place with as many characters, which `write` gives piece by
    // piece, in one write: no second copy of the text is ever held. Change is raised only when
    // a character differs.
    void overwrite(const Writer& write);

    qsizetype selStart() const override;
    void setSelStart(qsizetype start) override;
    qsizetype selLength() const override;
    void setSelLength(int length) override;

    // Counts the changes of the text, whoever made them.
    quint64 revision() const;

    // The program's own item in the box's context menu, below the standard ones, which raises
    // MenuItemClick; no item while the caption is empty.
    QString menuItem() const;
    void setMenuItem(const QString& caption);
    // The program's own submenu in the box's context menu, below the item, whose items raise
    // SubmenuItemClick with their index; no submenu while `items` is empty.
    QStringList submenuItems() const;
    void setSubmenu(const QString& title, const QStringList& items);

    // The memory a write adding `added` characters to the box needs, the text and what the box
    // keeps with it, in bytes.
    qint64 memoryToInsert(qsizetype added) const;
    // The memory what hears the box's Change needs for an edit adding `added` characters, as the
    // program tells. A user's edit is made only when there is memory for it and for that, and
    // when nothing that follows it runs out of memory: else it is refused whole, the box keeps
    // its text and the error is reported once, with a sentence on what was refused.
    void setFollowingNeed(std::function<qint64(qsizetype added)> need);

Q_SIGNALS:
    // Raised before every change of the text, while the `removed` characters at `position`
    // can still be read with mid().
    void AboutToEdit(qsizetype position, qsizetype removed);
    // Raised for every change of the text, before Change, with where it happened: `removed`
    // characters at `position` gave way to `added` others.
    void Edited(qsizetype position, qsizetype removed, qsizetype added);
    // Raised when the user chooses the program's own item of the context menu.
    void MenuItemClick();
    // Raised when the user chooses an item of the program's own submenu: the first is 0.
    void SubmenuItemClick(int index);

protected:
    void insertTyped(QChar character) override;

private:
    void followChange(const text::TextChange& change);
    void reportRefused(const text::RefusedEdit& refused);

    text::TextView* view_;
    text::TextEditor* editor_;
};

}  // namespace korvane::runtime
