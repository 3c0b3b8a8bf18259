#include "environment/Picture.h"

#include <algorithm>
#include <cstring>
#include <optional>

#include "environment/PictureDecoders.h"

namespace vh {

namespace picture {

void CheckImageSize(std::int64_t width, std::int64_t height, std::string_view formatName) {
    if (width <= 0 || height <= 0 || width > kMaxPicturePixels || height > kMaxPicturePixels ||
        width * height > kMaxPicturePixels) {
        throw EPictureError("Unsupported " + std::string(formatName) + " picture size " + std::to_string(width) +
                            " x " + std::to_string(height));
    }
}

TImage32 AllocateImage(std::int64_t width, std::int64_t height, TPictureFormat format, std::string_view formatName) {
    CheckImageSize(width, height, formatName);
    TImage32 image;
    image.Width = static_cast<int>(width);
    image.Height = static_cast<int>(height);
    image.Pixels.assign(static_cast<size_t>(width * height), 0);
    image.Format = format;
    return image;
}

}  // namespace picture

std::uint32_t TImage32::Pixel(int x, int y) const {
    VH_ASSERT(x >= 0 && y >= 0 && x < Width && y < Height);
    return Pixels[static_cast<size_t>(y) * static_cast<size_t>(Width) + static_cast<size_t>(x)];
}

namespace {

bool StartsWithBytes(std::span<const std::uint8_t> bytes, std::string_view signature) {
    return bytes.size() >= signature.size() && std::memcmp(bytes.data(), signature.data(), signature.size()) == 0;
}

}  // namespace

TImage32 DecodePicture(std::span<const std::uint8_t> bytes) {
    using namespace picture;
    if (StartsWithBytes(bytes, "\x89PNG\r\n\x1a\n")) return DecodePng(bytes);
    if (StartsWithBytes(bytes, "\xFF\xD8\xFF")) return DecodeJpeg(bytes);
    if (StartsWithBytes(bytes, "GIF87a") || StartsWithBytes(bytes, "GIF89a")) return DecodeGif(bytes);
    if (StartsWithBytes(bytes, "BM")) return DecodeBmp(bytes);
    if (StartsWithBytes(bytes, std::string_view("\0\0\1\0", 4))) return DecodeIco(bytes);
    if (bytes.empty()) throw EPictureError("The picture file is empty");
    throw EPictureError("Unknown picture format");
}

TImage32 LoadPictureFile(IEnvironmentPlatform& platform, const std::string& path) {
    std::optional<std::string> bytes;
    try {
        bytes = platform.ReadWholeFile(path);
    } catch (const EFileError& e) {
        throw EPictureError(e.what());
    }
    if (!bytes) throw EPictureError("Picture file \"" + path + "\" not found");
    try {
        return DecodePicture(std::span(reinterpret_cast<const std::uint8_t*>(bytes->data()), bytes->size()));
    } catch (const EPictureError& e) {
        throw EPictureError("\"" + path + "\": " + e.what());
    }
}

std::vector<std::string> PictureFileMasks() {
    return {"*.bmp", "*.gif", "*.ico", "*.jpeg", "*.jpg", "*.png"};
}

}  // namespace vh
