// SPDX-FileCopyrightText: 2026 Korvane contributors
//
// SPDX-License-Identifier: MIT

#include "runtime/text_view_box.h"

#include <algorithm>
#include <utility>

#include "runtime/events.h"
#include "runtime/form.h"
#include "text/text_diff.h"
#include "text/text_view.h"

namespace korvane::runtime {

using text::ChangedSpan;
using text::findChangedSpan;
using text::TextView;
namespace {

TextView* makeView(const ControlDescription& description, QWidget* form) {
    auto* view = new TextView(form);
    view->document().setUndoRedoEnabled(false);  // the program writes it; nobody undoes that
    view->setText(QString::fromUtf8(description.caption));
    return view;
}

}  // namespace

TextViewBox::TextViewBox(Form& form, const ControlDescription& description)
    : TextBox(form, description, makeView(description, &form)),
      view_(static_cast<TextView*>(widget())) {
    connect(view_, &TextView::textChanged, this, [this] {
        ++revision_;
        Q_EMIT Change();
    });
}

QString TextViewBox::text() const {
    return view_->text();
}

qsizetype TextViewBox::length() const {
    return view_->length();
}

void TextViewBox::setText(const QString& text) {
    const QString& current = view_->text();
    const ChangedSpan span = findChangedSpan(current, text);
    const qsizetype removed = current.size() - span.prefix - span.suffix;
    const qsizetype inserted = text.size() - span.prefix - span.suffix;
    if (removed == 0 && inserted == 0)
        return;  // the text the box already holds
    writeRaisingEvents([&] {
        view_->replace(span.prefix, removed, QStringView(text).sliced(span.prefix, inserted));
    });
}

void TextViewBox::replaceSpan(qsizetype position, qsizetype removed, QString inserted) {
    if (removed == 0 && inserted.isEmpty())
        return;
    writeRaisingEvents([&] {
        if (view_->length() == 0)
            view_->setText(std::move(inserted));
        else
            view_->replace(position, removed, inserted);
    });
}

void TextViewBox::overwrite(const Writer& write) {
    writeRaisingEvents([&] { view_->document().overwrite(0, view_->length(), write); });
}

void TextViewBox::setSelLength(int length) {
    if (length < 0)
        throw invalidPropertyValueError();
    const qsizetype start = view_->selectionStart();
    view_->setSelection(start, std::min<qsizetype>(start + length, view_->length()));
}

void TextViewBox::insertTyped(QChar) {
    // Read-only: a typed character never goes in.
}

}  // namespace korvane::runtime
