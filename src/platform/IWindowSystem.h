#pragma once
// The windows of the desktop as the foreground probe sees them: which window
// is in front, the windows and their children in the system's order, their
// classes, texts and processes, the process images, and close requests.

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "platform/IAccessibleObject.h"

namespace vh {

// A window handle as a number; 0 is no window.
using TWindowId = std::uintptr_t;

// Returns whether the enumeration goes on.
using TWindowStep = std::function<bool(TWindowId)>;

// The image of a process as a device path (\Device\HarddiskVolume2\...), or
// the system's message why it could not be read.
struct TProcessImage {
    bool Ok = false;
    std::string DevicePath;    // when Ok
    std::string ErrorMessage;  // when not Ok
};

// Texts are UTF-8. An exception thrown by a step leaves the enumeration and
// reaches the caller once the enumeration has ended.
class IWindowSystem {
public:
    virtual ~IWindowSystem() = default;

    virtual TWindowId ForegroundWindow() = 0;
    virtual void EnumerateTopLevelWindows(const TWindowStep& step) = 0;
    // All descendants, depth-first, in the system's order.
    virtual void EnumerateChildWindows(TWindowId parent, const TWindowStep& step) = 0;
    virtual std::string ClassName(TWindowId window) = 0;
    // Whether the window and its parents are shown (IsWindowVisible).
    virtual bool IsVisible(TWindowId window) = 0;
    // The text as WM_GETTEXT gives it; empty when the window does not answer in time.
    virtual std::string WindowText(TWindowId window) = 0;
    virtual std::uint32_t WindowProcessId(TWindowId window) = 0;
    virtual TProcessImage ProcessImage(std::uint32_t processId) = 0;
    // The device name of drive `letter` ("X:"), nothing when it has none.
    virtual std::optional<std::string> DriveDeviceName(char letter) = 0;
    // Posts WM_CLOSE; never waits for the window.
    virtual void PostClose(TWindowId window) = 0;
    // The window's accessible object (OBJID_WINDOW), null when there is none.
    // Browsers leave it to the system, whose object has the client's as a child.
    virtual std::shared_ptr<IAccessibleObject> AccessibleObjectFromWindow(TWindowId window) = 0;
    // The object the window answers for its client area itself
    // (OBJID_CLIENT), null when there is none: the browsers' own trees.
    virtual std::shared_ptr<IAccessibleObject> ClientAccessibleObject(TWindowId window) = 0;
    // Sends the window WM_GETOBJECT with object id 1, the request Chromium's
    // render window takes as a screen reader's (its page accessibility then
    // starts once a name is read), and with OBJID_CLIENT, letting go of the
    // answers. Never waits long for a window that hangs.
    virtual void RequestAccessibility(TWindowId window) = 0;
};

}  // namespace vh
