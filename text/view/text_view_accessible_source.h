// SPDX-FileCopyrightText: 2026 Korvane contributors
//
// SPDX-License-Identifier: MIT

#pragma once

#include "text/accessible/accessible_text_source.h"

namespace korvane::text {

class TextView;

// What a screen reader reads and does of a text view: its document, caret and selection, the
// boxes of its characters, and edits made as the user's, each one step to undo.
class TextViewAccessibleSource final : public AccessibleTextSource {
public:
    explicit TextViewAccessibleSource(TextView& view) : view_(view) {}

    const TextReader& text() const override;
    bool isReadOnly() const override;
    bool isMultiLine() const override { return true; }
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
    TextView& view_;
};

}  // namespace korvane::text
