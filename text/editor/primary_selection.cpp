// SPDX-FileCopyrightText: 2026 Korvane contributors
//
// SPDX-License-Identifier: MIT

#include "text/editor/primary_selection.h"

namespace korvane::text {
namespace {

const QString& plainText() {
    static const QString type = QStringLiteral("text/plain");
    return type;
}

}  // namespace

PrimarySelection::PrimarySelection(std::function<QString()> read, std::function<qsizetype()> length)
    : read_(std::move(read)), length_(std::move(length)) {}

void PrimarySelection::keep() {
    if (kept_)
        return;
    try {
        kept_ = read_();
    } catch (...) {
        kept_ = QString();  // no memory for the copy: the selection offers nothing any more
    }
}

QStringList PrimarySelection::formats() const {
    return {plainText()};
}

bool PrimarySelection::hasFormat(const QString& mimeType) const {
    return mimeType == plainText();
}

QVariant PrimarySelection::retrieveData(const QString& mimeType, QMetaType) const {
    // Qt converts the text to the encoding asked for, UTF-8 for a byte array.
    if (mimeType != plainText())
        return QVariant();
    // Qt asks from its own event handling, when a program pastes: a copy that cannot be made
    // gives that program nothing.
    try {
        return kept_ ? *kept_ : read_();
    } catch (...) {
        return QVariant();
    }
}

}  // namespace korvane::text
