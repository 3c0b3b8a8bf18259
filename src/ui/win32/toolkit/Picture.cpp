#include "ui/win32/toolkit/Picture.h"

#include "common/Exceptions.h"
#include "ui/AlphaPixels.h"
#include "ui/DpiScale.h"
#include "ui/win32/toolkit/PictureFile.h"

namespace vh::win32 {

TPicture::~TPicture() = default;

TPicture& TPicture::operator=(const TPicture& other) {
    if (this != &other) Assign(other);
    return *this;
}

void TPicture::Assign(const TPicture& source) {
    if (this == &source) return;
    graphic_ = source.graphic_;
    Changed();
}

void TPicture::SetGraphic(TGraphic graphic) {
    if (graphic.size.width < 0 || graphic.size.height < 0 ||
        graphic.pixels.size() !=
            static_cast<std::size_t>(graphic.size.width) * static_cast<std::size_t>(graphic.size.height)) {
        throw Exception("Picture pixels do not match its size");
    }
    graphic_ = std::move(graphic);
    Changed();
}

void TPicture::Clear() {
    graphic_.reset();
    Changed();
}

void TPicture::LoadFromFile(const std::string& path) {
    SetGraphic(LoadGraphicFile(path));
}

void TPicture::Changed() {
    drawable_.reset();
    if (OnChange) OnChange();
}

IntSize TPicture::SizeAt(int dpi) const noexcept {
    return ScaleSizeToDpi(Size(), dpi);
}

void TPicture::Draw(HDC dc, int x, int y, int dpi) const {
    if (Empty()) return;
    if (!drawable_ || drawableDpi_ != dpi) {
        AlphaPixels pixels = PrepareAlphaPixels(graphic_->pixels, graphic_->size, AlphaSource::PngWithTransparency);
        if (dpi != kDesignDpi) pixels = ResampleAlphaPixels(pixels, SizeAt(dpi));
        if (pixels.size.width <= 0 || pixels.size.height <= 0) return;
        drawableDpi_ = dpi;
        auto bitmap = std::make_unique<TBitmap32>(pixels.size.width, pixels.size.height);
        std::copy(pixels.pixels.begin(), pixels.pixels.end(), bitmap->Pixels().begin());
        drawable_ = std::move(bitmap);
    }
    const BLENDFUNCTION blend{AC_SRC_OVER, 0, 255, AC_SRC_ALPHA};
    const IntSize size = drawable_->Size();
    ::AlphaBlend(dc, x, y, size.width, size.height, drawable_->Dc(), 0, 0, size.width, size.height, blend);
}

}  // namespace vh::win32
