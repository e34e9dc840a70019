// SPDX-FileCopyrightText: 2026 Korvane contributors
//
// SPDX-License-Identifier: MIT

#include <QFontMetrics>
#include <QLineEdit>
#include <QTextLayout>
#include <algorithm>
#include <cmath>

#include "text/accessible/text_attributes.h"
#include "text/model/text_segmentation.h"
#include "text/view/accessible_sources.h"

namespace korvane::text {
namespace {

class LineEditSource final : public AccessibleTextSource {
public:
    explicit LineEditSource(QLineEdit& line) : line_(line) {}

    const TextReader& text() const override {
        shown_ = LineText(line_.displayText());
        return shown_;
    }
    bool isReadOnly() const override { return line_.isReadOnly(); }
    bool isMultiLine() const override { return false; }
    bool isPassword() const override { return line_.echoMode() != QLineEdit::Normal; }
    qsizetype cursorPosition() const override { return line_.cursorPosition(); }
    TextRange selection() const override {
        if (!line_.hasSelectedText())
            return {};
        return {line_.selectionStart(), line_.selectionEnd()};
    }
    void select(qsizetype anchor, qsizetype caret) override;
    void edit(qsizetype start, qsizetype end, const QString& text) override;
    void setValue(const QString& text) override { edit(0, line_.text().size(), text); }
    QRect characterRect(qsizetype position) const override;
    qsizetype positionAt(const QPoint& global) const override;
    void scrollTo(qsizetype start, qsizetype end) override {
        // The line edit scrolls to show its caret: show the end first, then the start.
        line_.setCursorPosition(int(end));
        line_.setCursorPosition(int(start));
    }
    QString attributes() const override {
        return accessibleTextAttributes(line_, line_.alignment());
    }

private:
    QLineEdit& line_;
    // The shown text as last read, kept so that text() can hand out a reference.
    mutable LineText shown_{QString()};
};

}  // namespace

void LineEditSource::select(qsizetype anchor, qsizetype caret) {
    // The line edit scrolls to show its caret.
    if (anchor == caret)
        line_.setCursorPosition(int(caret));
    else
        line_.setSelection(int(anchor), int(caret - anchor));
}

void LineEditSource::edit(qsizetype start, qsizetype end, const QString& text) {
    if (line_.isReadOnly())
        return;
    // Through QLineEdit::insert, which validates the result and emits textEdited and
    // textChanged as typing does.
    line_.setSelection(int(start), int(end - start));
    line_.insert(text);
}

// The caret sits in the middle of the line edit's cursor rectangle; the other positions are
// placed from it by a layout of the shown text like the one the line edit draws, which takes
// its scrolling into account without reaching into its internals.
QRect LineEditSource::characterRect(qsizetype position) const {
    const LineText& shown = static_cast<const LineText&>(text());
    if (position < 0 || position >= shown.length())
        return {};
    const TextRange character = segmentAt(shown, position, TextBoundary::Character);
    QTextLayout layout(shown.text(), line_.font());
    QTextOption option;
    option.setFlags(QTextOption::IncludeTrailingSpaces);
    option.setTextDirection(line_.layoutDirection());
    layout.setTextOption(option);
    layout.beginLayout();
    QTextLine textLine = layout.createLine();
    layout.endLayout();
    const QRect caret = line_.inputMethodQuery(Qt::ImCursorRectangle).toRect();
    const qreal caretX = (caret.left() + caret.right() + 1) / 2.0;
    const qreal from = textLine.cursorToX(int(character.start));
    const qreal to = textLine.cursorToX(int(character.end));
    const qreal left = caretX + std::min(from, to) - textLine.cursorToX(line_.cursorPosition());
    const QFontMetrics metrics(line_.font());
    const QRect rect(qRound(left), caret.top(), std::max(1, qRound(std::abs(to - from))),
                     metrics.height());
    return rect.translated(line_.mapToGlobal(QPoint(0, 0)));
}

// The character under the point, or -1 where there is none.
qsizetype LineEditSource::positionAt(const QPoint& global) const {
    const QPoint local = line_.mapFromGlobal(global);
    if (!line_.rect().contains(local))
        return -1;
    const int caret = line_.cursorPositionAt(local);  // the nearest gap between characters
    for (const qsizetype position : {qsizetype(caret), qsizetype(caret) - 1}) {
        const QRect rect = characterRect(position);
        if (global.x() >= rect.left() && global.x() <= rect.right())
            return position;
    }
    return -1;
}

std::unique_ptr<AccessibleTextSource> makeLineEditSource(QLineEdit& line) {
    return std::make_unique<LineEditSource>(line);
}

}  // namespace korvane::text
