#include "ui/win32/toolkit/Bitmap32.h"

#include <gtest/gtest.h>

#include "common/Exceptions.h"
#include "platform/win32/Handles.h"

namespace vh::win32 {
namespace {

// GetGuiResources is a stub under Wine: a freed GDI object has no type.
TEST(Bitmap32, FreesItsBitmapAndDcWhenResizedAndDestroyed) {
    HBITMAP first = nullptr;
    HBITMAP second = nullptr;
    HDC dc = nullptr;
    {
        TBitmap32 bitmap(8, 4);
        first = bitmap.Handle();
        dc = bitmap.Dc();
        ASSERT_EQ(GetObjectType(first), static_cast<DWORD>(OBJ_BITMAP));
        bitmap.SetSize(16, 16);
        second = bitmap.Handle();
        EXPECT_EQ(GetObjectType(first), 0u);
        EXPECT_EQ(bitmap.Size(), (IntSize{16, 16}));
        EXPECT_EQ(bitmap.Pixels().size(), 256u);
    }
    EXPECT_EQ(GetObjectType(second), 0u);
    EXPECT_EQ(GetObjectType(dc), 0u);
}

// A hidden window's buffers: Free lets go of both GDI objects, and the
// bitmap is made again at the next SetSize.
TEST(Bitmap32, FreeReleasesBitmapAndDcAndSetSizeMakesThemAgain) {
    TBitmap32 bitmap(8, 4);
    const HBITMAP pixels = bitmap.Handle();
    const HDC dc = bitmap.Dc();
    bitmap.Free();
    EXPECT_EQ(GetObjectType(pixels), 0u);
    EXPECT_EQ(GetObjectType(dc), 0u);
    EXPECT_TRUE(bitmap.Empty());
    EXPECT_EQ(bitmap.Dc(), nullptr);
    bitmap.SetSize(2, 2);
    EXPECT_EQ(GetObjectType(bitmap.Dc()), static_cast<DWORD>(OBJ_MEMDC));
    bitmap.Fill(0xFF123456u);
    EXPECT_EQ(bitmap.Pixel(1, 1), 0xFF123456u);
}

TEST(Bitmap32, PixelsAreTopDownAndPointsOutsideAreRefused) {
    TBitmap32 bitmap(3, 2);
    bitmap.Fill(0xFF000000u);
    SetPixel(bitmap.Dc(), 2, 0, RGB(255, 0, 0));
    EXPECT_EQ(bitmap.Pixel(2, 0) & 0xFFFFFF, 0xFF0000u);
    EXPECT_EQ(bitmap.Pixels()[2] & 0xFFFFFF, 0xFF0000u);  // first row first
    EXPECT_THROW(bitmap.Pixel(3, 0), EAssertionFailed);
    EXPECT_THROW(bitmap.Pixel(0, -1), EAssertionFailed);
}

}  // namespace
}  // namespace vh::win32
