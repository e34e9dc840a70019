// SPDX-FileCopyrightText: 2026 Korvane contributors
//
// SPDX-License-Identifier: MIT

#pragma once

#include <QObject>
#include <optional>
#include <type_traits>
#include <utility>

#include "runtime/run_time_error.h"

namespace korvane::runtime {

// Program state: running from the moment a form is loaded until End. After End no handler runs.
void markProgramRunning() noexcept;
void markProgramEnded() noexcept;
bool programEnded() noexcept;

namespace detail {

// Called inside a catch block with the error a handler let escape: sends it back to the
// property write that raised the handler's event, or else to the report of unhandled errors.
void handleEscapedError() noexcept;

// A property write that may raise events; handlers run before it returns. An error one of them
// lets escape is kept here and raised again in the handler that wrote. Scopes nest, and a
// write that throws on its own still leaves its scope.
class WriteScope {
public:
    WriteScope() noexcept;
    ~WriteScope();
    WriteScope(const WriteScope&) = delete;
    WriteScope& operator=(const WriteScope&) = delete;

    // The innermost write under way, if any.
    static WriteScope* current() noexcept;
    void keep(const RunTimeError& error) noexcept;
    // Raises the first error a handler let escape during the write.
    void raiseKeptError();

private:
    WriteScope* outer_;
    std::optional<RunTimeError> kept_;
};

}  // namespace detail

// Runs an event handler at a point where Qt called us; this is where every error a handler
// lets escape is caught, so that no exception crosses a Qt frame.
template <typename Handler>
void deliver(Handler&& handler) noexcept {
    if (programEnded())
        return;
    try {
        std::forward<Handler>(handler)();
    } catch (...) {
        detail::handleEscapedError();
    }
}

// Connects a control's event signal to any callable. It runs through deliver(), so what it raises
// is reported and never reaches Qt.
template <typename Sender, typename SignalClass, typename Handler, typename... Args>
QMetaObject::Connection connectHandler(Sender& sender, void (SignalClass::*signal)(Args...),
                                       const QObject* context, Handler handler) {
    static_assert(std::is_base_of_v<SignalClass, Sender>, "the signal is not the sender's");
    return QObject::connect(&sender, signal, context, [handler = std::move(handler)](Args... args) {
        deliver([&] { handler(std::forward<Args>(args)...); });
    });
}

// Connects a control's event signal to a handler, a member function of the receiver, which is
// run as any other handler is.
template <typename Sender, typename SignalClass, typename Receiver, typename HandlerClass,
          typename... Args>
QMetaObject::Connection connectHandler(Sender& sender, void (SignalClass::*signal)(Args...),
                                       Receiver& receiver, void (HandlerClass::*handler)(Args...)) {
    static_assert(std::is_base_of_v<HandlerClass, Receiver>, "the handler is not the receiver's");
    return connectHandler(sender, signal, &receiver, [&receiver, handler](Args... args) {
        (receiver.*handler)(std::forward<Args>(args)...);
    });
}

// Performs a Qt write that may raise events synchronously; their handlers run before it returns,
// and the first error one of them raised is raised again here.
template <typename Write>
void writeRaisingEvents(Write&& write) {
    detail::WriteScope scope;
    std::forward<Write>(write)();
    scope.raiseKeptError();
}

// Runs one statement whose run-time error is to be skipped, execution going on with the next.
template <typename Statement>
void resumeNext(Statement&& statement) noexcept {
    try {
        std::forward<Statement>(statement)();
    } catch (...) {  // every error of the statement is skipped, whatever its kind
    }
}

}  // namespace korvane::runtime
