#pragma once
// Reads the address a current browser shows from its window's accessibility
// tree: the value of the web document (the full address), else the text of
// the address field in a toolbar (shown without "https://"). Each call
// across processes is slow, so the place where the address was found is
// remembered per window and read first next time; a walk of the tree is
// bounded by a time budget and a depth.

#include <chrono>
#include <cstdint>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "platform/IAccessibleObject.h"
#include "platform/IWindowSystem.h"

namespace vh {

// The longest walk of one window's tree; a walk cut short finds nothing.
inline constexpr std::chrono::milliseconds kAddressWalkBudget{50};
// The deepest object a walk reads (the window's own object is depth 0).
inline constexpr int kAddressWalkMaxDepth = 12;
// The most windows whose address place is remembered.
inline constexpr std::size_t kMaxRememberedWindows = 64;

enum class TAddressRead : std::uint8_t {
    Remembered,  // read where it was found before
    Walked,      // found by a walk, now remembered
    NotFound,    // the whole tree holds none (a tree not built yet)
    Cut,         // the walk ran out of time: nothing is taken from it
};

class TBrowserAddressReader {
public:
    using TClock = std::function<std::chrono::steady_clock::time_point()>;

    // The window system must outlive the reader; `clock` times the walks.
    explicit TBrowserAddressReader(IWindowSystem& windows, TClock clock = &std::chrono::steady_clock::now)
        : windows_(windows), clock_(std::move(clock)) {}

    // The address `window` shows, into `address` (cleared first).
    TAddressRead Read(TWindowId window, std::string& address);
    // Whether the place of `window`'s address is remembered.
    bool Remembers(TWindowId window) const { return places_.count(window) != 0; }
    void ForgetAll() { places_.clear(); }

private:
    // The child indices from the window's object to the address's object.
    struct TPlace {
        std::vector<std::int32_t> Path;
        std::int32_t Role = 0;
    };

    bool ReadRemembered(IAccessibleObject& root, const TPlace& place, std::string& address);
    void Remember(TWindowId window, TPlace place);

    IWindowSystem& windows_;
    TClock clock_;
    std::map<TWindowId, TPlace> places_;
};

// The address `object` holds when it has role `role`: a visible document's
// non-empty value, or a text's non-empty value; nothing otherwise.
std::optional<std::string> AddressOfObject(IAccessibleObject& object, std::int32_t role);

}  // namespace vh
