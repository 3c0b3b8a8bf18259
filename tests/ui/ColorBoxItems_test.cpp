#include "ui/ColorBoxItems.h"

#include <gtest/gtest.h>

namespace vh {
namespace {

TEST(ColorBoxItems, NamedColoursAndTheCustomOne) {
    const auto& items = ColorBoxItems();
    ASSERT_EQ(items.size(), 21u);  // custom, 16 standard, 4 extended
    EXPECT_EQ(items[0].Name, "Custom...");
    struct Case {
        std::uint32_t color;
        const char* name;
    };
    for (const Case& c :
         {Case{0x000000, "Black"}, Case{0xFFFFFF, "White"}, Case{0x0000FF, "Red"}, Case{0xFF0000, "Blue"},
          Case{0x808000, "Teal"}, Case{0xF0CAA6, "Sky Blue"}, Case{0xA4A0A0, "Medium Gray"}}) {
        const int index = ColorBoxIndexOf(c.color);
        ASSERT_GT(index, 0) << c.name;
        EXPECT_EQ(items[static_cast<std::size_t>(index)].Name, c.name);
    }
    EXPECT_EQ(ColorBoxIndexOf(0x123456), 0);
}

}  // namespace
}  // namespace vh
