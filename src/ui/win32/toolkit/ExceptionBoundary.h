#pragma once
// The application's exception handler: window procedures and other Win32
// callbacks catch everything and hand it here, so no exception crosses them.
// Without an installed handler the text goes to the trace.

#include <exception>
#include <functional>

namespace vh::win32 {

using ApplicationExceptionHandler = std::function<void(const std::exception&)>;

// Installs the handler (an empty one restores the trace default); returns the
// previous one.
ApplicationExceptionHandler SetApplicationExceptionHandler(ApplicationExceptionHandler handler);

// Hands the exception being handled (inside a catch block) to the handler.
// Never throws: a handler that throws itself is traced, and so is an
// exception raised while the handler is still running.
void HandleCurrentException(const char* where) noexcept;

}  // namespace vh::win32
