#pragma once
// The desktop's windows through user32, psapi, kernel32 and oleacc.

#include "platform/IWindowSystem.h"

namespace vh::win32 {

// Initialises COM on the creating thread for the accessibility calls and
// undoes that when destroyed; use it on that thread only.
class WindowSystem : public IWindowSystem {
public:
    WindowSystem();
    ~WindowSystem() override;
    WindowSystem(const WindowSystem&) = delete;
    WindowSystem& operator=(const WindowSystem&) = delete;

    TWindowId ForegroundWindow() override;
    void EnumerateTopLevelWindows(const TWindowStep& step) override;
    void EnumerateChildWindows(TWindowId parent, const TWindowStep& step) override;
    std::string ClassName(TWindowId window) override;
    std::string WindowText(TWindowId window) override;
    bool IsVisible(TWindowId window) override;
    std::uint32_t WindowProcessId(TWindowId window) override;
    TProcessImage ProcessImage(std::uint32_t processId) override;
    std::optional<std::string> DriveDeviceName(char letter) override;
    void PostClose(TWindowId window) override;
    std::shared_ptr<IAccessibleObject> AccessibleObjectFromWindow(TWindowId window) override;
    std::shared_ptr<IAccessibleObject> ClientAccessibleObject(TWindowId window) override;
    void RequestAccessibility(TWindowId window) override;

private:
    bool comInitialised_ = false;
};

// How long WM_GETTEXT may take before a window counts as not answering.
inline constexpr unsigned kWindowTextTimeoutMs = 300;
// How long the request for an accessibility tree may take.
inline constexpr unsigned kAccessibilityRequestTimeoutMs = 200;
// The object id Chromium's render window takes as a screen reader's request.
inline constexpr long kChromiumScreenReaderObjectId = 1;

}  // namespace vh::win32
