#include "ui/WebAddress.h"

#include <gtest/gtest.h>

#include "common/Exceptions.h"

namespace vh {
namespace {

TEST(WebAddress, HostAndPathGetAScheme) {
    EXPECT_EQ(WebAddressForShell("www.vornhalt.app/contact"), "https://www.vornhalt.app/contact");
    EXPECT_EQ(WebAddressForShell("  example.org  "), "https://example.org");
}

TEST(WebAddress, WebSchemesPassUnchanged) {
    EXPECT_EQ(WebAddressForShell("https://www.vornhalt.app/help"), "https://www.vornhalt.app/help");
    EXPECT_EQ(WebAddressForShell("HTTP://example.org/a?b=c"), "HTTP://example.org/a?b=c");
}

TEST(WebAddress, AnythingButAWebPageIsRefused) {
    for (const char* text :
         {"", "   ", "file:///C:/Windows/notepad.exe", "C:\\Windows\\notepad.exe", "\\\\server\\share\\run.bat",
          "javascript://alert", "https://", "a b.com", "example.org/\r\nx", "c:notepad.exe"}) {
        EXPECT_THROW(WebAddressForShell(text), Exception) << text;
    }
}

}  // namespace
}  // namespace vh
