// SPDX-FileCopyrightText: 2026 Korvane contributors
//
// SPDX-License-Identifier: MIT

#include "window/likely_key_feed.h"

#include "cipher/letter_counts.h"
#include "window/incremental_transform.h"
#include "window/likely_key_hint.h"

namespace korvane::window {

namespace {

// Hands the hint the `length` characters at `position` of the input box with the characters
// either side of them that its counts need, where the text has them, read as a copy of just that
// much. A span that cannot be copied for want of memory leaves the hint as it was.
void handSpan(const runtime::MultiLineTextBox& input, qsizetype position, qsizetype length,
              LikelyKeyHint& hint,
              void (LikelyKeyHint::*hand)(const cipher::SpanWithEdges&)) noexcept {
    try {
        const SpanCopy copy = copySpanWithEdges(input, position, length);
        (hint.*hand)(copy.span());
    } catch (...) {
    }
}

}  // namespace

LikelyKeyFeed::LikelyKeyFeed(runtime::MultiLineTextBox& input,
                             const IncrementalTransform& transform, LikelyKeyHint& hint,
                             QObject* parent)
    : QObject(parent), input_(input), transform_(transform), hint_(hint) {
    connect(&input_, &runtime::MultiLineTextBox::AboutToEdit, this, &LikelyKeyFeed::aboutToEdit);
    connect(&input_, &runtime::MultiLineTextBox::Edited, this,
            [this](qsizetype position, qsizetype, qsizetype added) { edited(position, added); });
    connect(&input_, &runtime::TextBox::Change, this, &LikelyKeyFeed::handAdded);
}

void LikelyKeyFeed::aboutToEdit(qsizetype position, qsizetype removed) {
    // An edit made by a handler of the last one's Change comes before that Change is heard
    // here: the span the last edit added is handed first, while it is still in the box.
    handAdded();
    handSpan(input_, position, removed, hint_, &LikelyKeyHint::textAboutToChange);
}

void LikelyKeyFeed::edited(qsizetype position, qsizetype added) {
    handAdded();
    added_ = AddedSpan{.position = position, .length = added, .revision = input_.revision()};
}

void LikelyKeyFeed::handAdded() noexcept {
    if (!added_)
        return;
    const AddedSpan added = *added_;
    added_.reset();
    const std::optional<IncrementalTransform::LettersRead>& read = transform_.lettersRead();
    if (read && read->position == added.position && read->length == added.length &&
        read->inputRevision == added.revision && added.revision == input_.revision()) {
        try {
            hint_.textChanged(added.position, added.length, read->letters);
        } catch (...) {  // out of memory for the span's copy: the hint stays as it was
        }
        return;
    }
    handSpan(input_, added.position, added.length, hint_, &LikelyKeyHint::textChanged);
}

}  // namespace korvane::window
