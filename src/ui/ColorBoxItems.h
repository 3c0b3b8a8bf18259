#pragma once
// The items of a colour box: first "Custom..." (the colour dialog's choice),
// then the sixteen standard colours and the four extended ones, each with its
// name. Colour values are Windows colour values (0x00BBGGRR), as stored.

#include <cstdint>
#include <string>
#include <vector>

namespace vh {

struct TColorBoxItem {
    std::string Name;
    std::uint32_t Color = 0;
};

inline constexpr char kCustomColorItem[] = "Custom...";

const std::vector<TColorBoxItem>& ColorBoxItems();
// The first named item with this colour; 0 ("Custom...") for any other.
int ColorBoxIndexOf(std::uint32_t color);

}  // namespace vh
