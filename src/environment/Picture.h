#pragma once
// Pictures the user and the skins supply (backgrounds, skinned controls),
// decoded into one 32-bit image type. The format is recognised by the
// content, not by the file name. A corrupt, truncated or unsupported file
// raises EPictureError; decoding never reads outside the given bytes.

#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "common/Exceptions.h"
#include "platform/IEnvironmentPlatform.h"

namespace vh {

class EPictureError : public Exception {
public:
    using Exception::Exception;
    const char* ClassName() const noexcept override { return "EPictureError"; }
};

enum class TPictureFormat { None, Bmp, Ico, Png, Jpeg, Gif };

// Width x Height pixels, rows top-down, each pixel a 0xAARRGGBB word (BGRA
// bytes in memory) with straight, not premultiplied, alpha.
struct TImage32 {
    int Width = 0;
    int Height = 0;
    std::vector<std::uint32_t> Pixels;
    // Some pixel is not fully opaque (PNG alpha or transparency, a GIF's
    // transparent colour, an icon's mask, a 32-bit bitmap's alpha).
    bool HasAlpha = false;
    TPictureFormat Format = TPictureFormat::None;

    bool Empty() const noexcept { return Width <= 0 || Height <= 0; }
    std::uint32_t Pixel(int x, int y) const;  // asserts the point lies inside
};

// Larger pictures are refused rather than exhausting memory.
inline constexpr std::int64_t kMaxPicturePixels = std::int64_t{1} << 26;

TImage32 DecodePicture(std::span<const std::uint8_t> bytes);
// Reads the file through the platform; EPictureError names the file.
TImage32 LoadPictureFile(IEnvironmentPlatform& platform, const std::string& path);

// "*" + extension of every format DecodePicture reads, lower case.
std::vector<std::string> PictureFileMasks();

}  // namespace vh
