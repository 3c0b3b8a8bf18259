#pragma once
// A picture: an optional decoded graphic (32-bit straight-alpha pixels with
// what the alpha rules need to know of its origin), owned by value. Skins and
// button pictures are pictures; assigning copies.

#include <windows.h>

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "ui/Geometry.h"
#include "ui/win32/toolkit/Bitmap32.h"

namespace vh::win32 {

struct TGraphic {
    IntSize size;
    std::vector<std::uint32_t> pixels;  // 0xAARRGGBB, straight alpha, rows top-down
    bool png = false;                   // decoded from a PNG file
    bool transparency = false;          // has an alpha channel or a transparent colour
};

class TPicture {
public:
    TPicture() = default;
    TPicture(const TPicture& other) : graphic_(other.graphic_) {}
    TPicture& operator=(const TPicture& other);
    ~TPicture();

    bool Empty() const noexcept { return !graphic_ || graphic_->size.width <= 0 || graphic_->size.height <= 0; }
    IntSize Size() const noexcept { return Empty() ? IntSize{} : graphic_->size; }
    const TGraphic* Graphic() const noexcept { return graphic_ ? &*graphic_ : nullptr; }

    // Each raises OnChange. SetGraphic raises vh::Exception when the pixels do
    // not match the size, leaving the picture unchanged.
    void Assign(const TPicture& source);
    void SetGraphic(TGraphic graphic);
    void Clear();
    // Loads a picture file (PNG, JPEG, GIF, BMP, ICO) with the program's
    // picture loader; a file that cannot be read raises and changes nothing.
    void LoadFromFile(const std::string& path);

    std::function<void()> OnChange;

    // Draws the graphic with its own transparency at (x, y), resampled from
    // 96 DPI to `dpi` (icons and button pictures follow the display scale).
    void Draw(HDC dc, int x, int y, int dpi = 96) const;
    IntSize SizeAt(int dpi) const noexcept;
    // Frees the premultiplied copy Draw keeps; the next Draw makes it again.
    void ReleaseDrawable() const noexcept { drawable_.reset(); }

private:
    void Changed();
    std::optional<TGraphic> graphic_;
    mutable std::unique_ptr<TBitmap32> drawable_;  // premultiplied copy, built on first Draw
    mutable int drawableDpi_ = 0;
};

}  // namespace vh::win32
