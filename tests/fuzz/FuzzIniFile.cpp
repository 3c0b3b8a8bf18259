// The INI file parser over any bytes: reads never fail on content, and a
// write keeps the lines it did not touch.

#include <cstdint>
#include <string>

#include "common/Exceptions.h"
#include "doubles/FakeEnvironmentPlatform.h"
#include "environment/IniFile.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static vh::testing::FakeEnvironmentPlatform platform;
    const std::string file = "C:\\Vornhalt.ini";
    const std::string text(reinterpret_cast<const char*>(data), size);
    platform.PutFile(file, text);
    vh::TIniFile ini(file, platform);
    for (const char* section : {"Common", "Position", "Background", "Applications"}) {
        (void)ini.ReadInteger(section, "Align", 1);
        (void)ini.ReadString(section, "Image", "");
        (void)ini.ReadSection(section);
        (void)ini.SectionExists(section);
    }
    ini.WriteInteger("Position", "Align", 2);
    if (ini.ReadInteger("Position", "Align", 1) != 2) __builtin_trap();
    ini.DeleteKey("Position", "Align");
    ini.EraseSection("Common");
    return 0;
}
