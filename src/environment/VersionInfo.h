#pragma once
// The version resource of an executable, as far as discovery shows it, and
// the caption of a discovered application.

#include <string>
#include <vector>

#include "platform/IDiscoveryPlatform.h"

namespace vh {

class TVersionInfo {
public:
    std::string FileVersion;
    std::string FileDescription;
    std::string LegalCopyright;
    std::string Comments;
    std::string CompanyName;
    std::string InternalName;
    std::string LegalTrademarks;
    std::string OriginalFilename;
    std::string ProductName;
    std::string ProductVersion;
    std::vector<std::string> Keys;  // "key=value" lines read, then the language's name
    std::string Language;           // "040904B0": language, then code page
    std::string FileName;

    // Fills the ten strings from FileName; all stay empty without a resource.
    void Load(IVersionResources& versions);
};

// FileDescription, else ProductName, else InternalName (each trimmed), else
// the file name without its extension.
std::string GetAppCaption(IVersionResources& versions, const std::string& path);

}  // namespace vh
