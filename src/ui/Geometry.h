#pragma once
// Plain points, rectangles, sizes and colours for the ui's layout rules (no
// Windows types).

#include <cstdint>

namespace vh {

struct IntPoint {
    int x = 0;
    int y = 0;
    bool operator==(const IntPoint&) const = default;
};

struct IntSize {
    int width = 0;
    int height = 0;
    bool operator==(const IntSize&) const = default;
};

// Left/top inclusive, right/bottom exclusive, as Win32 RECTs.
struct IntRect {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;

    int Width() const noexcept { return right - left; }
    int Height() const noexcept { return bottom - top; }
    bool IsEmpty() const noexcept { return Width() <= 0 || Height() <= 0; }
    bool Contains(int x, int y) const noexcept { return x >= left && x < right && y >= top && y < bottom; }
    IntRect Offset(int dx, int dy) const noexcept { return {left + dx, top + dy, right + dx, bottom + dy}; }
    bool operator==(const IntRect&) const = default;
};

// A plain colour, as the rules name it.
struct RgbColor {
    std::uint8_t r = 0, g = 0, b = 0;
    bool operator==(const RgbColor&) const = default;
};

}  // namespace vh
