#pragma once

#include <stdexcept>
#include <string>

namespace fw {

// Base of every exception the program raises on purpose; name() says which kind it is.
class RuntimeException : public std::runtime_error {
public:
    explicit RuntimeException(const std::string& message)
        : std::runtime_error(message)
    {
    }
    virtual const char* name() const noexcept { return "RuntimeException"; }
};

// A call on a nil object.
class NilObjectException : public RuntimeException {
public:
    using RuntimeException::RuntimeException;
    const char* name() const noexcept override { return "NilObjectException"; }
};

// An index that names no element.
class OutOfBoundsException : public RuntimeException {
public:
    using RuntimeException::RuntimeException;
    const char* name() const noexcept override { return "OutOfBoundsException"; }
};

// Reading or writing a file failed.
class IOException : public RuntimeException {
public:
    using RuntimeException::RuntimeException;
    const char* name() const noexcept override { return "IOException"; }
};

} // namespace fw
