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
bool programEnded = false;

RunTimeError CurrentExceptionAsRunTimeError() noexcept {
    try {
        throw;
    } catch (const RunTimeError& error) {
        return error;
    } catch (const std::bad_alloc&) {
        return OutOfMemoryError();
    } catch (...) {
        return InternalError();
    }
}

}  // namespace

namespace detail {

void HandleEscapedError() noexcept {
    const RunTimeError error = CurrentExceptionAsRunTimeError();
    if (WriteScope* write = WriteScope::Current()) {
        write->Keep(error);  // the error belongs to the handler that wrote
    } else {
        ReportUnhandledError(error);
    }
}

WriteScope::WriteScope() noexcept : outer_(innermostWrite) {
    innermostWrite = this;
}

WriteScope::~WriteScope() {
    innermostWrite = outer_;
}

WriteScope* WriteScope::Current() noexcept {
    return innermostWrite;
}

void WriteScope::Keep(const RunTimeError& error) noexcept {
    if (!kept_)
        kept_ = error;
}

void WriteScope::RaiseKeptError() {
    if (kept_)
        throw *kept_;
}

}  // namespace detail

void MarkProgramRunning() noexcept {
    programEnded = false;
}
void MarkProgramEnded() noexcept {
    programEnded = true;
}
bool ProgramEnded() noexcept {
    return programEnded;
}

}  // namespace korvane::runtime
