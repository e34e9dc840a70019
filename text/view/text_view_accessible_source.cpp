// SPDX-FileCopyrightText: 2026 Korvane contributors
//
// SPDX-License-Identifier: MIT

#include "text/accessible/text_attributes.h"
#include "text/view/accessible_sources.h"
#include "text/view/text_view.h"

namespace korvane::text {
namespace {

class TextViewSource final : public AccessibleTextSource {
public:
    explicit TextViewSource(TextView& view) : view_(view) {}

    const TextReader& text() const override { return editor().document(); }
    bool isReadOnly() const override { return editor().isReadOnly(); }
    bool isMultiLine() const override { return true; }
    qsizetype cursorPosition() const override { return editor().cursorPosition(); }
    TextRange selection() const override {
        return {editor().selectionStart(), editor().selectionEnd()};
    }

    void select(qsizetype anchor, qsizetype caret) override {
        editor().setSelection(anchor, caret);
        view_.ensureVisible(editor().cursorPosition());
    }

    // Asked from Qt's accessibility bridge: refused whole, and told, when there is no memory.
    void edit(qsizetype start, qsizetype end, const QString& text) override {
        if (editor().isReadOnly())
            return;
        editor().runUserEdit(RefusedEdit::Writing, [&](EditTransaction&) {
            editor().setSelection(start, end);
            editor().insertText(text);
        });
    }

    void setValue(const QString& text) override {
        if (editor().isReadOnly())
            return;
        // Only the span that differs is rewritten, as one step to undo; the caret goes after
        // it.
        editor().runUserEdit(RefusedEdit::Writing, [&](EditTransaction&) {
            if (const std::optional<TextRange> written = editor().document().replaceChanged(text))
                editor().setCursorPosition(written->end);
        });
    }

    QRect characterRect(qsizetype position) const override {
        const QRect rect = view_.characterRect(position);
        return QRect(view_.viewport()->mapToGlobal(rect.topLeft()), rect.size());
    }

    qsizetype positionAt(const QPoint& global) const override {
        const QPoint local = view_.viewport()->mapFromGlobal(global);
        return view_.viewport()->rect().contains(local) ? view_.positionAt(local) : -1;
    }

    void scrollTo(qsizetype start, qsizetype end) override {
        view_.ensureVisible(end);
        view_.ensureVisible(start);
    }

    QString attributes() const override { return accessibleTextAttributes(view_); }

private:
    TextEditor& editor() const { return view_.editor(); }

    TextView& view_;
};

}  // namespace

std::unique_ptr<AccessibleTextSource> makeTextViewSource(TextView& view) {
    return std::make_unique<TextViewSource>(view);
}

}  // namespace korvane::text
