// SPDX-FileCopyrightText: 2026 Korvane contributors
//
// SPDX-License-Identifier: MIT

#pragma once

#include <QPlainTextEdit>

namespace korvane::runtime {

// A QPlainTextEdit that pastes and drops text straight into its document. Qt's own paste first
// builds a second document from the text and then copies that over, which for a text of
// megabytes costs as much again in time and memory; the text that arrives is the same, and it
// is still one step to undo. Its frame is drawn as a line edit's, which shows when it has focus.
class PlainTextEdit final : public QPlainTextEdit {
public:
    using QPlainTextEdit::QPlainTextEdit;

protected:
    bool event(QEvent* event) override;
    void insertFromMimeData(const QMimeData* source) noexcept override;
};

}  // namespace korvane::runtime
