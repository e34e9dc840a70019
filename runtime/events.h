#pragma once

#include <functional>
#include <utility>

#include "cipher/run_time_error.h"

namespace korvane::runtime {

using EventHandler = std::function<void()>;

// Runs an event handler at a point where Qt called us. Nothing escapes it: an error the handler
// does not catch ends it and goes to the report of unhandled errors, or, when the event was
// raised by a property write inside another handler, back to that write, which re-raises it in
// the handler that wrote. After the program has ended no handler runs.
void Deliver(const EventHandler& handler) noexcept;

namespace detail {
void BeginWrite() noexcept;
void EndWrite();  // re-raises the first error a handler raised during the write
}  // namespace detail

// Performs a Qt write that may raise events synchronously; their handlers run before it returns.
template <typename Write>
void WriteRaisingEvents(Write&& write) {
    detail::BeginWrite();
    std::forward<Write>(write)();
    detail::EndWrite();
}

// Runs one statement whose run-time error is to be skipped, execution going on with the next.
template <typename Statement>
void ResumeNext(Statement&& statement) noexcept {
    try {
        std::forward<Statement>(statement)();
    } catch (...) {  // every error of the statement is skipped, whatever its kind
    }
}

// Program state: running from the moment a form is loaded until End.
void MarkProgramRunning() noexcept;
void MarkProgramEnded() noexcept;
bool ProgramEnded() noexcept;

}  // namespace korvane::runtime
