#pragma once

#include "runtime/program.h"

namespace korvane {

// The application title and version, as the build defines them.
inline runtime::ProjectDescription KorvaneProject() {
    return {QStringLiteral(KORVANE_TITLE), QStringLiteral(KORVANE_VERSION)};
}

}  // namespace korvane
