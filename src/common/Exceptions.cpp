#include "common/Exceptions.h"

#include <string_view>

namespace vh {

EOSError::EOSError(std::uint32_t code, const std::string& systemMessage)
    : Exception("System Error.  Code: " + std::to_string(code) + ".\n" + systemMessage), code_(code) {}

const char* ExceptionClassName(const std::exception& e) noexcept {
    if (auto* own = dynamic_cast<const Exception*>(&e)) return own->ClassName();
    if (dynamic_cast<const std::bad_alloc*>(&e)) return "EOutOfMemory";
    return "Exception";
}

void RaiseAssertion(const char* expression, const char* file, int line) {
    // Keep the path from the source root on: absolute build paths say nothing.
    std::string_view path(file);
    if (auto pos = path.rfind("src/"); pos != std::string_view::npos) path.remove_prefix(pos + 4);
    throw EAssertionFailed("Assertion failed: " + std::string(expression) + " (" + std::string(path) + ", line " +
                           std::to_string(line) + ")");
}

}  // namespace vh
