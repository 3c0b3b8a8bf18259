#include "ui/win32/toolkit/ExceptionBoundary.h"

#include <stdexcept>
#include <utility>

#include "environment/Trace.h"

namespace vh::win32 {
namespace {

ApplicationExceptionHandler& Handler() {
    static ApplicationExceptionHandler handler;
    return handler;
}

// While the handler runs (its error window is open and dispatches messages),
// a failure inside a window procedure goes to the trace: errors must not
// stack error windows.
bool& HandlerRunning() {
    static bool running = false;
    return running;
}

void Report(const std::exception& e, const char* where) noexcept {
    try {
        if (Handler() && !HandlerRunning()) {
            // A copy survives a handler replaced meanwhile.
            const ApplicationExceptionHandler handler = Handler();
            HandlerRunning() = true;
            struct Done {
                ~Done() { HandlerRunning() = false; }
            } done;
            handler(e);
        } else {
            TraceException(ErrorTraceText(e, where));
        }
    } catch (const std::exception& nested) {
        TraceException(ErrorTraceText(nested, where));
    } catch (...) {
        TraceException(where);
    }
}

}  // namespace

ApplicationExceptionHandler SetApplicationExceptionHandler(ApplicationExceptionHandler handler) {
    return std::exchange(Handler(), std::move(handler));
}

void HandleCurrentException(const char* where) noexcept {
    try {
        throw;
    } catch (const std::exception& e) {
        Report(e, where);
    } catch (...) {
        Report(std::runtime_error("Unknown exception"), where);
    }
}

}  // namespace vh::win32
