#pragma once
// The program keeps no log by default: event handlers and the exception
// handlers that swallow errors hand their texts here. A debug build passes
// them to the debugger; on request (the /trace switch) they also go to a
// trace file of bounded size. Tests may install a sink to see them.

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

namespace vh {

void Trace(std::string_view text) noexcept;           // event messages ("tmrScanTimer started")
void TraceException(std::string_view text) noexcept;  // texts of swallowed exceptions

// "ErrorClassName: <class>; <where>: <message>", the form swallowed errors take.
std::string ErrorTraceText(const std::exception& e, std::string_view where);

// Receives each traced line ("E text" or "X text"); the debugger output of
// debug builds. Empty: none.
using TraceWriter = std::function<void(std::string_view line)>;
void SetTraceDebuggerWriter(TraceWriter writer);

// Appends each traced line, with its universal time, to the UTF-8 file. When
// a line would take the file past `maxBytes`, the file becomes "<path>.old"
// (replacing the previous one) and a new one starts, so the two together
// never hold more than twice that. Lines the file refuses are dropped.
void StartTraceFile(const std::string& path, std::uintmax_t maxBytes);
void StopTraceFile() noexcept;

inline constexpr std::uintmax_t kTraceFileMaxBytes = 1024 * 1024;
inline constexpr char kTraceFileName[] = "Vornhalt.trace.log";

// Whether a command line asks for the trace file: one of its blank-separated
// words is "/trace" or "-trace", ignoring case.
bool TraceRequested(std::string_view commandLine) noexcept;

// For tests only: receives every traced text (kind 'E' event, 'X' exception).
using TraceSink = std::function<void(char kind, std::string_view text)>;
void SetTraceSinkForTesting(TraceSink sink);

}  // namespace vh
