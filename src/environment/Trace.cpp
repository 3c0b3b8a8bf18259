#include "environment/Trace.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <optional>
#include <system_error>
#include <utility>

#include "common/Exceptions.h"
#include "common/Paths.h"
#include "common/StringUtils.h"

namespace vh {

namespace {

struct TTraceFile {
    std::filesystem::path path;
    std::uintmax_t maxBytes = 0;
};

struct TTraceOutputs {
    TraceSink sink;
    TraceWriter debugger;
    std::optional<TTraceFile> file;
};

TTraceOutputs& Outputs() {
    static TTraceOutputs outputs;
    return outputs;
}

// To the millisecond: the trace is how the steps of a start or an end are timed.
std::string UtcStamp() {
    const auto clock = std::chrono::system_clock::now();
    const std::time_t now = std::chrono::system_clock::to_time_t(clock);
    const auto millis = std::chrono::duration_cast<std::chrono::milliseconds>(clock.time_since_epoch()).count() % 1000;
    std::tm parts{};
#ifdef _WIN32
    gmtime_s(&parts, &now);
#else
    gmtime_r(&now, &parts);
#endif
    char text[32];
    std::strftime(text, sizeof text, "%Y-%m-%d %H:%M:%S", &parts);
    char fraction[8];
    std::snprintf(fraction, sizeof fraction, ".%03d", static_cast<int>(millis));
    return std::string(text) + fraction;
}

void AppendToFile(const TTraceFile& file, std::string_view line) {
    const std::string entry = UtcStamp() + " " + std::string(line) + "\n";
    std::error_code error;
    const std::uintmax_t size = std::filesystem::file_size(file.path, error);
    if (!error && size + entry.size() > file.maxBytes) {
        std::filesystem::path old = file.path;
        old += ".old";
        std::filesystem::rename(file.path, old, error);
        // A file that cannot be moved aside is started afresh instead of growing.
        if (error) std::filesystem::remove(file.path, error);
    }
    std::ofstream out(file.path, std::ios::binary | std::ios::app);
    out.write(entry.data(), static_cast<std::streamsize>(entry.size()));
}

void Deliver(char kind, std::string_view text) noexcept {
    TTraceOutputs& outputs = Outputs();
    try {
        if (outputs.sink) outputs.sink(kind, text);
    } catch (...) {
        // Tracing never fails its caller.
    }
    if (!outputs.debugger && !outputs.file) return;
    try {
        const std::string line = std::string(1, kind) + " " + std::string(text);
        if (outputs.debugger) outputs.debugger(line);
        if (outputs.file) AppendToFile(*outputs.file, line);
    } catch (...) {
    }
}

}  // namespace

void Trace(std::string_view text) noexcept {
    Deliver('E', text);
}

void TraceException(std::string_view text) noexcept {
    Deliver('X', text);
}

std::string ErrorTraceText(const std::exception& e, std::string_view where) {
    return "ErrorClassName: " + std::string(ExceptionClassName(e)) + "; " + std::string(where) + ": " + e.what();
}

void SetTraceDebuggerWriter(TraceWriter writer) {
    Outputs().debugger = std::move(writer);
}

void StartTraceFile(const std::string& path, std::uintmax_t maxBytes) {
    VH_ASSERT(!path.empty() && maxBytes > 0);
    Outputs().file = TTraceFile{PathFromUtf8(path), maxBytes};
}

bool TraceRequested(std::string_view commandLine) noexcept {
    std::size_t start = 0;
    while (start < commandLine.size()) {
        const std::size_t end = std::min(commandLine.find_first_of(" \t", start), commandLine.size());
        const std::string_view word = commandLine.substr(start, end - start);
        if (SameTextAscii(word, "/trace") || SameTextAscii(word, "-trace")) return true;
        start = end + 1;
    }
    return false;
}

void StopTraceFile() noexcept {
    Outputs().file.reset();
}

void SetTraceSinkForTesting(TraceSink sink) {
    Outputs().sink = std::move(sink);
}

}  // namespace vh
