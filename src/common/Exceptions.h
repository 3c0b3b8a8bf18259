#pragma once
// The program's exception types. Failures are exceptions; handlers that must
// not fail report "ErrorClassName: " + ClassName() to the trace.

#include <cstdint>
#include <stdexcept>
#include <string>

namespace vh {

class Exception : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
    virtual const char* ClassName() const noexcept { return "Exception"; }
};

// A violated precondition: a programming error, raised rather than aborting so
// the application-wide handler can show it.
class EAssertionFailed : public Exception {
public:
    using Exception::Exception;
    const char* ClassName() const noexcept override { return "EAssertionFailed"; }
};

// A failed operating-system call: the system's error code and its message.
class EOSError : public Exception {
public:
    EOSError(std::uint32_t code, const std::string& systemMessage);
    std::uint32_t Code() const noexcept { return code_; }
    const char* ClassName() const noexcept override { return "EOSError"; }

private:
    std::uint32_t code_;
};

// The class name of any exception, for trace texts.
const char* ExceptionClassName(const std::exception& e) noexcept;

[[noreturn]] void RaiseAssertion(const char* expression, const char* file, int line);

}  // namespace vh

// Raises EAssertionFailed naming the expression, file and line.
#define VH_ASSERT(condition) ((condition) ? static_cast<void>(0) : ::vh::RaiseAssertion(#condition, __FILE__, __LINE__))
