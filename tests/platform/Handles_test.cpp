#include "platform/win32/Handles.h"

#include <gtest/gtest.h>

#include <utility>

namespace vh::win32 {
namespace {

// GetGuiResources is a stub under Wine: a freed GDI object has no type.
TEST(Handles, OwnerMovesAndReleases) {
    UniqueBrush brush(CreateSolidBrush(RGB(1, 2, 3)));
    const HBRUSH handle = brush.Get();
    UniqueBrush moved(std::move(brush));
    EXPECT_FALSE(brush);
    EXPECT_EQ(moved.Get(), handle);
    const HBRUSH released = moved.Release();
    EXPECT_FALSE(moved);
    EXPECT_EQ(GetObjectType(released), static_cast<DWORD>(OBJ_BRUSH));
    DeleteObject(released);
    {
        UniqueBrush owner(CreateSolidBrush(RGB(4, 5, 6)));
        const HBRUSH inner = owner.Get();
        owner.Reset(CreateSolidBrush(RGB(7, 8, 9)));
        EXPECT_EQ(GetObjectType(inner), 0u);
    }
}

TEST(Handles, WindowOwnerDestroysItsWindow) {
    HWND raw = CreateWindowExW(0, L"STATIC", L"owned", 0, 0, 0, 10, 10, HWND_MESSAGE, nullptr, nullptr, nullptr);
    ASSERT_NE(raw, nullptr);
    {
        UniqueWindow window(raw);
        EXPECT_TRUE(IsWindow(window.Get()));
    }
    EXPECT_FALSE(IsWindow(raw));
}

}  // namespace
}  // namespace vh::win32
