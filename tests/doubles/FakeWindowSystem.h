#pragma once
// A desktop of made-up windows: top-level windows in the system's order with
// nested children, their processes and images, the drive devices, and a
// record of the close requests posted.

#include <algorithm>
#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

#include "doubles/FakeAccessibleObject.h"
#include "platform/IWindowSystem.h"

namespace vh::testing {

class FakeWindowSystem : public IWindowSystem {
public:
    struct TWindow {
        std::string ClassName;
        std::string Text;
        std::uint32_t ProcessId = 0;
        std::vector<TWindowId> Children;
        std::shared_ptr<IAccessibleObject> Accessible;    // what the window answers for OBJID_CLIENT
        std::shared_ptr<IAccessibleObject> WindowObject;  // OBJID_WINDOW; Accessible when unset
        bool ThrowOnClassName = false;
        bool Visible = true;
    };

    TWindowId Foreground = 0;
    std::map<std::uint32_t, TProcessImage> Processes;
    std::map<char, std::string> Drives;
    std::vector<char> DrivesAsked;
    std::vector<TWindowId> Closed;
    std::vector<TWindowId> AccessibilityRequests;
    int ObjectRequests = 0;  // OBJID_WINDOW and OBJID_CLIENT objects handed out
    // Called on each request, as a browser that builds its tree then would.
    std::function<void(TWindowId)> OnAccessibilityRequest;

    FakeWindowSystem() { Drives['C'] = "\\Device\\HarddiskVolume1"; }

    TWindowId AddTopLevel(std::string className, std::uint32_t processId) {
        const TWindowId id = NewWindow(std::move(className), processId);
        topLevel_.push_back(id);
        return id;
    }
    TWindowId AddChild(TWindowId parent, std::string className, std::string text = std::string()) {
        const TWindowId id = NewWindow(std::move(className), At(parent).ProcessId);
        At(id).Text = std::move(text);
        At(parent).Children.push_back(id);
        return id;
    }
    void SetImage(std::uint32_t processId, std::string devicePath) {
        Processes[processId] = TProcessImage{true, std::move(devicePath), std::string()};
    }
    void SetImageError(std::uint32_t processId, std::string message) {
        Processes[processId] = TProcessImage{false, std::string(), std::move(message)};
    }
    TWindow& At(TWindowId id) { return windows_.at(id); }

    TWindowId ForegroundWindow() override { return Foreground; }
    void EnumerateTopLevelWindows(const TWindowStep& step) override {
        for (TWindowId id : topLevel_)
            if (!step(id)) return;
    }
    // As EnumChildWindows: a null parent stands for the desktop, whose
    // children are the top-level windows.
    void EnumerateChildWindows(TWindowId parent, const TWindowStep& step) override {
        if (parent == 0)
            EnumerateTopLevelWindows(step);
        else
            EnumerateBelow(parent, step);
    }
    std::string ClassName(TWindowId window) override {
        if (At(window).ThrowOnClassName) throw std::runtime_error("class name unreadable");
        return At(window).ClassName;
    }
    std::string WindowText(TWindowId window) override { return At(window).Text; }
    bool IsVisible(TWindowId window) override { return At(window).Visible; }
    std::uint32_t WindowProcessId(TWindowId window) override { return window == 0 ? 0 : At(window).ProcessId; }
    TProcessImage ProcessImage(std::uint32_t processId) override {
        auto found = Processes.find(processId);
        if (found == Processes.end()) return TProcessImage{false, std::string(), "The parameter is incorrect."};
        return found->second;
    }
    std::optional<std::string> DriveDeviceName(char letter) override {
        DrivesAsked.push_back(letter);
        auto found = Drives.find(letter);
        if (found == Drives.end()) return std::nullopt;
        return found->second;
    }
    void PostClose(TWindowId window) override { Closed.push_back(window); }
    std::shared_ptr<IAccessibleObject> AccessibleObjectFromWindow(TWindowId window) override {
        ++ObjectRequests;
        return At(window).WindowObject ? At(window).WindowObject : At(window).Accessible;
    }
    std::shared_ptr<IAccessibleObject> ClientAccessibleObject(TWindowId window) override {
        ++ObjectRequests;
        return At(window).Accessible;
    }
    void RequestAccessibility(TWindowId window) override {
        AccessibilityRequests.push_back(window);
        if (OnAccessibilityRequest) OnAccessibilityRequest(window);
    }

private:
    TWindowId NewWindow(std::string className, std::uint32_t processId) {
        const TWindowId id = next_++;
        TWindow window;
        window.ClassName = std::move(className);
        window.ProcessId = processId;
        windows_.emplace(id, std::move(window));
        return id;
    }
    bool EnumerateBelow(TWindowId parent, const TWindowStep& step) {
        for (TWindowId child : At(parent).Children) {
            if (!step(child)) return false;
            if (!EnumerateBelow(child, step)) return false;
        }
        return true;
    }

    TWindowId next_ = 0x100;
    std::vector<TWindowId> topLevel_;
    std::map<TWindowId, TWindow> windows_;
};

}  // namespace vh::testing
