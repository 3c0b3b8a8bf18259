// The folder an uninstall text names, over any text: empty, or a folder
// ending in "\" that the text itself spells out.

#include <cstdint>
#include <string>
#include <string_view>

#include "environment/ScanFolders.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    const std::string folder = vh::ExtractUninstallFolder(text);
    if (folder.empty()) return 0;
    if (folder.back() != '\\' || folder.find(":\\") == std::string::npos) __builtin_trap();
    // Only the closing "\" may be added to what the text holds.
    if (text.find(folder) == std::string_view::npos &&
        text.find(std::string_view(folder).substr(0, folder.size() - 1)) == std::string_view::npos)
        __builtin_trap();
    return 0;
}
