// SPDX-FileCopyrightText: 2026 Korvane contributors
//
// SPDX-License-Identifier: MIT

#include "runtime/multi_line_text_box.h"

#include <algorithm>

#include "runtime/events.h"
#include "runtime/form.h"
#include "text/line_breaks.h"
#include "text/text_diff.h"
#include "text/text_view.h"

namespace korvane::runtime {

using text::ChangedSpan;
using text::findChangedSpan;
using text::TextDocument;
using text::TextView;
namespace {

TextView* makeView(const ControlDescription& description, QWidget* form) {
    auto* view = new TextView(form);
    view->setReadOnly(false);
    view->setText(text::withLineFeeds(QString::fromUtf8(description.caption)));
    return view;
}

}  // namespace

MultiLineTextBox::MultiLineTextBox(Form& form, const ControlDescription& description)
    : TextBox(form, description, makeView(description, &form)),
      view_(static_cast<TextView*>(widget())) {
    TextDocument* document = &view_->document();
    connect(document, &TextDocument::contentsAboutToChange, this, &MultiLineTextBox::AboutToEdit);
    // Change follows the edit once the view has moved its caret with the text.
    connect(document, &TextDocument::contentsChanged, this,
            [this](qsizetype position, qsizetype removed, qsizetype added) {
                Q_EMIT Edited(position, removed, added);
                Q_EMIT Change();
            });
}

QString MultiLineTextBox::text() const {
    return view_->text();
}

qsizetype MultiLineTextBox::length() const {
    return view_->length();
}

QString MultiLineTextBox::mid(qsizetype position, qsizetype count) const {
    return view_->document().mid(position, count);
}

void MultiLineTextBox::setText(const QString& text) {
    const QString stored = text::withLineFeeds(text);
    const QString& current = view_->text();
    const ChangedSpan span = findChangedSpan(current, stored);
    const qsizetype removed = current.size() - span.prefix - span.suffix;
    const qsizetype inserted = stored.size() - span.prefix - span.suffix;
    if (removed == 0 && inserted == 0) {
        // The text the box already holds; written with other line breaks, it is still a write.
        if (stored.constData() != text.constData())
            writeRaisingEvents([&] { Q_EMIT Change(); });
        return;
    }
    writeRaisingEvents([&] {
        view_->document().replace(span.prefix, removed,
                                  QStringView(stored).sliced(span.prefix, inserted));
    });
}

void MultiLineTextBox::setSelLength(int length) {
    if (length < 0)
        throw invalidPropertyValueError();
    const qsizetype start = view_->selectionStart();
    view_->setSelection(start, std::min<qsizetype>(start + length, view_->length()));
}

void MultiLineTextBox::insertTyped(QChar character) {
    view_->insertTyped(QString(character));
}

}  // namespace korvane::runtime
