#include "runtime/text_box.h"

#include <QKeyEvent>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTextCursor>
#include <QTextDocument>
#include <algorithm>
#include <cstring>
#include <limits>

#include "runtime/errors.h"
#include "runtime/key_ascii.h"
#include "runtime/line_edit.h"
#include "runtime/plain_text_edit.h"

namespace korvane::runtime {
namespace {

QWidget* MakeEditor(const ControlDescription& description, QWidget* form) {
    const QString first = QString::fromUtf8(description.caption);
    if (!description.multiLine) {
        auto* line = new LineEdit(form);
        line->setMaxLength(std::numeric_limits<int>::max());  // no 32767-character cut
        line->setText(first);
        line->setReadOnly(description.readOnly);
        return line;
    }
    auto* lines = new PlainTextEdit(form);
    lines->setLineWrapMode(QPlainTextEdit::NoWrap);
    lines->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    lines->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    lines->setTabChangesFocus(true);
    lines->setPlainText(first);
    if (description.readOnly) {
        lines->setReadOnly(true);
        lines->setUndoRedoEnabled(false);
        // Read-only, yet the user can still select with the keyboard and copy.
        lines->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
        lines->setFocusPolicy(Qt::StrongFocus);
    }
    return lines;
}

// How many code units the two texts share at their start, compared four at a time.
qsizetype CommonPrefix(QStringView first, QStringView second) {
    const char16_t* a = first.utf16();
    const char16_t* b = second.utf16();
    const qsizetype n = std::min(first.size(), second.size());
    qsizetype i = 0;
    for (; i + 4 <= n; i += 4) {
        if (std::memcmp(a + i, b + i, 4 * sizeof(char16_t)) != 0)
            break;
    }
    while (i < n && a[i] == b[i])
        ++i;
    return i;
}

// How many code units the two texts share at their end, compared four at a time.
qsizetype CommonSuffix(QStringView first, QStringView second) {
    const char16_t* a = first.utf16() + first.size();
    const char16_t* b = second.utf16() + second.size();
    const qsizetype n = std::min(first.size(), second.size());
    qsizetype i = 0;
    for (; i + 4 <= n; i += 4) {
        if (std::memcmp(a - i - 4, b - i - 4, 4 * sizeof(char16_t)) != 0)
            break;
    }
    while (i < n && a[-i - 1] == b[-i - 1])
        ++i;
    return i;
}

// What the document does not keep as written: a carriage return, a paragraph separator and the
// two frame marks become line breaks on insertion. One pass with no early exit, so that it
// runs at the speed of the memory.
struct InsertionRewrites {
    bool carriageReturn = false;
    bool any = false;
};

InsertionRewrites RewritesOf(QStringView text) {
    bool carriageReturn = false;
    bool other = false;
    for (const QChar c : text) {
        const char16_t u = c.unicode();
        carriageReturn |= u == u'\r';
        other |= (u == QChar::ParagraphSeparator) | ((u | 1) == 0xFDD1);
    }
    return {carriageReturn, carriageReturn || other};
}

// Rewrites only the span where the wanted text differs from the current one, in one edit, so
// the caret and the scroll position stay put and long texts are not laid out again. A text with
// a carriage return is written whole: "\r\n" becomes one line break, so no span of it can be
// matched against the current text.
void ReplaceChangedSpan(QPlainTextEdit* edit, const QString& current, const QString& wanted,
                        bool writeWhole) {
    qsizetype prefix = 0;
    qsizetype suffix = 0;
    if (!writeWhole) {
        prefix = CommonPrefix(current, wanted);
        if (prefix > 0 && current[prefix - 1].isHighSurrogate())
            --prefix;
        suffix =
            CommonSuffix(QStringView(current).sliced(prefix), QStringView(wanted).sliced(prefix));
        if (suffix > 0 && current[current.size() - suffix].isLowSurrogate())
            --suffix;
    }
    QTextCursor cursor(edit->document());
    cursor.beginEditBlock();
    cursor.setPosition(int(prefix));
    cursor.setPosition(int(current.size() - suffix), QTextCursor::KeepAnchor);
    cursor.insertText(wanted.mid(prefix, wanted.size() - prefix - suffix));
    cursor.endEditBlock();
}

}  // namespace

TextBox::TextBox(const ControlDescription& description, QWidget* form)
    : Control(description, MakeEditor(description, form)) {
    line_ = qobject_cast<QLineEdit*>(widget());
    lines_ = qobject_cast<QPlainTextEdit*>(widget());
    widget()->installEventFilter(this);
    if (line_) {
        connect(line_, &QLineEdit::textChanged, this, [this] { Deliver(Change); });
    } else {
        connect(lines_, &QPlainTextEdit::textChanged, this, [this] { Deliver(Change); });
        connect(lines_->document(), &QTextDocument::contentsChange, this,
                [this] { ++documentChanges_; });
    }
}

QString TextBox::text() const {
    if (line_)
        return line_->text();
    // The raw text keeps every character as typed (a no-break space stays one); only the
    // document's block separators are read back as line feeds.
    QString raw = lines_->document()->toRawText();
    char16_t* units = reinterpret_cast<char16_t*>(raw.data());
    for (qsizetype i = 0; i < raw.size(); ++i) {  // no jump per unit, so it is vectorized
        units[i] = units[i] == QChar::ParagraphSeparator ? u'\n' : units[i];
    }
    return raw;
}

QString TextBox::CurrentText() const {
    if (lines_ && writtenAt_ != 0 && writtenAt_ == documentChanges_)
        return written_;
    return text();
}

void TextBox::setText(const QString& text) {
    const QString current = CurrentText();
    if (current == text)
        return;
    WriteRaisingEvents([&] {
        if (line_) {
            line_->setText(text);
            return;
        }
        // The edit below changes the document once. Noted before it, since the Change event
        // it raises may write the box again.
        const InsertionRewrites rewrites = RewritesOf(text);
        written_ = rewrites.any ? QString() : text;
        writtenAt_ = rewrites.any ? 0 : documentChanges_ + 1;
        ReplaceChangedSpan(lines_, current, text, rewrites.carriageReturn);
    });
}

void TextBox::setSelLength(int length) {
    if (length < 0)
        throw InvalidPropertyValueError();
    if (line_) {
        const int start =
            line_->hasSelectedText() ? line_->selectionStart() : line_->cursorPosition();
        line_->setSelection(start, std::min(length, int(line_->text().size()) - start));
        return;
    }
    QTextCursor cursor = lines_->textCursor();
    const int start = cursor.selectionStart();
    const int end = lines_->document()->characterCount() - 1;  // less the closing separator
    cursor.setPosition(start);
    cursor.setPosition(std::min(start + length, end), QTextCursor::KeepAnchor);
    lines_->setTextCursor(cursor);
}

void TextBox::InsertTyped(QChar character) {
    if (line_) {
        line_->insert(QString(character));
    } else {
        lines_->insertPlainText(QString(character));
    }
}

bool TextBox::eventFilter(QObject* watched, QEvent* event) noexcept {
    if (watched != widget() || event->type() != QEvent::KeyPress || !KeyPress)
        return false;
    const std::optional<qint16> typed = KeyAsciiOf(*static_cast<QKeyEvent*>(event));
    if (!typed)
        return false;
    qint16 keyAscii = *typed;
    Deliver([&] { KeyPress(keyAscii); });
    if (keyAscii == *typed)
        return false;  // the box takes the key as usual
    if (keyAscii != 0)
        InsertTyped(QChar(char16_t(keyAscii)));
    return true;
}

}  // namespace korvane::runtime
