#include "fw/core/Dispatch.h"

#include <cstdio>

#include "fw/core/Exceptions.h"
#include "fw/core/ProgramName.h"

namespace fw {
namespace {

ExceptionHelper gHelper = &_CallFunctionWithExceptionHandling;
int gUnhandledCount = 0;
bool gUnhandledShouldRaise = false;

}  // namespace

std::exception_ptr _CallFunctionWithExceptionHandling(void (*function)(void*), void* argument) {
    try {
        function(argument);
    } catch (const RuntimeException&) {
        return std::current_exception();
    }
    return nullptr;
}

void _RuntimeSetExceptionHelper(ExceptionHelper helper) {
    gHelper = helper != nullptr ? helper : &_CallFunctionWithExceptionHandling;
}

void _UnhandledException(const std::exception_ptr& exception) {
    ++gUnhandledCount;
    try {
        if (exception) {
            std::rethrow_exception(exception);
        }
        std::fprintf(stderr, "%s: unhandled exception (unknown)\n", ProgramName());
    } catch (const RuntimeException& e) {
        std::fprintf(stderr, "%s: unhandled %s: %s\n", ProgramName(), e.ClassName(), e.what());
    } catch (const std::exception& e) {
        std::fprintf(stderr, "%s: unhandled exception: %s\n", ProgramName(), e.what());
    } catch (...) {
        std::fprintf(stderr, "%s: unhandled exception of an unknown kind\n", ProgramName());
    }
    if (gUnhandledShouldRaise) {
        gUnhandledShouldRaise = false;
        throw RuntimeException("the unhandled-exception routine failed");
    }
}

namespace detail {

void DispatchErased(void (*function)(void*), void* argument) noexcept {
    std::exception_ptr escaped;
    try {
        escaped = gHelper(function, argument);
    } catch (...) {
        // Not a RuntimeException: the helper raised it again, and it still may not reach Qt.
        escaped = std::current_exception();
    }
    if (!escaped) {
        return;
    }
    try {
        _UnhandledException(escaped);
    } catch (...) {
        std::fprintf(stderr, "%s: the unhandled-exception routine failed\n", ProgramName());
    }
}

int UnhandledExceptionCount() noexcept {
    return gUnhandledCount;
}

}  // namespace detail

namespace testing {

int UnhandledExceptionCount() {
    return detail::UnhandledExceptionCount();
}

void ArmUnhandledExceptionFailure() {
    gUnhandledShouldRaise = true;
}

}  // namespace testing
}  // namespace fw
