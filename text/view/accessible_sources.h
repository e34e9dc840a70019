// SPDX-FileCopyrightText: 2026 Korvane contributors
//
// SPDX-License-Identifier: MIT

#pragma once

#include <memory>

#include "text/accessible/accessible_text_source.h"

class QLineEdit;

namespace korvane::text {

class TextView;

// What a screen reader reads and does of a text view: its document, caret and selection, the
// boxes of its characters, and edits made as the user's, each one step to undo.
std::unique_ptr<AccessibleTextSource> makeTextViewSource(TextView& view);

// What a screen reader reads and does of a single-line field: the text it shows (bullets in a
// password field), its caret and selection, the boxes of its characters placed from its caret,
// and edits made through the field, so that it changes as for typing.
std::unique_ptr<AccessibleTextSource> makeLineEditSource(QLineEdit& line);

}  // namespace korvane::text
