// The relative path a shortcut file stores, over any bytes: empty, or a
// path on the shortcut's drive with every "." and ".." folded away.

#include <algorithm>
#include <cstdint>
#include <string>
#include <string_view>

#include "environment/ApplicationDiscovery.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string bytes(reinterpret_cast<const char*>(data), size);
    const std::string path = vh::RelativeTargetFromShortcutBytes(bytes, "C:\\Users\\user\\Start Menu\\Programs");
    if (path.empty()) return 0;
    if (path.rfind("C:\\", 0) != 0) __builtin_trap();
    const std::string_view rest = std::string_view(path).substr(3);
    size_t start = 0;
    while (start <= rest.size() && !rest.empty()) {
        const size_t end = std::min(rest.find('\\', start), rest.size());
        const std::string_view part = rest.substr(start, end - start);
        if (part.empty() || part == "." || part == "..") __builtin_trap();
        start = end + 1;
    }
    return 0;
}
