// SPDX-FileCopyrightText: 2026 Korvane contributors
//
// SPDX-License-Identifier: MIT

#pragma once

#include <QObject>
#include <optional>

#include "runtime/multi_line_text_box.h"

namespace korvane::window {

class IncrementalTransform;
class LikelyKeyHint;

// Hands the likely-key hint every edit of the input box: the span an edit removes, while it is
// still in the box, and the letters of the span it adds, once they are in. The recompute that the
// box's Change handler runs after the edit counts the letters of the span it transforms as it
// reads it: when that span is the one the edit added, the hint is handed those counts, so that a
// paste's text is read once for both. When the recompute read some other span, or did not run
// (a number box that holds no number), the hint counts the span itself, once the box's Change
// has been handled and before anything else happens to the box.
class LikelyKeyFeed final : public QObject {
    Q_OBJECT

public:
    // Connects to the input box's events: made after the box's Change handler is connected, so
    // that it hears Change after the handler ran.
    LikelyKeyFeed(runtime::MultiLineTextBox& input, const IncrementalTransform& transform,
                  LikelyKeyHint& hint, QObject* parent);

private:
    void aboutToEdit(qsizetype position, qsizetype removed);
    void edited(qsizetype position, qsizetype added);
    // Hands the hint the span the last edit added, if it is not handed yet.
    void handAdded() noexcept;

    // An added span not handed to the hint yet, at the input's revision the edit made.
    struct AddedSpan {
        qsizetype position = 0;
        qsizetype length = 0;
        quint64 revision = 0;
    };

    runtime::MultiLineTextBox& input_;
    const IncrementalTransform& transform_;
    LikelyKeyHint& hint_;
    std::optional<AddedSpan> added_;
};

}  // namespace korvane::window
