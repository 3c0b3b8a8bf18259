#include "monitor/BrowserAddressReader.h"

#include <algorithm>
#include <memory>
#include <optional>
#include <utility>

#include "common/StringUtils.h"
#include "monitor/AccessibilityDefs.h"

namespace vh {

namespace {

// Roles whose objects hold neither a web document nor an address field:
// their children are never read. Tab strips and the buttons of toolbars
// make up much of a browser's own tree.
bool IsLeafRole(std::int32_t role) {
    switch (role) {
        case kRoleSystemTitleBar:
        case kRoleSystemMenuBar:
        case kRoleSystemScrollBar:
        case kRoleSystemMenuPopup:
        case kRoleSystemMenuItem:
        case kRoleSystemStatusBar:
        case kRoleSystemLink:
        case kRoleSystemPageTab:
        case kRoleSystemGraphic:
        case kRoleSystemStaticText:
        case kRoleSystemPushButton:
        case kRoleSystemPageTabList: return true;
        default: return false;
    }
}

// The child at `index`: get_accChild by position costs one call and the
// browsers answer it; else the child as AccessibleChildren and the other
// ways list it, which `listed` then keeps for the parent's other children.
std::shared_ptr<IAccessibleObject> ChildAt(IAccessibleObject& parent, std::int32_t index, std::int32_t count,
                                           std::optional<std::vector<TAccessibleChild>>& listed) {
    if (!listed) {
        if (std::shared_ptr<IAccessibleObject> child = parent.Child(index + 1)) return child;
        listed = ListAccessibleChildren(parent, count);
    }
    if (index >= static_cast<std::int32_t>(listed->size())) return nullptr;
    return ResolveAccessibleChild(parent, (*listed)[static_cast<std::size_t>(index)]);
}

// The child at `index` when the count is not known: get_accChild by
// position first, else the listed children.
std::shared_ptr<IAccessibleObject> ChildAtIndex(IAccessibleObject& parent, std::int32_t index) {
    if (std::shared_ptr<IAccessibleObject> child = parent.Child(index + 1)) return child;
    const std::optional<std::int32_t> count = parent.ChildCount();
    if (!count || index >= *count) return nullptr;
    std::optional<std::vector<TAccessibleChild>> listed =
        ListAccessibleChildren(parent, std::min(*count, kMaxAccessibleChildren));
    return ChildAt(parent, index, *count, listed);
}

struct TFound {
    std::string Address;
    TBrowserAddressReader::TPath Path;
    std::int32_t Role = 0;
};

// One walk: the document first, over the whole tree but the toolbars, whose
// address field is only the fallback and whose buttons are many. What it
// reads goes into `reached`, which a walk cut short leaves to the next one.
class TAddressWalk {
public:
    TAddressWalk(std::chrono::steady_clock::time_point deadline, const TBrowserAddressReader::TClock& clock,
                 std::map<TBrowserAddressReader::TPath, TReachedObject>& reached)
        : deadline_(deadline), clock_(clock), reached_(reached) {}

    // False when the walk ran out of time.
    bool Run(const std::shared_ptr<IAccessibleObject>& root) {
        TReachedObject& start = reached_[path_];
        if (!start.Object) start.Object = root;
        Visit(0, false);
        for (std::size_t i = 0; i < toolbars_.size() && !cut_ && !found_; ++i) {
            path_ = toolbars_[i].Path;
            Visit(toolbars_[i].Depth, true);
        }
        return !cut_;
    }
    const std::optional<TFound>& Found() const { return found_; }

private:
    struct TToolbar {
        TBrowserAddressReader::TPath Path;
        int Depth;
    };

    // Visits the object reached at path_; false ends the walk.
    // Looked at before each object and each new child: a child not reached
    // before costs the most.
    bool OutOfTime() {
        if (clock_() >= deadline_) cut_ = true;
        return cut_;
    }

    bool Visit(int depth, bool inToolbar) {
        if (OutOfTime()) return false;
        TReachedObject& node = reached_.at(path_);
        if (!node.RoleRead) {
            node.Role = node.Object->Role();
            node.RoleRead = true;
        }
        if (!node.Role) return true;
        const std::int32_t role = *node.Role;
        if (role == kRoleSystemDocument || role == kRoleSystemText) {
            // A text outside the toolbars is no address field (a find bar).
            if (role == kRoleSystemText && !inToolbar) return true;
            if (std::optional<std::string> address = AddressOfObject(*node.Object, role)) {
                found_ = TFound{std::move(*address), path_, role};
                return false;
            }
            // A document's children are the page: never the address.
            return true;
        }
        if (IsLeafRole(role) || depth >= kAddressWalkMaxDepth) return true;
        if (role == kRoleSystemToolBar && !inToolbar) {
            toolbars_.push_back({path_, depth});
            return true;
        }
        if (!node.ChildCountRead) {
            node.ChildCount = node.Object->ChildCount();
            node.ChildCountRead = true;
        }
        if (!node.ChildCount || *node.ChildCount <= 0) return true;
        const std::int32_t children = std::min(*node.ChildCount, kMaxAccessibleChildren);
        std::optional<std::vector<TAccessibleChild>> listed;
        for (std::int32_t i = 0; i < children; ++i) {
            path_.push_back(i);
            bool goOn = true;
            if (reached_.count(path_) != 0) {
                goOn = Visit(depth + 1, inToolbar);
            } else if (OutOfTime()) {
                goOn = false;
            } else if (std::shared_ptr<IAccessibleObject> child = ChildAt(*node.Object, i, children, listed)) {
                reached_[path_].Object = std::move(child);
                goOn = Visit(depth + 1, inToolbar);
            }
            path_.pop_back();
            if (!goOn) return false;
        }
        return true;
    }

    std::chrono::steady_clock::time_point deadline_;
    const TBrowserAddressReader::TClock& clock_;
    std::map<TBrowserAddressReader::TPath, TReachedObject>& reached_;
    TBrowserAddressReader::TPath path_;
    std::vector<TToolbar> toolbars_;
    std::optional<TFound> found_;
    bool cut_ = false;
};

}  // namespace

std::optional<std::string> AddressOfObject(IAccessibleObject& object, std::int32_t role) {
    if (role != kRoleSystemDocument && role != kRoleSystemText) return std::nullopt;
    // Background tabs keep their documents in the tree, hidden.
    if (role == kRoleSystemDocument) {
        const std::optional<std::int32_t> state = object.State();
        if (state && (*state & kStateSystemInvisible) != 0) return std::nullopt;
    }
    std::optional<std::string> value = object.Value();
    if (!value || Trim(*value).empty()) return std::nullopt;
    return value;
}

TAddressRead TBrowserAddressReader::Read(TWindowId window, std::string& address, std::chrono::milliseconds budget) {
    address.clear();
    auto state = windowStates_.find(window);
    if (state == windowStates_.end()) {
        // Windows come and go; their handles are not told when they go.
        if (windowStates_.size() >= kMaxRememberedWindows) windowStates_.clear();
        state = windowStates_.emplace(window, TWindowState()).first;
    }
    // The objects of the old path stay alive during the walk: those still in
    // the tree cost no new proxies to reach again.
    std::vector<std::shared_ptr<IAccessibleObject>> previousChain;
    if (!state->second.Chain.empty()) {
        if (ReadRemembered(state->second, address)) return TAddressRead::Remembered;
        // Navigated, another tab, a changed tree: look again.
        address.clear();
        previousChain = std::move(state->second.Chain);
        state->second.Chain.clear();
    }
    // The window's own object costs the most of all: it counts against the budget.
    const auto deadline = clock_() + budget;
    if (!state->second.Root) state->second.Root = windows_.AccessibleObjectFromWindow(window);
    const TAddressRead result = state->second.Root ? Walk(state->second, deadline, address) : TAddressRead::NotFound;
    // A tree not built yet, a window gone: the next read starts afresh.
    if (result == TAddressRead::NotFound) windowStates_.erase(state);
    return result;
}

bool TBrowserAddressReader::Remembers(TWindowId window) const {
    auto state = windowStates_.find(window);
    return state != windowStates_.end() && !state->second.Chain.empty();
}

TAddressRead TBrowserAddressReader::Walk(TWindowState& state, std::chrono::steady_clock::time_point deadline,
                                         std::string& address) {
    TAddressWalk walk(deadline, clock_, state.Reached);
    if (!walk.Run(state.Root)) return TAddressRead::Cut;
    if (!walk.Found()) return TAddressRead::NotFound;
    const TFound& found = *walk.Found();
    state.Path = found.Path;
    state.Role = found.Role;
    TPath prefix;
    state.Chain.push_back(state.Reached.at(prefix).Object);
    for (std::int32_t index : found.Path) {
        prefix.push_back(index);
        state.Chain.push_back(state.Reached.at(prefix).Object);
    }
    state.Reached.clear();
    address = found.Address;
    return TAddressRead::Walked;
}

bool TBrowserAddressReader::ReadRemembered(TWindowState& state, std::string& address) {
    // Each level is asked again for its child: a tab that navigated or
    // switched puts other objects on the path, which the role check or the
    // document's state then refuses.
    for (std::size_t level = 0; level < state.Path.size(); ++level) {
        std::shared_ptr<IAccessibleObject> child = ChildAtIndex(*state.Chain[level], state.Path[level]);
        if (!child) return false;
        state.Chain[level + 1] = std::move(child);
    }
    IAccessibleObject& object = *state.Chain.back();
    const std::optional<std::int32_t> role = object.Role();
    if (!role || *role != state.Role) return false;
    std::optional<std::string> found = AddressOfObject(object, *role);
    if (!found) return false;
    address = std::move(*found);
    return true;
}

}  // namespace vh
