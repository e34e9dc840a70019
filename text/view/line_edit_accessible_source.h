// SPDX-FileCopyrightText: 2026 Korvane contributors
//
// SPDX-License-Identifier: MIT

#pragma once

#include "text/accessible/accessible_text_source.h"

class QLineEdit;

namespace korvane::text {

// What a screen reader reads and does of a single-line field: the text it shows (bullets in a
// password field), its caret and selection, the boxes of its characters placed from its caret,
// and edits made through the field, so that it changes as for typing.
class LineEditAccessibleSource final : public AccessibleTextSource {
public:
    explicit LineEditAccessibleSource(QLineEdit& line) : line_(line) {}

    const TextReader& text() const override;
    bool isReadOnly() const override;
    bool isMultiLine() const override { return false; }
    bool isPassword() const override;
    qsizetype cursorPosition() const override;
    TextRange selection() const override;
    void select(qsizetype anchor, qsizetype caret) override;
    void edit(qsizetype start, qsizetype end, const QString& text) override;
    void setValue(const QString& text) override;
    QRect characterRect(qsizetype position) const override;
    qsizetype positionAt(const QPoint& global) const override;
    void scrollTo(qsizetype start, qsizetype end) override;
    QString attributes() const override;

private:
    QLineEdit& line_;
    // The shown text as last read, kept so that text() can hand out a reference.
    mutable LineText shown_{QString()};
};

}  // namespace korvane::text
