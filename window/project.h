// SPDX-FileCopyrightText: 2026 Korvane contributors
//
// SPDX-License-Identifier: MIT

#pragma once

#include "runtime/program.h"

namespace korvane {

// The application title, version and desktop entry id, as the build defines them.
inline runtime::ProjectDescription KorvaneProject() {
    return {QStringLiteral(KORVANE_TITLE), QStringLiteral(KORVANE_VERSION),
            QStringLiteral(KORVANE_APP_ID)};
}

}  // namespace korvane
