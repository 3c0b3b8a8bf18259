#pragma once
// Reads the address a current browser shows from its window's accessibility
// tree: the value of the web document (the full address), else the text of
// the address field in a toolbar (shown without "https://" or "www.", and
// while the user types, the typed text: only the fallback).
//
// Chromium keeps the page's document on its render window's own object
// (OBJID_CLIENT), one call away: it is read first, before any walk. The
// walks start from the top-level window's OBJID_CLIENT object, which the
// browsers answer themselves (OBJID_WINDOW is the system's). A document that
// is hidden or offscreen (a background tab) or that shows the browser's own
// interface (Vivaldi's, DevTools) is never taken; the page inside one is.
// A walk takes the toolbars where it meets them: the address field, met
// early, serves when no document is found within the time, and the walks of
// the next scans look for the document again.
//
// Calls across processes are slow, and slowest for an object not seen
// before (its proxy must be built), so per window the reader keeps the
// objects on the path to where the address was found, and reads that path
// again first, one call per level, checking the role at its end; it walks
// the tree only when that fails. A walk is bounded by a time budget and a
// depth; a walk cut short finds nothing, but keeps the objects it has
// reached, so the next walk goes on from there at little cost.

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/IAccessibleObject.h"
#include "platform/IWindowSystem.h"

namespace vh {

// The longest walk of one window's tree.
inline constexpr std::chrono::milliseconds kAddressWalkBudget{50};
// The longest walk when closing listed windows, which happens once, at the
// end of a reminder: a listed browser must not stay open for want of time.
inline constexpr std::chrono::milliseconds kCloseWalkBudget{2000};
// The deepest object a walk reads (the window's own object is depth 0).
inline constexpr int kAddressWalkMaxDepth = 12;
// The most windows the reader keeps objects of.
inline constexpr std::size_t kMaxRememberedWindows = 64;

enum class TAddressRead : std::uint8_t {
    Remembered,  // read where it was found before
    Walked,      // found by a walk, now remembered
    NotFound,    // the whole tree holds none (a tree not built yet)
    Cut,         // the walk ran out of time: nothing is taken from it
    Document,    // the page's document, read from the page's own window
    FieldInUse,  // only the address field, and the user types in it: nothing is taken
};

// Where a tree keeps its address.
enum class TAddressSource : std::uint8_t {
    Current,     // today's browsers: documents first, a toolbar's address field as the fallback
    OldFirefox,  // a text object holding an address with its scheme, 4 levels deep at most
};

// Why nothing was read, for the trace; empty when something was.
const char* AddressReadProblem(TAddressRead read);

// Whether `address` is one of the browser's own pages (its interface,
// DevTools, extensions, settings) rather than a web page.
bool IsBrowserOwnAddress(std::string_view address);

// An object the walk has reached, with what it has read of it.
struct TReachedObject {
    std::shared_ptr<IAccessibleObject> Object;
    std::optional<std::int32_t> Role;
    std::optional<std::int32_t> ChildCount;
    bool RoleRead = false;
    bool ChildCountRead = false;
};

class TBrowserAddressReader {
public:
    using TClock = std::function<std::chrono::steady_clock::time_point()>;
    using TPath = std::vector<std::int32_t>;  // child indices from the window's object

    // The window system must outlive the reader; `clock` times the walks.
    explicit TBrowserAddressReader(IWindowSystem& windows, TClock clock = &std::chrono::steady_clock::now)
        : windows_(windows), clock_(std::move(clock)) {}

    // The address `window` shows, into `address` (cleared first): from the
    // first of `pageWindows` (Chromium's render windows, in the system's
    // order) whose own object is a page's document, else from the window's
    // tree, walking for `budget` at most.
    TAddressRead Read(TWindowId window, std::string& address, std::chrono::milliseconds budget = kAddressWalkBudget,
                      const std::vector<TWindowId>& pageWindows = {});
    // The address an old Firefox's content window `window` shows, from its
    // OBJID_WINDOW tree, with the same budget and remembered place.
    TAddressRead ReadOldFirefox(TWindowId window, std::string& address,
                                std::chrono::milliseconds budget = kAddressWalkBudget);
    // Whether the place of `window`'s address is remembered.
    bool Remembers(TWindowId window) const;
    // Lets go of every object and place.
    void ForgetAll() { windowStates_.clear(); }

private:
    struct TWindowState {
        std::shared_ptr<IAccessibleObject> Root;
        TPath Path;                                             // where the address was found
        std::int32_t Role = 0;                                  // of the object found there
        std::vector<std::shared_ptr<IAccessibleObject>> Chain;  // root, then one object per index of Path
        std::map<TPath, TReachedObject> Reached;                // by a walk cut short
        TAddressSource Source = TAddressSource::Current;
    };

    TAddressRead ReadTree(TWindowId window, TAddressSource source, std::string& address,
                          std::chrono::steady_clock::time_point deadline);
    std::optional<TAddressRead> ReadRemembered(TWindowState& state, std::string& address);
    TAddressRead Walk(TWindowState& state, std::chrono::steady_clock::time_point deadline, std::string& address,
                      bool documentsOnly);
    TWindowState& StateOf(TWindowId window);

    IWindowSystem& windows_;
    TClock clock_;
    std::map<TWindowId, TWindowState> windowStates_;
};

// The address `object` holds when it has role `role`: the non-empty value of
// a document that is neither hidden, offscreen nor the browser's own page,
// or a text's non-empty value; nothing otherwise.
std::optional<std::string> AddressOfObject(IAccessibleObject& object, std::int32_t role);

}  // namespace vh
