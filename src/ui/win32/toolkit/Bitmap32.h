#pragma once
// A 32-bit top-down device-independent bitmap selected into its own memory
// DC: the off-screen buffers, background copies and alpha bitmaps of the
// skinned controls. Pixels are 0xAARRGGBB words, row after row.

#include <windows.h>

#include <cstdint>
#include <span>

#include "platform/win32/Handles.h"
#include "ui/Geometry.h"

namespace vh::win32 {

class TBitmap32 {
public:
    TBitmap32() = default;
    // Raises vh::Exception when the bitmap cannot be created.
    TBitmap32(int width, int height);
    TBitmap32(const TBitmap32&) = delete;
    TBitmap32& operator=(const TBitmap32&) = delete;
    ~TBitmap32();

    // Resizes to width x height (0 x 0 frees the pixels); contents undefined.
    void SetSize(int width, int height);
    // Frees the pixels and the DC (0 x 0); SetSize makes them again.
    void Free() noexcept;
    IntSize Size() const noexcept { return size_; }
    bool Empty() const noexcept { return size_.width <= 0 || size_.height <= 0; }

    HDC Dc() const noexcept { return dc_.Get(); }
    HBITMAP Handle() const noexcept { return bitmap_.Get(); }
    std::span<std::uint32_t> Pixels() noexcept;
    std::span<const std::uint32_t> Pixels() const noexcept;
    std::uint32_t Pixel(int x, int y) const;  // asserts the point lies inside

    void Fill(std::uint32_t argb) noexcept;

private:
    IntSize size_;
    UniqueMemoryDc dc_;
    UniqueBitmap bitmap_;  // declared after the DC: freed first, once deselected
    HGDIOBJ originalBitmap_ = nullptr;
    std::uint32_t* bits_ = nullptr;
};

// COLORREF (0x00BBGGRR) as an opaque 0xAARRGGBB pixel and back.
std::uint32_t PixelFromColorRef(COLORREF color) noexcept;
COLORREF ColorRefFromPixel(std::uint32_t pixel) noexcept;

}  // namespace vh::win32
