#include "monitor/PsapiUtils.h"

#include <optional>

namespace vh {

std::string GetWindowImagePath(IWindowSystem& windows, TWindowId window) {
    const TProcessImage image = windows.ProcessImage(windows.WindowProcessId(window));
    if (!image.Ok) return "Error: " + image.ErrorMessage;
    return DevicePathToDrivePath(windows, image.DevicePath);
}

std::string DevicePathToDrivePath(IWindowSystem& windows, std::string_view devicePath) {
    for (char letter = 'C'; letter <= 'Z'; ++letter) {
        const std::optional<std::string> device = windows.DriveDeviceName(letter);
        if (!device || device->empty() || !devicePath.starts_with(*device)) continue;
        // \Device\HarddiskVolume1 must not claim a path on \Device\HarddiskVolume10.
        const std::string_view rest = devicePath.substr(device->size());
        if (!rest.empty() && rest.front() != '\\') continue;
        return std::string(1, letter) + ":" + std::string(rest);
    }
    return std::string();
}

}  // namespace vh
