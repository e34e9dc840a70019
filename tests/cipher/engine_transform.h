// SPDX-FileCopyrightText: 2026 Korvane contributors
//
// SPDX-License-Identifier: MIT

#pragma once

#include <QString>
#include <QStringView>
#include <optional>
#include <stdexcept>
#include <utility>

#include "cipher/transform.h"

namespace korvane::testing {

// The engine's transform, or nothing when it overflows, to set beside the reference model's,
// from both ways into the engine: into a new text, and in place in a copy that still
// shares its storage with the caller's text, which must not change. They must agree.
inline std::optional<QString> engineTransform(QStringView text, qint16 rotation,
                                              qint16 multiplier) {
    const QString original = text.toString();
    QString shared = original;
    const std::optional<QString> copied = cipher::TransformText(text, rotation, multiplier);
    const std::optional<QString> inPlace =
        cipher::TransformText(std::move(shared), rotation, multiplier);
    if (copied != inPlace || original != text)
        throw std::logic_error("the in-place transform differs from the copying one");
    return copied;
}

// The engine's transform through the given vector lanes, or nothing when it overflows.
inline std::optional<QString> engineTransform(cipher::TransformLanes lanes, QStringView text,
                                              qint16 rotation, qint16 multiplier) {
    QString out(text.size(), Qt::Uninitialized);
    if (!cipher::TransformText(lanes, text, out.data(), rotation, multiplier))
        return std::nullopt;
    return out;
}

}  // namespace korvane::testing
