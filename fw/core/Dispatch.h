#pragma once

#include <exception>
#include <utility>

namespace fw {

class RuntimeException;

// The runtime's exception-handling call function: calls function(argument) and returns null when
// it returns normally, or the exception when a RuntimeException escaped from it. An exception
// of any other class is raised again to the caller.
using ExceptionHelper = std::exception_ptr (*)(void (*function)(void*), void* argument);

std::exception_ptr _CallFunctionWithExceptionHandling(void (*function)(void*), void* argument);
// Installs the call function through which the runtime runs every event handler.
void _RuntimeSetExceptionHelper(ExceptionHelper helper);

// The unhandled-exception routine: reports the exception on standard error and returns.
void _UnhandledException(const std::exception_ptr& exception);

namespace detail {
void DispatchErased(void (*function)(void*), void* argument) noexcept;
// How often the unhandled-exception routine has been called in this process.
int UnhandledExceptionCount() noexcept;
}  // namespace detail

// Runs one event handler for Qt. Whatever escapes the handler is caught here and handed to the
// unhandled-exception routine once, so no exception ever unwinds into Qt and the event loop
// goes on.
template <class F>
void Dispatch(F&& handler) noexcept {
    auto* callable = &handler;
    detail::DispatchErased([](void* argument) { (*static_cast<decltype(callable)>(argument))(); },
                           callable);
}

namespace testing {

// How often the unhandled-exception routine has been called in this process.
int UnhandledExceptionCount();
// Makes the next call of the unhandled-exception routine raise instead of returning, once.
void ArmUnhandledExceptionFailure();

}  // namespace testing
}  // namespace fw
