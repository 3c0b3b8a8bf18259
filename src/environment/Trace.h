#pragma once
// The program keeps no log: event handlers and the exception handlers that
// swallow errors hand their texts here, and the texts are discarded. Tests
// may install a sink to see what would have been traced.

#include <functional>
#include <string>
#include <string_view>

namespace vh {

void Trace(std::string_view text) noexcept;           // event messages ("tmrScanTimer started")
void TraceException(std::string_view text) noexcept;  // texts of swallowed exceptions

// "ErrorClassName: <class>; <where>: <message>", the form swallowed errors take.
std::string ErrorTraceText(const std::exception& e, std::string_view where);

// For tests only: receives every traced text (kind 'E' event, 'X' exception).
using TraceSink = std::function<void(char kind, std::string_view text)>;
void SetTraceSinkForTesting(TraceSink sink);

}  // namespace vh
