#include "ui/win32/toolkit/Bitmap32.h"

#include <algorithm>
#include <string>

#include "common/Exceptions.h"

namespace vh::win32 {

TBitmap32::TBitmap32(int width, int height) {
    SetSize(width, height);
}

TBitmap32::~TBitmap32() {
    if (dc_ && originalBitmap_) SelectObject(dc_.Get(), originalBitmap_);
}

void TBitmap32::SetSize(int width, int height) {
    VH_ASSERT(width >= 0 && height >= 0);
    if (!dc_) {
        dc_.Reset(CreateCompatibleDC(nullptr));
        if (!dc_) throw Exception("CreateCompatibleDC failed");
    }
    if (bitmap_) {
        SelectObject(dc_.Get(), originalBitmap_);
        originalBitmap_ = nullptr;
        bitmap_.Reset();
        bits_ = nullptr;
    }
    size_ = {};
    if (width == 0 || height == 0) return;
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(info.bmiHeader);
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;  // top-down
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    UniqueBitmap bitmap(CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
    if (!bitmap || !bits)
        throw Exception("CreateDIBSection failed for a " + std::to_string(width) + " x " + std::to_string(height) +
                        " bitmap");
    bitmap_ = std::move(bitmap);
    originalBitmap_ = SelectObject(dc_.Get(), bitmap_.Get());
    bits_ = static_cast<std::uint32_t*>(bits);
    size_ = {width, height};
}

void TBitmap32::Free() noexcept {
    if (dc_ && originalBitmap_) SelectObject(dc_.Get(), originalBitmap_);
    originalBitmap_ = nullptr;
    bitmap_.Reset();
    dc_.Reset();
    bits_ = nullptr;
    size_ = {};
}

std::span<std::uint32_t> TBitmap32::Pixels() noexcept {
    GdiFlush();
    return {bits_, static_cast<std::size_t>(size_.width) * static_cast<std::size_t>(size_.height)};
}

std::span<const std::uint32_t> TBitmap32::Pixels() const noexcept {
    GdiFlush();
    return {bits_, static_cast<std::size_t>(size_.width) * static_cast<std::size_t>(size_.height)};
}

std::uint32_t TBitmap32::Pixel(int x, int y) const {
    VH_ASSERT(x >= 0 && y >= 0 && x < size_.width && y < size_.height);
    return Pixels()[static_cast<std::size_t>(y) * static_cast<std::size_t>(size_.width) + static_cast<std::size_t>(x)];
}

void TBitmap32::Fill(std::uint32_t argb) noexcept {
    auto pixels = Pixels();
    std::fill(pixels.begin(), pixels.end(), argb);
}

std::uint32_t PixelFromColorRef(COLORREF color) noexcept {
    return 0xFF000000u | (std::uint32_t{GetRValue(color)} << 16) | (std::uint32_t{GetGValue(color)} << 8) |
           GetBValue(color);
}

COLORREF ColorRefFromPixel(std::uint32_t pixel) noexcept {
    return RGB((pixel >> 16) & 0xFF, (pixel >> 8) & 0xFF, pixel & 0xFF);
}

}  // namespace vh::win32
