#pragma once
// The foreground probe: which executable owns a top-level window and, for one
// of the four known browsers, which address it shows. Browsers are told by
// the classes of their child windows, not by their executable.

#include <cstdint>
#include <string>

#include "model/MonitoredObjects.h"
#include "platform/IAccessibleObject.h"
#include "platform/IWindowSystem.h"

namespace vh {

enum TApplicationKind : std::uint8_t {
    akDesktop = 0,
    akInternetExplorer = 1,
    akFirefox = 2,
    akChrome = 3,
    akOpera = 4,
};

// The display text stored as the activity log's application type.
std::string ApplicationKindText(TApplicationKind kind);

class TZuravoZazoApplication {
public:
    // The window system must outlive the probe.
    explicit TZuravoZazoApplication(IWindowSystem& windows) : windows_(windows) {}
    TZuravoZazoApplication(const TZuravoZazoApplication&) = delete;
    TZuravoZazoApplication& operator=(const TZuravoZazoApplication&) = delete;

    bool Probed = false;
    std::string ApplicationPath;  // drive path, or "Error: " + the system's message
    TApplicationKind Kind = akDesktop;
    std::string Address;  // as the browser shows it; may be empty
    bool CloseMode = false;
    const TMonitoredList* CloseList = nullptr;  // not owned; set only while closing
    TWindowId Window = 0;

    // Without close mode: probes the foreground window. With close mode:
    // probes every top-level window and posts WM_CLOSE to each one that
    // matches `list`. Never raises; failures go to the trace and the fields
    // keep what was filled before.
    void Execute(bool closeMode, const TMonitoredList* list) noexcept;

    // The list's match of ApplicationPath and Address; `caption`, when given,
    // is cleared and receives the matched entry's caption. Asserts a list.
    bool IsOnList(const TMonitoredList* list, int& index, TMonitoredItemType& kind,
                  std::string* caption = nullptr) const;

    std::string GetKindText() const { return ApplicationKindText(Kind); }

private:
    bool WindowStep(TWindowId window);
    bool ChildStep(TWindowId child);
    static bool AddressVisitor(IAccessibleObject& object, void* data, int depth);

    IWindowSystem& windows_;
};

}  // namespace vh
