#include "environment/Trace.h"

#include <utility>

#include "common/Exceptions.h"

namespace vh {

namespace {
TraceSink& Sink() {
    static TraceSink sink;
    return sink;
}

void Deliver(char kind, std::string_view text) noexcept {
    try {
        if (Sink()) Sink()(kind, text);
    } catch (...) {
        // Tracing never fails its caller.
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

void SetTraceSinkForTesting(TraceSink sink) {
    Sink() = std::move(sink);
}

}  // namespace vh
