// SPDX-FileCopyrightText: 2026 Korvane contributors
//
// SPDX-License-Identifier: MIT

#pragma once

#include <QPoint>
#include <QRect>
#include <QString>

#include "text/model/text_reader.h"

namespace korvane::text {

// What the accessible text interface reads and does of one text widget, in UTF-16 positions of
// the text the widget shows. Each kind of widget has its own; the interface knows nothing else
// of the widget.
class AccessibleTextSource {
public:
    virtual ~AccessibleTextSource() = default;

    // The text as shown, to read and cut into segments.
    virtual const TextReader& text() const = 0;
    virtual bool isReadOnly() const = 0;
    virtual bool isMultiLine() const = 0;
    virtual bool isPassword() const { return false; }

    virtual qsizetype cursorPosition() const = 0;
    virtual TextRange selection() const = 0;
    // Selects from `anchor` to `caret`, where the caret goes, and shows the caret.
    virtual void select(qsizetype anchor, qsizetype caret) = 0;
    // Replaces [start, end) by `text` as the user's typing would: one step to undo, the caret
    // after it. A read-only widget refuses it.
    virtual void edit(qsizetype start, qsizetype end, const QString& text) = 0;
    // Makes `text` the whole text as the user's edit, rewriting only what differs.
    virtual void setValue(const QString& text) = 0;

    // The box of the character at `position`, and the position under a point, in global
    // coordinates; -1 where no character is.
    virtual QRect characterRect(qsizetype position) const = 0;
    virtual qsizetype positionAt(const QPoint& global) const = 0;
    // Brings [start, end) into view.
    virtual void scrollTo(qsizetype start, qsizetype end) = 0;
    // The text attributes of the widget's one run of text (accessibleTextAttributes()).
    virtual QString attributes() const = 0;
};

}  // namespace korvane::text
