// Windows bitmaps and icons, decoded by our own code: every field is read
// through bounds-checked accessors, so a short or lying file is refused.
// Bitmaps: core and info headers (up to V5), 1, 4, 8, 16, 24 and 32 bits,
// uncompressed or with bit-field masks, bottom-up or top-down. Icons: the
// largest image of the file, stored as a bitmap with its AND mask or as PNG.

#include <bit>
#include <optional>

#include "environment/PictureDecoders.h"

namespace vh::picture {

namespace {

constexpr std::uint32_t kBiRgb = 0;
constexpr std::uint32_t kBiBitfields = 3;
constexpr std::uint32_t kBiAlphaBitfields = 6;

class ByteReader {
public:
    ByteReader(std::span<const std::uint8_t> bytes, const char* format) : bytes_(bytes), format_(format) {}

    void Need(std::uint64_t offset, std::uint64_t count) const {
        if (offset > bytes_.size() || count > bytes_.size() - offset) {
            throw EPictureError(std::string("Truncated ") + format_ + " picture");
        }
    }
    std::uint8_t U8(std::uint64_t at) const {
        Need(at, 1);
        return bytes_[static_cast<size_t>(at)];
    }
    std::uint16_t U16(std::uint64_t at) const {
        Need(at, 2);
        return static_cast<std::uint16_t>(bytes_[at] | (bytes_[at + 1] << 8));
    }
    std::uint32_t U32(std::uint64_t at) const {
        Need(at, 4);
        return std::uint32_t{bytes_[at]} | (std::uint32_t{bytes_[at + 1]} << 8) |
               (std::uint32_t{bytes_[at + 2]} << 16) | (std::uint32_t{bytes_[at + 3]} << 24);
    }
    std::int32_t I32(std::uint64_t at) const { return static_cast<std::int32_t>(U32(at)); }
    std::span<const std::uint8_t> Bytes() const noexcept { return bytes_; }

private:
    std::span<const std::uint8_t> bytes_;
    const char* format_;
};

// A colour channel selected by a bit mask, scaled to 0..255.
struct Channel {
    std::uint32_t mask = 0;
    int shift = 0;
    std::uint32_t max = 0;

    explicit Channel(std::uint32_t m = 0) : mask(m) {
        if (mask == 0) return;
        shift = std::countr_zero(mask);
        max = mask >> shift;
    }
    std::uint8_t From(std::uint32_t value) const {
        if (mask == 0) return 0;
        return static_cast<std::uint8_t>(std::uint64_t{(value & mask) >> shift} * 255u / max);
    }
};

struct DibLayout {
    std::int64_t width = 0;
    std::int64_t height = 0;  // rows of colour data
    bool topDown = false;
    int bitCount = 0;
    std::uint32_t compression = kBiRgb;
    Channel red, green, blue, alpha;
    std::vector<std::uint32_t> palette;
    std::uint64_t end = 0;  // where the header, masks and palette end
};

std::uint64_t RowBytes(std::int64_t width, int bitCount) {
    return ((static_cast<std::uint64_t>(width) * static_cast<std::uint64_t>(bitCount) + 31) / 32) * 4;
}

// The header at `at`; `icon` halves the height (colour rows, then the mask).
DibLayout ReadDibHeader(const ByteReader& in, std::uint64_t at, bool icon, const char* format) {
    DibLayout dib;
    const std::uint32_t headerSize = in.U32(at);
    int paletteEntrySize = 4;
    std::uint32_t colorsUsed = 0;
    if (headerSize == 12) {
        dib.width = in.U16(at + 4);
        dib.height = in.U16(at + 6);
        dib.bitCount = in.U16(at + 10);
        paletteEntrySize = 3;
    } else if (headerSize >= 40 && headerSize <= 1024) {
        dib.width = in.I32(at + 4);
        const std::int64_t height = in.I32(at + 8);
        dib.topDown = height < 0;
        dib.height = height < 0 ? -height : height;
        dib.bitCount = in.U16(at + 14);
        dib.compression = in.U32(at + 16);
        colorsUsed = in.U32(at + 32);
    } else {
        throw EPictureError(std::string("Unsupported ") + format + " header");
    }
    if (icon) dib.height /= 2;
    std::uint64_t next = at + headerSize;

    const bool masked = dib.compression == kBiBitfields || dib.compression == kBiAlphaBitfields;
    if (dib.compression != kBiRgb && !masked) {
        throw EPictureError(std::string("Unsupported ") + format + " compression " + std::to_string(dib.compression));
    }
    switch (dib.bitCount) {
        case 1:
        case 4:
        case 8:
            if (masked) throw EPictureError(std::string("Invalid ") + format + " bit masks");
            break;
        case 16:
            if (!masked) {
                dib.red = Channel(0x7C00), dib.green = Channel(0x03E0), dib.blue = Channel(0x001F);
            }
            break;
        case 24: break;
        case 32:
            if (!masked) {
                dib.red = Channel(0x00FF0000), dib.green = Channel(0x0000FF00), dib.blue = Channel(0x000000FF);
                dib.alpha = Channel(0xFF000000);
            }
            break;
        default:
            throw EPictureError(std::string("Unsupported ") + format + " colour depth " + std::to_string(dib.bitCount));
    }
    if (masked) {
        if (dib.bitCount != 16 && dib.bitCount != 32)
            throw EPictureError(std::string("Invalid ") + format + " bit masks");
        // The masks live in the header from V2 on, otherwise right after it.
        const std::uint64_t masks = headerSize >= 52 ? at + 40 : next;
        dib.red = Channel(in.U32(masks));
        dib.green = Channel(in.U32(masks + 4));
        dib.blue = Channel(in.U32(masks + 8));
        const bool alphaMask = dib.compression == kBiAlphaBitfields || headerSize >= 56;
        if (alphaMask) dib.alpha = Channel(in.U32(masks + 12));
        if (headerSize < 52) next += dib.compression == kBiAlphaBitfields ? 16 : 12;
    }
    if (dib.bitCount <= 8) {
        const std::uint32_t entries = colorsUsed == 0 ? (1u << dib.bitCount) : colorsUsed;
        if (entries > 256) throw EPictureError(std::string("Invalid ") + format + " palette");
        in.Need(next, std::uint64_t{entries} * static_cast<std::uint64_t>(paletteEntrySize));
        for (std::uint32_t i = 0; i < entries; ++i) {
            const std::uint64_t p = next + std::uint64_t{i} * static_cast<std::uint64_t>(paletteEntrySize);
            dib.palette.push_back(Argb(255, in.U8(p + 2), in.U8(p + 1), in.U8(p)));
        }
        next += std::uint64_t{entries} * static_cast<std::uint64_t>(paletteEntrySize);
    }
    dib.end = next;
    return dib;
}

// Colour rows starting at `pixels`; returns the image (alpha still to be judged).
TImage32 ReadDibPixels(const ByteReader& in, const DibLayout& dib, std::uint64_t pixels, TPictureFormat format,
                       const char* formatName) {
    // The rows must be there before their image is allocated: a header alone
    // must not cost the largest picture's memory.
    CheckImageSize(dib.width, dib.height, formatName);
    const std::uint64_t stride = RowBytes(dib.width, dib.bitCount);
    in.Need(pixels, stride * static_cast<std::uint64_t>(dib.height));
    TImage32 image = AllocateImage(dib.width, dib.height, format, formatName);
    const std::uint8_t* data = in.Bytes().data() + pixels;
    const size_t width = static_cast<size_t>(image.Width);
    for (int y = 0; y < image.Height; ++y) {
        const int sourceRow = dib.topDown ? y : image.Height - 1 - y;
        const std::uint8_t* row = data + static_cast<std::uint64_t>(sourceRow) * stride;
        std::uint32_t* out = image.Pixels.data() + static_cast<size_t>(y) * width;
        for (size_t x = 0; x < width; ++x) {
            switch (dib.bitCount) {
                case 1:
                case 4:
                case 8: {
                    const size_t bit = x * static_cast<size_t>(dib.bitCount);
                    const unsigned shift = 8u - static_cast<unsigned>(dib.bitCount) - static_cast<unsigned>(bit % 8);
                    const unsigned index = (row[bit / 8] >> shift) & ((1u << dib.bitCount) - 1);
                    // An index beyond a short palette is black rather than a read past it.
                    out[x] = index < dib.palette.size() ? dib.palette[index] : Argb(255, 0, 0, 0);
                    break;
                }
                case 16: {
                    const std::uint32_t v = row[x * 2] | (std::uint32_t{row[x * 2 + 1]} << 8);
                    out[x] = Argb(255, dib.red.From(v), dib.green.From(v), dib.blue.From(v));
                    break;
                }
                case 24: out[x] = Argb(255, row[x * 3 + 2], row[x * 3 + 1], row[x * 3]); break;
                default: {
                    const std::uint8_t* p = row + x * 4;
                    const std::uint32_t v =
                        p[0] | (std::uint32_t{p[1]} << 8) | (std::uint32_t{p[2]} << 16) | (std::uint32_t{p[3]} << 24);
                    const std::uint8_t a = dib.alpha.mask ? dib.alpha.From(v) : 255;
                    out[x] = Argb(a, dib.red.From(v), dib.green.From(v), dib.blue.From(v));
                }
            }
        }
    }
    return image;
}

// An alpha channel that is zero everywhere was never filled in: opaque.
void JudgeAlpha(TImage32& image) {
    bool anyAlpha = false;
    bool anyTranslucent = false;
    for (std::uint32_t pixel : image.Pixels) {
        anyAlpha = anyAlpha || (pixel >> 24) != 0;
        anyTranslucent = anyTranslucent || (pixel >> 24) != 255;
    }
    if (!anyAlpha) {
        for (std::uint32_t& pixel : image.Pixels) pixel |= 0xFF000000u;
    }
    image.HasAlpha = anyAlpha && anyTranslucent;
}

}  // namespace

TImage32 DecodeBmp(std::span<const std::uint8_t> bytes) {
    const ByteReader in(bytes, "BMP");
    const std::uint32_t pixels = in.U32(10);
    const DibLayout dib = ReadDibHeader(in, 14, false, "BMP");
    TImage32 image = ReadDibPixels(in, dib, pixels, TPictureFormat::Bmp, "BMP");
    if (dib.alpha.mask != 0) JudgeAlpha(image);
    return image;
}

TImage32 DecodeIco(std::span<const std::uint8_t> bytes) {
    const ByteReader in(bytes, "ICO");
    const int count = in.U16(4);
    if (in.U16(0) != 0 || in.U16(2) != 1 || count == 0) throw EPictureError("Invalid ICO picture");
    std::optional<int> best;
    std::int64_t bestArea = -1;
    int bestDepth = -1;
    for (int i = 0; i < count; ++i) {
        const std::uint64_t entry = 6 + static_cast<std::uint64_t>(i) * 16;
        const std::int64_t w = in.U8(entry) == 0 ? 256 : in.U8(entry);
        const std::int64_t h = in.U8(entry + 1) == 0 ? 256 : in.U8(entry + 1);
        const int depth = in.U16(entry + 6);
        if (w * h > bestArea || (w * h == bestArea && depth > bestDepth)) {
            best = i;
            bestArea = w * h;
            bestDepth = depth;
        }
    }
    const std::uint64_t entry = 6 + static_cast<std::uint64_t>(*best) * 16;
    const std::uint32_t size = in.U32(entry + 8);
    const std::uint32_t offset = in.U32(entry + 12);
    in.Need(offset, size);
    const std::span<const std::uint8_t> data = bytes.subspan(offset, size);
    if (data.size() >= 8 && data[0] == 0x89 && data[1] == 'P' && data[2] == 'N' && data[3] == 'G') {
        TImage32 image = DecodePng(data);
        image.Format = TPictureFormat::Ico;
        return image;
    }
    const ByteReader dibIn(data, "ICO");
    const DibLayout dib = ReadDibHeader(dibIn, 0, true, "ICO");
    TImage32 image = ReadDibPixels(dibIn, dib, dib.end, TPictureFormat::Ico, "ICO");
    if (dib.bitCount == 32) {
        bool anyAlpha = false;
        for (std::uint32_t pixel : image.Pixels) anyAlpha = anyAlpha || (pixel >> 24) != 0;
        if (anyAlpha) {
            JudgeAlpha(image);
            return image;
        }
        for (std::uint32_t& pixel : image.Pixels) pixel |= 0xFF000000u;
    }
    // The AND mask: a set bit is a transparent pixel. Some writers leave it
    // out; the picture is then opaque.
    const std::uint64_t maskStart =
        dib.end + RowBytes(dib.width, dib.bitCount) * static_cast<std::uint64_t>(dib.height);
    const std::uint64_t maskStride = RowBytes(dib.width, 1);
    if (maskStart + maskStride * static_cast<std::uint64_t>(dib.height) > data.size()) return image;
    const size_t width = static_cast<size_t>(image.Width);
    for (int y = 0; y < image.Height; ++y) {
        const int sourceRow = dib.topDown ? y : image.Height - 1 - y;
        const std::uint64_t row = maskStart + static_cast<std::uint64_t>(sourceRow) * maskStride;
        for (size_t x = 0; x < width; ++x) {
            if ((data[row + x / 8] >> (7 - x % 8)) & 1) {
                image.Pixels[static_cast<size_t>(y) * width + x] = 0;
                image.HasAlpha = true;
            }
        }
    }
    return image;
}

}  // namespace vh::picture
