#pragma once
// Web addresses handed to the shell. Only web pages are ever opened: text
// that names a program, a file or another scheme is refused rather than run.

#include <string>
#include <string_view>

namespace vh {

// The address with "https://" put before it when it has no scheme ("host/path"
// as the dialogs pass it). Raises vh::Exception for an empty address, one with
// control characters or blanks, or a scheme other than http and https.
std::string WebAddressForShell(std::string_view address);

}  // namespace vh
