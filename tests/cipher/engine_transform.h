// SPDX-FileCopyrightText: 2026 Korvane contributors
//
// SPDX-License-Identifier: MIT

#pragma once

#include <QString>
#include <QStringView>
#include <optional>
#include <stdexcept>
#include <utility>

#include "cipher/letter_counts.h"
#include "cipher/transform.h"

namespace korvane::testing {

// The engine's transform, or nothing when it overflows, to set beside the reference model's,
// from every way into the engine: into a new text, and in place in a copy that still
// shares its storage with the caller's text, which must not change; and both again counting
// the text's letters as they read it, in a text of their own and in place in one the caller
// gives up. They must agree, and the letters counted must be those LetterCounts counts.
inline std::optional<QString> engineTransform(QStringView text, qint16 rotation,
                                              qint16 multiplier) {
    const QString original = text.toString();
    QString shared = original;
    const std::optional<QString> copied = cipher::TransformText(text, rotation, multiplier);
    const std::optional<QString> inPlace =
        cipher::TransformText(std::move(shared), rotation, multiplier);
    if (copied != inPlace || original != text)
        throw std::logic_error("the in-place transform differs from the copying one");
    cipher::LetterCounts letters;
    letters.add(text);
    cipher::LetterCounts countedCopying;
    cipher::LetterCounts countedInPlace;
    QString own = text.toString();
    own.detach();
    const std::optional<QString> copiedCounting =
        cipher::TransformText(text, rotation, multiplier, &countedCopying);
    const std::optional<QString> inPlaceCounting =
        cipher::TransformText(std::move(own), rotation, multiplier, &countedInPlace);
    if (copiedCounting != copied || inPlaceCounting != copied)
        throw std::logic_error(
            "the transform that counts letters differs from the one that does not");
    if (countedCopying != letters || countedInPlace != letters)
        throw std::logic_error("the transform counted other letters than LetterCounts");
    return copied;
}

// The engine's transform through the given vector lanes, or nothing when it overflows; the same
// again counting the text's letters as it reads them, which must give the same text and the
// letters LetterCounts counts.
inline std::optional<QString> engineTransform(cipher::TransformLanes lanes, QStringView text,
                                              qint16 rotation, qint16 multiplier) {
    QString out(text.size(), Qt::Uninitialized);
    const bool whole = cipher::TransformText(lanes, text, out.data(), rotation, multiplier);
    QString counting(text.size(), Qt::Uninitialized);
    cipher::LetterCounts counted;
    const bool countingWhole =
        cipher::TransformText(lanes, text, counting.data(), rotation, multiplier, &counted);
    cipher::LetterCounts letters;
    letters.add(text);
    if (countingWhole != whole || (whole && counting != out) || counted != letters)
        throw std::logic_error("the lanes' transform that counts letters differs");
    if (!whole)
        return std::nullopt;
    return out;
}

}  // namespace korvane::testing
