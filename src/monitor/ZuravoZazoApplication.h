#pragma once
// The foreground probe: which executable owns a top-level window and, for a
// browser, which address it shows. The browsers of old are told by the
// classes of their child windows; today's by their window's class together
// with their executable, and read through their accessibility tree.

#include <cstdint>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "model/MonitoredObjects.h"
#include "monitor/BrowserAddressReader.h"
#include "platform/IAccessibleObject.h"
#include "platform/IWindowSystem.h"

namespace vh {

enum TApplicationKind : std::uint8_t {
    akDesktop = 0,
    akInternetExplorer = 1,
    akFirefox = 2,
    akChrome = 3,
    akOpera = 4,
    akEdge = 5,
    akBrave = 6,
    akVivaldi = 7,
    akChromium = 8,  // another browser of the Chromium family
};

// The display text stored as the activity log's application type.
std::string ApplicationKindText(TApplicationKind kind);

class TZuravoZazoApplication {
public:
    // The window system must outlive the probe.
    explicit TZuravoZazoApplication(IWindowSystem& windows,
                                    TBrowserAddressReader::TClock clock = &std::chrono::steady_clock::now)
        : windows_(windows), addressReader_(windows, std::move(clock)) {}
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

    // How the address of today's browser was read at the last probe.
    TAddressRead LastAddressRead = TAddressRead::NotFound;
    // Forgets where the browsers' addresses were found, so that the next
    // probes walk their trees again.
    void ForgetAddressPlaces() { addressReader_.ForgetAll(); }

private:
    bool WindowStep(TWindowId window);
    bool ChildStep(TWindowId child);
    static bool AddressVisitor(IAccessibleObject& object, void* data, int depth);
    void ReadCurrentBrowser(TWindowId window);
    void TraceNoAddress(TWindowId window);

    IWindowSystem& windows_;
    TBrowserAddressReader addressReader_;
    std::vector<TWindowId> chromiumContent_;  // the render windows of the window being probed
    // The render windows asked for their page accessibility.
    std::set<TWindowId> requested_;
    // The windows whose missing address the trace has told of.
    std::set<TWindowId> toldNoAddress_;
};

}  // namespace vh
