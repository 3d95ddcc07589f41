#pragma once

#include <stdexcept>
#include <string>

namespace fw {

// Every failure the framework reports is a RuntimeException. Handlers of the game let them
// travel back to the framework, which hands them to the unhandled-exception routine, so no
// exception ever unwinds through Qt.
class RuntimeException : public std::runtime_error {
public:
    explicit RuntimeException(const std::string& message) : std::runtime_error(message) {}
    // The class name as the framework reports it ("NilObjectException", ...).
    virtual const char* ClassName() const noexcept { return "RuntimeException"; }
};

// A nil reference was used where an object was needed.
class NilObjectException : public RuntimeException {
public:
    explicit NilObjectException(const std::string& message = "nil object used")
        : RuntimeException(message) {}
    const char* ClassName() const noexcept override { return "NilObjectException"; }
};

// An array index lay outside the array's fixed bounds.
class OutOfBoundsException : public RuntimeException {
public:
    explicit OutOfBoundsException(const std::string& message = "index out of bounds")
        : RuntimeException(message) {}
    const char* ClassName() const noexcept override { return "OutOfBoundsException"; }
};

// An object was cast to a class it does not belong to.
class IllegalCastException : public RuntimeException {
public:
    explicit IllegalCastException(const std::string& message = "illegal cast")
        : RuntimeException(message) {}
    const char* ClassName() const noexcept override { return "IllegalCastException"; }
};

// A user-interface object was touched from a thread other than the user-interface thread.
class ThreadAccessingUIException : public RuntimeException {
public:
    explicit ThreadAccessingUIException(
        const std::string& message = "user interface accessed from another thread")
        : RuntimeException(message) {}
    const char* ClassName() const noexcept override { return "ThreadAccessingUIException"; }
};

}  // namespace fw
