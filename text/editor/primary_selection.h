// SPDX-FileCopyrightText: 2026 Korvane contributors
//
// SPDX-License-Identifier: MIT

#pragma once

#include <QMimeData>
#include <QString>
#include <functional>
#include <optional>

namespace korvane::text {

// The selected text a view offers as the primary selection of X11 and Wayland, which the
// middle button pastes. The text is read only when something asks for it, so that making or
// extending a selection, even of all of a text of megabytes, copies nothing. Before the
// selection goes or its text changes, the view has it keep the text it then reads.
class PrimarySelection final : public QMimeData {
public:
    // `read` gives the text, `length` its length without reading it.
    PrimarySelection(std::function<QString()> read, std::function<qsizetype()> length);

    // Reads the text now and keeps it, instead of asking the view again; without memory for it,
    // keeps an empty text.
    void keep();
    // The length of the text, known before it is read.
    qsizetype length() const { return kept_ ? kept_->size() : length_(); }

    QStringList formats() const override;
    bool hasFormat(const QString& mimeType) const override;

protected:
    QVariant retrieveData(const QString& mimeType, QMetaType type) const override;

private:
    std::function<QString()> read_;
    std::function<qsizetype()> length_;
    std::optional<QString> kept_;
};

}  // namespace korvane::text
