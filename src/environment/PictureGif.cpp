// GIF through giflib: the first frame, placed on the logical screen, with
// the transparent colour of its graphics control block. The screen outside
// the frame is transparent.

#include <gif_lib.h>

#include <algorithm>
#include <cstring>
#include <memory>

#include "environment/PictureDecoders.h"

namespace vh::picture {

namespace {

struct MemoryReader {
    std::span<const std::uint8_t> bytes;
    size_t position = 0;
};

int ReadFromMemory(GifFileType* gif, GifByteType* buffer, int length) {
    auto* reader = static_cast<MemoryReader*>(gif->UserData);
    if (length <= 0) return 0;
    const size_t count = std::min(static_cast<size_t>(length), reader->bytes.size() - reader->position);
    std::memcpy(buffer, reader->bytes.data() + reader->position, count);
    reader->position += count;
    return static_cast<int>(count);
}

struct GifCloser {
    void operator()(GifFileType* gif) const noexcept {
        int ignored = 0;
        DGifCloseFile(gif, &ignored);
    }
};

std::string GifError(int code) {
    const char* text = GifErrorString(code);
    return std::string("Invalid GIF picture: ") + (text ? text : "unknown error");
}

}  // namespace

TImage32 DecodeGif(std::span<const std::uint8_t> bytes) {
    MemoryReader reader{bytes};
    int error = 0;
    std::unique_ptr<GifFileType, GifCloser> gif(DGifOpen(&reader, ReadFromMemory, &error));
    if (!gif) throw EPictureError(GifError(error));
    if (DGifSlurp(gif.get()) != GIF_OK) throw EPictureError(GifError(gif->Error));
    if (gif->ImageCount < 1 || gif->SavedImages == nullptr) throw EPictureError("The GIF picture holds no image");

    const SavedImage& frame = gif->SavedImages[0];
    const GifImageDesc& desc = frame.ImageDesc;
    const ColorMapObject* colors = desc.ColorMap ? desc.ColorMap : gif->SColorMap;
    if (colors == nullptr || colors->Colors == nullptr) throw EPictureError("The GIF picture has no colour table");
    if (frame.RasterBits == nullptr || desc.Width <= 0 || desc.Height <= 0) {
        throw EPictureError("The GIF picture's first frame is empty");
    }
    const std::int64_t screenWidth = gif->SWidth > 0 ? gif->SWidth : desc.Left + desc.Width;
    const std::int64_t screenHeight = gif->SHeight > 0 ? gif->SHeight : desc.Top + desc.Height;
    TImage32 image = AllocateImage(screenWidth, screenHeight, TPictureFormat::Gif, "GIF");

    int transparent = NO_TRANSPARENT_COLOR;
    GraphicsControlBlock control{};
    if (DGifSavedExtensionToGCB(gif.get(), 0, &control) == GIF_OK) transparent = control.TransparentColor;

    bool covered = desc.Left <= 0 && desc.Top <= 0 && desc.Left + desc.Width >= image.Width &&
                   desc.Top + desc.Height >= image.Height;
    bool anyTransparent = false;
    for (int y = 0; y < desc.Height; ++y) {
        const int screenY = desc.Top + y;
        if (screenY < 0 || screenY >= image.Height) continue;
        for (int x = 0; x < desc.Width; ++x) {
            const int screenX = desc.Left + x;
            if (screenX < 0 || screenX >= image.Width) continue;
            const int index = frame.RasterBits[static_cast<size_t>(y) * static_cast<size_t>(desc.Width) + x];
            std::uint32_t pixel = 0;  // transparent, also for an index beyond the colour table
            if (index != transparent && index < colors->ColorCount) {
                const GifColorType& c = colors->Colors[index];
                pixel = Argb(255, c.Red, c.Green, c.Blue);
            }
            anyTransparent = anyTransparent || pixel == 0;
            image.Pixels[static_cast<size_t>(screenY) * static_cast<size_t>(image.Width) + screenX] = pixel;
        }
    }
    image.HasAlpha = anyTransparent || !covered;
    return image;
}

}  // namespace vh::picture
