#include "UiTestSupport.h"

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <vector>

#include "common/Exceptions.h"
#include "common/Paths.h"
#include "ui/win32/skin/BaseFRM.h"
#include "ui/win32/skin/Skins.h"
#include "ui/win32/toolkit/ExceptionBoundary.h"

namespace vh::win32::testing {
namespace {

std::function<void(TForm&)>& PendingAction() {
    static std::function<void(TForm&)> action;
    return action;
}

void CALLBACK ModalTimer(HWND, UINT, UINT_PTR id, DWORD) noexcept {
    for (TForm* form : LiveForms()) {
        if (form->IsModal() && form->Visible()) {
            KillTimer(nullptr, id);
            auto action = std::exchange(PendingAction(), nullptr);
            try {
                if (action) action(*form);
            } catch (const std::exception& e) {
                ADD_FAILURE() << "action in a modal loop failed: " << e.what();
                form->SetModalResult(mrCancel);
            }
            return;
        }
    }
}

// Test programs have no manifest: they declare per-monitor awareness the way
// Vornhalt.exe's manifest does, so the system DPI reaches the toolkit
// instead of a 96-DPI virtualised one.
void DeclareDpiAwareness() noexcept {
    static const bool declared = [] {
        using SetContext = BOOL(WINAPI*)(HANDLE);
        const auto set = reinterpret_cast<SetContext>(
            reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"user32.dll"), "SetProcessDpiAwarenessContext")));
        if (set && set(reinterpret_cast<HANDLE>(-4))) return true;  // DPI_AWARENESS_CONTEXT_PER_MONITOR_AWARE_V2
        return SetProcessDPIAware() != FALSE;
    }();
    static_cast<void>(declared);
}

}  // namespace

void UiTest::SetUp() {
    DeclareDpiAwareness();
    SetSkinFolder(VH_TEST_SKIN_DIR);
    SetAppearanceSource(nullptr);
    SetApplicationExceptionHandler(nullptr);
    SetWebAddressOpenerForTesting([](const std::string& url) { ADD_FAILURE() << "unexpected web page " << url; });
}

void UiTest::TearDown() {
    ProcessMessages();
    for (TForm* form : LiveForms()) FreeForm(form);
    SetWebAddressOpenerForTesting(nullptr);
    SetAppearanceSource(nullptr);
    SetApplicationExceptionHandler(nullptr);
}

TPicture MakePicture(int width, int height, const std::function<std::uint32_t(int, int)>& pixel, bool png,
                     bool transparency) {
    TGraphic graphic;
    graphic.size = {width, height};
    graphic.png = png;
    graphic.transparency = transparency;
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) graphic.pixels.push_back(pixel(x, y));
    }
    TPicture picture;
    picture.SetGraphic(std::move(graphic));
    return picture;
}

std::string SaveScreenshot(const TBitmap32& bitmap, const std::string& name) {
    return SavePng(bitmap, VH_SCREENSHOT_DIR, name);
}

void WhenModal(std::function<void(TForm&)> action) {
    PendingAction() = std::move(action);
    if (!SetTimer(nullptr, 0, 20, &ModalTimer)) throw Exception("SetTimer failed");
}

void SendMouse(TForm& form, UINT message, WPARAM keys, int x, int y) {
    SendMessageW(form.Handle(), message, keys, MAKELPARAM(static_cast<WORD>(x), static_cast<WORD>(y)));
}

void ClickAt(TForm& form, IntRect rect) {
    SendMouse(form, WM_LBUTTONDOWN, MK_LBUTTON, rect.left + 3, rect.top + 3);
    SendMouse(form, WM_LBUTTONUP, 0, rect.left + 3, rect.top + 3);
}

bool NearPixel(std::uint32_t actual, std::uint32_t expected, int tolerance) {
    for (int shift : {16, 8, 0}) {
        const int a = static_cast<int>((actual >> shift) & 0xFF);
        const int e = static_cast<int>((expected >> shift) & 0xFF);
        if (std::abs(a - e) > tolerance) return false;
    }
    return true;
}

std::string PixelText(std::uint32_t pixel) {
    char text[16];
    std::snprintf(text, sizeof text, "#%06X", pixel & 0xFFFFFFu);
    return text;
}

}  // namespace vh::win32::testing
