// SPDX-FileCopyrightText: 2026 Korvane contributors
//
// SPDX-License-Identifier: MIT

#pragma once

#include <QString>
#include <QStringView>
#include <optional>

#include "cipher/transform.h"
#include "runtime/run_time_error.h"

namespace korvane::testing {

// The engine's transform, or nothing when it overflows, to set beside the reference model's.
// Any other error is not the transform's answer and goes on to fail the test.
inline std::optional<QString> EngineTransform(QStringView text, qint16 rotation,
                                              qint16 multiplier) {
    try {
        return TransformText(text, rotation, multiplier);
    } catch (const runtime::RunTimeError& error) {
        if (error == runtime::OverflowError())
            return std::nullopt;
        throw;
    }
}

}  // namespace korvane::testing
