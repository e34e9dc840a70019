// SPDX-FileCopyrightText: 2026 Korvane contributors
//
// SPDX-License-Identifier: MIT

#include "text/view/primary_selection.h"

namespace korvane::text {
namespace {

const QString& plainText() {
    static const QString type = QStringLiteral("text/plain");
    return type;
}

}  // namespace

PrimarySelection::PrimarySelection(std::function<QString()> read) : read_(std::move(read)) {}

void PrimarySelection::keep() {
    if (!kept_)
        kept_ = read_();
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
    return kept_ ? *kept_ : read_();
}

}  // namespace korvane::text
