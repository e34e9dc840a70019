// SPDX-FileCopyrightText: 2026 Korvane contributors
//
// SPDX-License-Identifier: MIT

#pragma once

#include <optional>
#include <utility>

#include "runtime/run_time_error.h"

namespace korvane::window {

// The engine gives no value where its checked arithmetic overflowed. In this window that is the
// run-time error Overflow (6): it ends the handler that met it, which writes nothing more, and
// goes to the runtime's report.
template <typename T>
T orOverflow(std::optional<T> value) {
    if (!value)
        throw runtime::OverflowError();
    return *std::move(value);
}

}  // namespace korvane::window
