#include "environment/Picture.h"

#include <gtest/gtest.h>

#include <atomic>
#include <cstdlib>
#include <new>
#include <random>

#include "PictureTestFiles.h"
#include "doubles/FakeEnvironmentPlatform.h"

// The largest single allocation since the last reset: what a decoder paid
// for a file before refusing it.
namespace {
std::atomic<std::size_t> gLargestAllocation{0};
}  // namespace

void* operator new(std::size_t size) {
    std::size_t seen = gLargestAllocation.load();
    while (size > seen && !gLargestAllocation.compare_exchange_weak(seen, size)) {
    }
    if (void* p = std::malloc(size ? size : 1)) return p;
    throw std::bad_alloc();
}
// Not inlined: the compiler would see a pointer from `new` reach free().
[[gnu::noinline]] void operator delete(void* p) noexcept {
    std::free(p);
}
[[gnu::noinline]] void operator delete(void* p, std::size_t) noexcept {
    std::free(p);
}

namespace vh {
namespace {

using testing::Bytes;

TImage32 Decode(const Bytes& bytes) {
    return DecodePicture(std::span(bytes.data(), bytes.size()));
}

// Each channel within `tolerance` of the expected pixel (lossy formats).
void ExpectNear(std::uint32_t actual, std::uint32_t expected, int tolerance, const std::string& where) {
    for (int shift = 0; shift < 32; shift += 8) {
        const int a = static_cast<int>((actual >> shift) & 0xFF);
        const int e = static_cast<int>((expected >> shift) & 0xFF);
        EXPECT_LE(std::abs(a - e), tolerance) << where << std::hex << " actual " << actual << " expected " << expected;
    }
}

const std::vector<std::uint32_t> kSix = {0xFFFF0000, 0x8000FF00, 0x000000FF, 0xFF123456, 0x40FFFFFF, 0xFF000000};

TEST(PictureDecoding, PngKeepsItsAlphaAndSaysWhetherItHasAny) {
    const TImage32 alpha = Decode(testing::MakePng(3, 2, kSix, true));
    EXPECT_EQ(alpha.Format, TPictureFormat::Png);
    ASSERT_EQ(alpha.Width, 3);
    ASSERT_EQ(alpha.Height, 2);
    EXPECT_TRUE(alpha.HasAlpha);
    EXPECT_EQ(alpha.Pixel(0, 0), 0xFFFF0000u);
    EXPECT_EQ(alpha.Pixel(1, 0), 0x8000FF00u) << "straight, not premultiplied";
    EXPECT_EQ(alpha.Pixel(2, 0) >> 24, 0u);
    EXPECT_EQ(alpha.Pixel(0, 1), 0xFF123456u);
    EXPECT_EQ(alpha.Pixel(1, 1), 0x40FFFFFFu);

    const TImage32 opaque = Decode(testing::MakePng(3, 2, kSix, false));
    EXPECT_FALSE(opaque.HasAlpha);
    EXPECT_EQ(opaque.Pixel(1, 0), 0xFF00FF00u);
    EXPECT_EQ(opaque.Pixel(2, 0), 0xFF0000FFu);
    EXPECT_EQ(opaque.Pixel(0, 1), 0xFF123456u);
}

TEST(PictureDecoding, JpegInColourAndGrey) {
    std::vector<std::uint32_t> pixels(16 * 16);
    for (int y = 0; y < 16; ++y)
        for (int x = 0; x < 16; ++x) pixels[y * 16 + x] = x < 8 ? 0xFFE02020 : 0xFF2040C0;
    const TImage32 colour = Decode(testing::MakeJpeg(16, 16, pixels));
    EXPECT_EQ(colour.Format, TPictureFormat::Jpeg);
    ASSERT_EQ(colour.Width, 16);
    ASSERT_EQ(colour.Height, 16);
    EXPECT_FALSE(colour.HasAlpha);
    ExpectNear(colour.Pixel(2, 3), 0xFFE02020, 12, "left");
    ExpectNear(colour.Pixel(13, 12), 0xFF2040C0, 12, "right");

    std::vector<std::uint32_t> grey(8 * 8, 0xFF808080);
    grey[0] = 0xFF101010;
    const TImage32 gray = Decode(testing::MakeJpeg(8, 8, grey, true));
    ExpectNear(gray.Pixel(7, 7), 0xFF808080, 8, "grey");
}

TEST(PictureDecoding, GifTakesTheFirstFrameWithItsTransparentColour) {
    const std::vector<std::uint32_t> palette = {0xFF000000, 0xFFFF0000, 0xFF00FF00, 0xFF0000FF};
    const std::vector<std::uint8_t> indexes = {1, 2, 3, 0, 2, 1};  // 3 x 2, index 0 transparent
    const TImage32 onScreen = Decode(testing::MakeGif(5, 4, 1, 1, 3, 2, indexes, palette, 0));
    EXPECT_EQ(onScreen.Format, TPictureFormat::Gif);
    ASSERT_EQ(onScreen.Width, 5);
    ASSERT_EQ(onScreen.Height, 4);
    EXPECT_TRUE(onScreen.HasAlpha);
    EXPECT_EQ(onScreen.Pixel(0, 0), 0u) << "outside the frame";
    EXPECT_EQ(onScreen.Pixel(1, 1), 0xFFFF0000u);
    EXPECT_EQ(onScreen.Pixel(3, 1), 0xFF0000FFu);
    EXPECT_EQ(onScreen.Pixel(1, 2), 0u) << "the transparent index";
    EXPECT_EQ(onScreen.Pixel(3, 2), 0xFFFF0000u);

    const TImage32 full = Decode(testing::MakeGif(3, 2, 0, 0, 3, 2, indexes, palette, -1));
    EXPECT_FALSE(full.HasAlpha);
    EXPECT_EQ(full.Pixel(0, 1), 0xFF000000u);

    std::vector<std::uint8_t> rows;
    for (int y = 0; y < 11; ++y) rows.push_back(static_cast<std::uint8_t>(y % 4));
    const TImage32 interlaced = Decode(testing::MakeGif(1, 11, 0, 0, 1, 11, rows, palette, -1, true));
    ASSERT_EQ(interlaced.Height, 11);
    for (int y = 0; y < 11; ++y) EXPECT_EQ(interlaced.Pixel(0, y), palette[y % 4]) << "row " << y;
}

TEST(PictureDecoding, BitmapsOfEveryDepthAndBothRowOrders) {
    const std::vector<std::uint32_t> five = {0xFF102030, 0xFF405060, 0xFF708090, 0xFFA0B0C0, 0xFFD0E0F0,
                                             0xFF000000, 0xFFFFFFFF, 0xFF0000FF, 0xFF00FF00, 0xFFFF0000};
    for (bool topDown : {false, true}) {
        for (int depth : {8, 24}) {
            const TImage32 image = Decode(testing::MakeBmp(5, 2, five, depth, topDown));
            EXPECT_EQ(image.Format, TPictureFormat::Bmp);
            ASSERT_EQ(image.Width, 5);
            ASSERT_EQ(image.Height, 2);
            EXPECT_FALSE(image.HasAlpha);
            EXPECT_EQ(image.Pixels, five) << depth << (topDown ? " top-down" : " bottom-up");
        }
    }
    const std::vector<std::uint32_t> mono = {0xFF000000, 0xFFFFFFFF, 0xFFFFFFFF, 0xFF000000, 0xFF000000,
                                             0xFFFFFFFF, 0xFF000000, 0xFF000000, 0xFF000000, 0xFFFFFFFF};
    EXPECT_EQ(Decode(testing::MakeBmp(10, 1, mono, 1)).Pixels, mono);

    const std::vector<std::uint32_t> translucent = {0x80102030, 0xFF405060, 0x00708090, 0xFFA0B0C0};
    const TImage32 alpha = Decode(testing::MakeBmp(2, 2, translucent, 32));
    EXPECT_TRUE(alpha.HasAlpha);
    EXPECT_EQ(alpha.Pixels, translucent);

    const std::vector<std::uint32_t> unfilled = {0x00102030, 0x00405060, 0x00708090, 0x00A0B0C0};
    const TImage32 opaque = Decode(testing::MakeBmp(2, 2, unfilled, 32));
    EXPECT_FALSE(opaque.HasAlpha) << "an alpha byte that is 0 everywhere was never filled in";
    EXPECT_EQ(opaque.Pixel(1, 1), 0xFFA0B0C0u);
}

TEST(PictureDecoding, Bitmap16BitsWithMasks) {
    // A 2 x 1 bitmap, 16 bits, 5-6-5 masks after a 40-byte header.
    Bytes bmp = {'B', 'M'};
    auto put32 = [&](std::uint32_t v) {
        for (int i = 0; i < 4; ++i) bmp.push_back(static_cast<std::uint8_t>(v >> (8 * i)));
    };
    put32(70), put32(0), put32(66);                              // file size, reserved, pixel offset
    put32(40), put32(2), put32(1), put32(0x00100001);            // header size, width, height, planes 1 + 16 bits
    put32(3), put32(4), put32(0), put32(0), put32(0), put32(0);  // bit fields, image size, ...
    put32(0xF800), put32(0x07E0), put32(0x001F);
    for (std::uint8_t b : {0x00, 0xF8, 0x1F, 0x00}) bmp.push_back(b);  // pure red, pure blue
    ASSERT_EQ(bmp.size(), 70u);
    const TImage32 image = Decode(bmp);
    ASSERT_EQ(image.Width, 2);
    EXPECT_EQ(image.Pixel(0, 0), 0xFFFF0000u);
    EXPECT_EQ(image.Pixel(1, 0), 0xFF0000FFu);
}

TEST(PictureDecoding, IconsTakeTheLargestImageAndTheirMask) {
    testing::IconImage small{1, 1, {0xFFFFFFFF}, {}};
    testing::IconImage large{3, 2, {0xFF112233, 0x00000000, 0xFF445566, 0xFF778899, 0xFFAABBCC, 0x00000000}, {}};
    const TImage32 icon = Decode(testing::MakeIco({small, large}));
    EXPECT_EQ(icon.Format, TPictureFormat::Ico);
    ASSERT_EQ(icon.Width, 3);
    ASSERT_EQ(icon.Height, 2);
    EXPECT_TRUE(icon.HasAlpha);
    EXPECT_EQ(icon.Pixels, large.pixels);

    testing::IconImage png{2, 2, {}, testing::MakePng(2, 2, {0xFF0000FF, 0x80FF0000, 0, 0xFFFFFFFF}, true)};
    const TImage32 fromPng = Decode(testing::MakeIco({small, png}));
    EXPECT_EQ(fromPng.Format, TPictureFormat::Ico);
    EXPECT_EQ(fromPng.Pixel(1, 0), 0x80FF0000u);
}

std::vector<Bytes> SampleFiles() {
    const std::vector<std::uint8_t> indexes = {1, 2, 3, 0, 2, 1};
    return {testing::MakePng(3, 2, kSix, true),
            testing::MakeJpeg(16, 16, std::vector<std::uint32_t>(256, 0xFF336699)),
            testing::MakeGif(3, 2, 0, 0, 3, 2, indexes, {0xFF000000, 0xFFFF0000, 0xFF00FF00, 0xFF0000FF}, 0),
            testing::MakeBmp(3, 2, kSix, 24),
            testing::MakeBmp(3, 2, {0xFF000000, 0xFFFFFFFF, 0xFF000000, 0xFF000000, 0xFFFFFFFF, 0xFF000000}, 8),
            testing::MakeIco({{2, 2, {0xFF112233, 0, 0xFF445566, 0xFF778899}, {}}})};
}

TEST(PictureDecoding, EveryTruncationOfEveryFormatIsAClearError) {
    for (const Bytes& file : SampleFiles()) {
        ASSERT_NO_THROW(Decode(file));
        for (size_t length = 0; length < file.size(); ++length) {
            const Bytes cut(file.begin(), file.begin() + static_cast<std::ptrdiff_t>(length));
            EXPECT_THROW(Decode(cut), EPictureError) << "format byte " << int(file[0]) << " cut at " << length;
        }
    }
}

TEST(PictureDecoding, DamagedBytesNeverCrash) {
    std::mt19937 random(12345);
    for (const Bytes& file : SampleFiles()) {
        for (int round = 0; round < 300; ++round) {
            Bytes damaged = file;
            const int flips = 1 + static_cast<int>(random() % 8);
            for (int i = 0; i < flips; ++i) {
                damaged[6 + random() % (damaged.size() - 6)] = static_cast<std::uint8_t>(random());
            }
            try {
                const TImage32 image = Decode(damaged);
                EXPECT_EQ(image.Pixels.size(), static_cast<size_t>(image.Width) * static_cast<size_t>(image.Height));
            } catch (const EPictureError&) {
                // refused: fine
            }
        }
    }
}

TEST(PictureDecoding, UnknownHugeAndEmptyInputIsRefused) {
    EXPECT_THROW(Decode({}), EPictureError);
    EXPECT_THROW(Decode({'h', 'e', 'l', 'l', 'o'}), EPictureError);
    Bytes huge = testing::MakeBmp(1, 1, {0xFF000000}, 24);
    huge[18] = 0xFF, huge[19] = 0xFF, huge[20] = 0xFF, huge[21] = 0x7F;  // width 2^31-1
    EXPECT_THROW(Decode(huge), EPictureError);
    Bytes zero = testing::MakeBmp(1, 1, {0xFF000000}, 24);
    zero[22] = 0;  // height 0
    EXPECT_THROW(Decode(zero), EPictureError);
    Bytes rle = testing::MakeBmp(1, 1, {0xFF000000}, 24);
    rle[30] = 1;
    try {
        Decode(rle);
        FAIL() << "an RLE bitmap was accepted";
    } catch (const EPictureError& e) {
        EXPECT_NE(std::string(e.what()).find("compression"), std::string::npos) << e.what();
    }
    Bytes wideGif = testing::MakeGif(3, 2, 0, 0, 3, 2, {1, 1, 1, 1, 1, 1}, {0xFF000000, 0xFFFFFFFF}, -1);
    wideGif[6] = 0xFF, wideGif[7] = 0xFF, wideGif[8] = 0xFF, wideGif[9] = 0xFF;  // screen 65535 x 65535
    EXPECT_THROW(Decode(wideGif), EPictureError);
}

void PutU32(Bytes& bytes, size_t at, std::uint32_t value) {
    for (int i = 0; i < 4; ++i) bytes[at + static_cast<size_t>(i)] = static_cast<std::uint8_t>(value >> (8 * i));
}

TEST(PictureDecoding, AHeaderAloneCostsNoPictureMemory) {
    // 8000 x 8000 is within the size cap: 256 MB of pixels, were they there.
    Bytes bmp = testing::MakeBmp(1, 1, {0xFF000000}, 32);
    PutU32(bmp, 18, 8000), PutU32(bmp, 22, 8000);
    Bytes ico = testing::MakeIco({{1, 1, {0xFF000000}, {}}});
    PutU32(ico, 22 + 4, 8000), PutU32(ico, 22 + 8, 16000);  // colour rows and mask: twice the height
    for (const Bytes& file : {bmp, ico}) {
        gLargestAllocation = 0;
        EXPECT_THROW(Decode(file), EPictureError) << "format byte " << int(file[0]);
        EXPECT_LT(gLargestAllocation.load(), std::size_t{1} << 20) << "format byte " << int(file[0]);
    }
}

TEST(PictureFiles, LoadingNamesTheFileAndMasksCoverEveryFormat) {
    testing::FakeEnvironmentPlatform platform;
    const Bytes png = testing::MakePng(3, 2, kSix, true);
    platform.PutFile("C:\\pics\\a.png", std::string(png.begin(), png.end()));
    platform.PutFile("C:\\pics\\bad.png", "\x89PNG\r\n\x1a\n garbage");
    EXPECT_EQ(LoadPictureFile(platform, "C:\\pics\\a.png").Width, 3);
    try {
        LoadPictureFile(platform, "C:\\pics\\bad.png");
        FAIL();
    } catch (const EPictureError& e) {
        EXPECT_NE(std::string(e.what()).find("C:\\pics\\bad.png"), std::string::npos) << e.what();
    }
    EXPECT_THROW(LoadPictureFile(platform, "C:\\pics\\none.png"), EPictureError);
    EXPECT_EQ(PictureFileMasks(), (std::vector<std::string>{"*.bmp", "*.gif", "*.ico", "*.jpeg", "*.jpg", "*.png"}));
}

}  // namespace
}  // namespace vh
