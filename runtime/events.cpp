#include "runtime/events.h"

#include <exception>
#include <new>
#include <optional>

#include "runtime/error_report.h"
#include "runtime/errors.h"

namespace korvane::runtime {
namespace {

// All of this lives on the one user-interface thread.
int writeDepth = 0;
std::optional<RunTimeError> errorFromWrite;
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

void Deliver(const EventHandler& handler) noexcept {
    if (!handler || programEnded)
        return;
    try {
        handler();
    } catch (...) {
        const RunTimeError error = CurrentExceptionAsRunTimeError();
        if (writeDepth > 0) {
            // Raised by a property write: the error belongs to the handler that wrote.
            if (!errorFromWrite)
                errorFromWrite = error;
        } else {
            ReportUnhandledError(error);
        }
    }
}

namespace detail {

void BeginWrite() noexcept {
    ++writeDepth;
}

void EndWrite() {
    --writeDepth;
    if (errorFromWrite) {
        const RunTimeError error = *errorFromWrite;
        errorFromWrite.reset();
        throw error;
    }
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
