// SPDX-FileCopyrightText: 2026 Korvane contributors
//
// SPDX-License-Identifier: MIT

#pragma once

#include <QString>

namespace korvane::text {

// The text as an editable view stores it: every kind of line break ("\r\n" as one, a lone '\r',
// the paragraph separator U+2029 and the frame marks U+FDD0 and U+FDD1 that rich-text documents
// use) becomes a line feed, every other character stays. A text with none of them comes back
// as it is, sharing its storage.
QString withLineFeeds(QString text);

}  // namespace korvane::text
