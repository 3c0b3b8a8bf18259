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

struct TFound {
    std::string Address;
    std::vector<std::int32_t> Path;
    std::int32_t Role = 0;
};

// One walk: the document first, the whole tree but for the toolbars, whose
// address field is only the fallback and whose buttons are many.
class TAddressWalk {
public:
    explicit TAddressWalk(std::chrono::steady_clock::time_point deadline, const TBrowserAddressReader::TClock& clock)
        : deadline_(deadline), clock_(clock) {}

    // False when the walk ran out of time.
    bool Run(const std::shared_ptr<IAccessibleObject>& root) {
        Visit(root, 0, false);
        for (std::size_t i = 0; i < toolbars_.size() && !cut_ && !found_; ++i) {
            path_ = toolbars_[i].Path;
            Visit(toolbars_[i].Object, toolbars_[i].Depth, true);
        }
        return !cut_;
    }
    const std::optional<TFound>& Found() const { return found_; }

private:
    struct TToolbar {
        std::shared_ptr<IAccessibleObject> Object;
        std::vector<std::int32_t> Path;
        int Depth;
    };

    // False ends the walk.
    bool Visit(const std::shared_ptr<IAccessibleObject>& object, int depth, bool inToolbar) {
        if (clock_() >= deadline_) {
            cut_ = true;
            return false;
        }
        const std::optional<std::int32_t> role = object->Role();
        if (!role) return true;
        if (*role == kRoleSystemDocument || *role == kRoleSystemText) {
            // A text outside the toolbars is no address field (a find bar).
            if (*role == kRoleSystemText && !inToolbar) return true;
            if (std::optional<std::string> address = AddressOfObject(*object, *role)) {
                found_ = TFound{std::move(*address), path_, *role};
                return false;
            }
            // A document's children are the page: never the address.
            return true;
        }
        if (IsLeafRole(*role) || depth >= kAddressWalkMaxDepth) return true;
        if (*role == kRoleSystemToolBar && !inToolbar) {
            toolbars_.push_back({object, path_, depth});
            return true;
        }
        const std::optional<std::int32_t> count = object->ChildCount();
        if (!count || *count <= 0) return true;
        const std::int32_t children = std::min(*count, kMaxAccessibleChildren);
        std::optional<std::vector<TAccessibleChild>> listed;
        for (std::int32_t i = 0; i < children; ++i) {
            std::shared_ptr<IAccessibleObject> child = ChildAt(*object, i, children, listed);
            if (!child) continue;
            path_.push_back(i);
            const bool goOn = Visit(child, depth + 1, inToolbar);
            path_.pop_back();
            if (!goOn) return false;
        }
        return true;
    }

    std::chrono::steady_clock::time_point deadline_;
    const TBrowserAddressReader::TClock& clock_;
    std::vector<std::int32_t> path_;
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

TAddressRead TBrowserAddressReader::Read(TWindowId window, std::string& address) {
    address.clear();
    const std::shared_ptr<IAccessibleObject> root = windows_.AccessibleObjectFromWindow(window);
    if (!root) {
        places_.erase(window);
        return TAddressRead::NotFound;
    }
    if (auto place = places_.find(window); place != places_.end()) {
        if (ReadRemembered(*root, place->second, address)) return TAddressRead::Remembered;
        // Navigated, another tab, a changed tree: look again.
        address.clear();
        places_.erase(place);
    }
    TAddressWalk walk(clock_() + kAddressWalkBudget, clock_);
    if (!walk.Run(root)) return TAddressRead::Cut;
    if (!walk.Found()) return TAddressRead::NotFound;
    address = walk.Found()->Address;
    Remember(window, TPlace{walk.Found()->Path, walk.Found()->Role});
    return TAddressRead::Walked;
}

bool TBrowserAddressReader::ReadRemembered(IAccessibleObject& root, const TPlace& place, std::string& address) {
    std::shared_ptr<IAccessibleObject> holder;
    IAccessibleObject* object = &root;
    for (std::int32_t index : place.Path) {
        holder = object->Child(index + 1);
        if (!holder) {
            const std::optional<std::int32_t> count = object->ChildCount();
            if (!count || index >= *count) return false;
            std::optional<std::vector<TAccessibleChild>> listed =
                ListAccessibleChildren(*object, std::min(*count, kMaxAccessibleChildren));
            holder = ChildAt(*object, index, *count, listed);
            if (!holder) return false;
        }
        object = holder.get();
    }
    const std::optional<std::int32_t> role = object->Role();
    if (!role || *role != place.Role) return false;
    std::optional<std::string> found = AddressOfObject(*object, *role);
    if (!found) return false;
    address = std::move(*found);
    return true;
}

void TBrowserAddressReader::Remember(TWindowId window, TPlace place) {
    // Windows come and go; their handles are not told when they go.
    if (places_.size() >= kMaxRememberedWindows && places_.count(window) == 0) places_.clear();
    places_[window] = std::move(place);
}

}  // namespace vh
