#include "Screenshot.h"

#include <png.h>

#include <filesystem>
#include <thread>
#include <vector>

#include "common/Exceptions.h"
#include "common/Paths.h"
#include "ui/win32/toolkit/Form.h"

namespace vh::win32::testing {

void CaptureFromScreen(HWND window, TBitmap32& target) {
    RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
    ProcessMessages();
    RECT windowRect{};
    GetWindowRect(window, &windowRect);
    CaptureScreenRect(windowRect, target);
}

void CaptureScreenRect(const RECT& area, TBitmap32& target) {
    // Only the part on the screen: reading past its edge gives nothing at all.
    const RECT screenRect{GetSystemMetrics(SM_XVIRTUALSCREEN), GetSystemMetrics(SM_YVIRTUALSCREEN),
                          GetSystemMetrics(SM_XVIRTUALSCREEN) + GetSystemMetrics(SM_CXVIRTUALSCREEN),
                          GetSystemMetrics(SM_YVIRTUALSCREEN) + GetSystemMetrics(SM_CYVIRTUALSCREEN)};
    RECT rect{};
    if (!IntersectRect(&rect, &area, &screenRect)) throw Exception("The window is off the screen");
    target.SetSize(rect.right - rect.left, rect.bottom - rect.top);
    const HDC screen = GetDC(nullptr);
    if (!screen) throw Exception("The screen cannot be read");
    const BOOL copied = BitBlt(target.Dc(), 0, 0, rect.right - rect.left, rect.bottom - rect.top, screen, rect.left,
                               rect.top, SRCCOPY | CAPTUREBLT);
    ReleaseDC(nullptr, screen);
    if (!copied) throw Exception("The screen could not be copied");
}

std::string SavePng(const TBitmap32& bitmap, const std::string& folder, const std::string& name) {
    std::filesystem::create_directories(PathFromUtf8(folder));
    const std::string path = folder + name + ".png";
    const IntSize size = bitmap.Size();
    std::vector<png_byte> rows(static_cast<std::size_t>(size.width) * static_cast<std::size_t>(size.height) * 3);
    const auto pixels = bitmap.Pixels();
    for (std::size_t i = 0; i < pixels.size(); ++i) {
        rows[i * 3] = static_cast<png_byte>(pixels[i] >> 16);
        rows[i * 3 + 1] = static_cast<png_byte>(pixels[i] >> 8);
        rows[i * 3 + 2] = static_cast<png_byte>(pixels[i]);
    }
    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    image.width = static_cast<png_uint_32>(size.width);
    image.height = static_cast<png_uint_32>(size.height);
    image.format = PNG_FORMAT_RGB;
    if (!png_image_write_to_file(&image, std::filesystem::path(PathFromUtf8(path)).string().c_str(), 0, rows.data(), 0,
                                 nullptr)) {
        throw Exception("Cannot write screenshot " + path + ": " + image.message);
    }
    return path;
}

void SaveWindowPng(HWND window, const std::string& folder, const std::string& name, std::chrono::milliseconds painted) {
    std::this_thread::sleep_for(painted);
    TBitmap32 shot;
    CaptureFromScreen(window, shot);
    SavePng(shot, folder, name);
}

}  // namespace vh::win32::testing
