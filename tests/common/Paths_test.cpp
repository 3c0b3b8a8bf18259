#include "common/Paths.h"

#include <gtest/gtest.h>

#include <fstream>

namespace vh {
namespace {

TEST(Paths, NonAsciiNamesReachTheFileSystemIntact) {
    const std::string name = "vornhalt-paths-M\xC3\xBChle-\xE6\x97\xA5.txt";  // Mühle, 日
    const auto path = std::filesystem::temp_directory_path() / PathFromUtf8(name);
    {
        std::ofstream out(path);
        ASSERT_TRUE(out.good());
        out << "x";
    }
    bool found = false;
    for (const auto& entry : std::filesystem::directory_iterator(std::filesystem::temp_directory_path()))
        if (PathToUtf8(entry.path().filename()) == name) found = true;
    std::filesystem::remove(path);
    EXPECT_TRUE(found);
}

}  // namespace
}  // namespace vh
