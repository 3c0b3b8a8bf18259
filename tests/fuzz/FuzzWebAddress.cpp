// The web address normaliser and the site matcher over any two texts.

#include <cstdint>
#include <string_view>

#include "model/MonitoredObjects.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view input(reinterpret_cast<const char*>(data), size);
    const std::size_t split = input.find('\n');
    const std::string_view name = input.substr(0, split);
    const std::string_view address = split == std::string_view::npos ? std::string_view() : input.substr(split + 1);
    const std::string normalized = vh::NormalizeAddress(address);
    if (normalized.size() > address.size()) __builtin_trap();
    // An address always matches an entry named by its own normal form.
    if (!normalized.empty() && !vh::WebSiteMatches(normalized, address) &&
        vh::NormalizeAddress(normalized) == normalized)
        __builtin_trap();
    (void)vh::WebSiteMatches(name, address);
    return 0;
}
