#pragma once
// Which executable owns a window: the full Win32 path of its process image.

#include <string>
#include <string_view>

#include "platform/IWindowSystem.h"

namespace vh {

// The drive path of the process image of the window's process, for example
// C:\Program Files\Editor\edit.exe. "Error: " followed by the system's
// message when the process cannot be read; empty when the image lies on no
// drive from C: to Z:.
std::string GetWindowImagePath(IWindowSystem& windows, TWindowId window);

// \Device\HarddiskVolume2\dir\file.exe -> X:\dir\file.exe for the first
// drive letter from C to Z whose device name the path continues with a
// backslash (or ends with); A: and B: are never tried. Empty when none fits.
std::string DevicePathToDrivePath(IWindowSystem& windows, std::string_view devicePath);

}  // namespace vh
