#include "ui/WebAddress.h"

#include <algorithm>

#include "common/Exceptions.h"
#include "common/StringUtils.h"

namespace vh {

std::string WebAddressForShell(std::string_view address) {
    const std::string text = Trim(address);
    const auto refuse = [&] { return Exception(std::string("'").append(address).append("' is not a web address")); };
    if (text.empty()) throw refuse();
    if (std::any_of(text.begin(), text.end(),
                    [](char c) { return static_cast<unsigned char>(c) <= 0x20 || c == 0x7F; })) {
        throw refuse();
    }
    const auto scheme = text.find("://");
    if (scheme == std::string::npos) {
        // A drive or UNC path ("C:\...", "\\server") is no host name.
        if (text.find('\\') != std::string::npos || text.find(':') == 1) throw refuse();
        return "https://" + text;
    }
    const std::string name = AsciiLowerCase(text.substr(0, scheme));
    if ((name != "http" && name != "https") || scheme + 3 == text.size()) throw refuse();
    return text;
}

}  // namespace vh
