// SPDX-FileCopyrightText: 2026 Korvane contributors
//
// SPDX-License-Identifier: MIT

#include "runtime/events.h"

#include <exception>
#include <new>

#include "runtime/error_report.h"

namespace korvane::runtime {
namespace {

// All of this lives on the one user-interface thread.
detail::WriteScope* innermostWrite = nullptr;
bool ended = false;

RunTimeError currentExceptionAsRunTimeError() noexcept {
    try {
        throw;
    } catch (const RunTimeError& error) {
        return error;
    } catch (const std::bad_alloc&) {
        return outOfMemoryError();
    } catch (...) {
        return internalError();
    }
}

}  // namespace

namespace detail {

void handleEscapedError() noexcept {
    const RunTimeError error = currentExceptionAsRunTimeError();
    if (WriteScope* write = WriteScope::current()) {
        write->keep(error);  // the error belongs to the handler that wrote
    } else {
        reportUnhandledError(error);
    }
}

WriteScope::WriteScope() noexcept : outer_(innermostWrite) {
    innermostWrite = this;
}

WriteScope::~WriteScope() {
    innermostWrite = outer_;
}

WriteScope* WriteScope::current() noexcept {
    return innermostWrite;
}

void WriteScope::keep(const RunTimeError& error) noexcept {
    if (!kept_)
        kept_ = error;
}

void WriteScope::raiseKeptError() {
    if (kept_)
        throw *kept_;
}

}  // namespace detail

void markProgramRunning() noexcept {
    ended = false;
}
void markProgramEnded() noexcept {
    ended = true;
}
bool programEnded() noexcept {
    return ended;
}

}  // namespace korvane::runtime
