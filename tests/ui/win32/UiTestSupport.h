#pragma once
// Helpers of the Win32 ui tests: the skins the build draws, pictures made in
// memory, a PNG writer for screenshots and a way to act inside a modal loop.

#include <gtest/gtest.h>

#include <cstdint>
#include <functional>
#include <string>

#include "Screenshot.h"
#include "ui/win32/toolkit/Bitmap32.h"
#include "ui/win32/toolkit/Form.h"
#include "ui/win32/toolkit/Picture.h"

namespace vh::win32::testing {

// Points the skins at the build's folder, resets the appearance to a fresh
// user's and the exception handler to the trace; frees every form left over.
class UiTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;
};

constexpr std::uint32_t Argb(unsigned a, unsigned r, unsigned g, unsigned b) {
    return a << 24 | r << 16 | g << 8 | b;
}

// A graphic of one colour per pixel from a function of (x, y).
TPicture MakePicture(int width, int height, const std::function<std::uint32_t(int, int)>& pixel, bool png,
                     bool transparency);

// Saves the bitmap as an opaque PNG; raises on failure. Returns the path.
std::string SaveScreenshot(const TBitmap32& bitmap, const std::string& name);

// Runs `action` on the modal form of the given type as soon as its loop is
// running (from a timer tick), then returns; the action usually ends the loop.
void WhenModal(std::function<void(TForm&)> action);

// Sends a mouse message to the form at client point (x, y).
void SendMouse(TForm& form, UINT message, WPARAM keys, int x, int y);
// Presses and releases the left button inside the rectangle's top-left corner.
void ClickAt(TForm& form, IntRect rect);

// The colour channels of a pixel, and whether two pixels are within `tolerance`.
bool NearPixel(std::uint32_t actual, std::uint32_t expected, int tolerance);
std::string PixelText(std::uint32_t pixel);

}  // namespace vh::win32::testing
