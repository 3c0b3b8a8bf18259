#include "ui/ColorBoxItems.h"

namespace vh {
namespace {

constexpr std::uint32_t Bgr(std::uint32_t r, std::uint32_t g, std::uint32_t b) {
    return r | (g << 8) | (b << 16);
}

}  // namespace

const std::vector<TColorBoxItem>& ColorBoxItems() {
    static const std::vector<TColorBoxItem> items{
        {kCustomColorItem, 0},
        {"Black", Bgr(0, 0, 0)},
        {"Maroon", Bgr(128, 0, 0)},
        {"Green", Bgr(0, 128, 0)},
        {"Olive", Bgr(128, 128, 0)},
        {"Navy", Bgr(0, 0, 128)},
        {"Purple", Bgr(128, 0, 128)},
        {"Teal", Bgr(0, 128, 128)},
        {"Gray", Bgr(128, 128, 128)},
        {"Silver", Bgr(192, 192, 192)},
        {"Red", Bgr(255, 0, 0)},
        {"Lime", Bgr(0, 255, 0)},
        {"Yellow", Bgr(255, 255, 0)},
        {"Blue", Bgr(0, 0, 255)},
        {"Fuchsia", Bgr(255, 0, 255)},
        {"Aqua", Bgr(0, 255, 255)},
        {"White", Bgr(255, 255, 255)},
        {"Money Green", Bgr(192, 220, 192)},
        {"Sky Blue", Bgr(166, 202, 240)},
        {"Cream", Bgr(255, 251, 240)},
        {"Medium Gray", Bgr(160, 160, 164)},
    };
    return items;
}

int ColorBoxIndexOf(std::uint32_t color) {
    const auto& items = ColorBoxItems();
    for (std::size_t i = 1; i < items.size(); ++i)
        if (items[i].Color == color) return static_cast<int>(i);
    return 0;
}

}  // namespace vh
