// SPDX-FileCopyrightText: 2026 Korvane contributors
//
// SPDX-License-Identifier: MIT

#pragma once

#include <functional>

#include "runtime/text_box.h"

namespace korvane::text {
class TextView;
}

namespace korvane::runtime {

// A read-only text box of several lines for texts of any size: the user selects and copies,
// the program writes. Both scroll bars are always shown and lines do not wrap.
class TextViewBox final : public TextBox {
    Q_OBJECT

public:
    TextViewBox(Form& form, const ControlDescription& description);

    QString text() const override;
    qsizetype length() const;
    // Rewrites only the span that differs, so that the caret and the scroll position of
    // someone reading the box stay put.
    void setText(const QString& text) override;
    // Replaces `removed` characters at `position` by `inserted`, in one write. An empty box
    // takes the inserted text's storage as its own.
    void replaceSpan(qsizetype position, qsizetype removed, QString inserted);
    // Writes up to `length` characters of the text from `position` into `out` and returns how
    // many it wrote, at least one.
    using Writer = std::function<qsizetype(qsizetype position, qsizetype length, QChar* out)>;
    // Rewrites the whole text in place with as many characters, which `write` gives piece by
    // piece, in one write: no second copy of the text is ever held. Change is raised only when
    // a character differs.
    void overwrite(const Writer& write);
    void setSelLength(int length) override;

    // Counts the changes of the text, whoever made them.
    quint64 revision() const { return revision_; }

protected:
    void insertTyped(QChar character) override;

private:
    text::TextView* view_;
    quint64 revision_ = 0;
};

}  // namespace korvane::runtime
