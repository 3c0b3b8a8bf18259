#include "monitor/BrowserAddressReader.h"

#include <algorithm>
#include <initializer_list>
#include <memory>
#include <optional>
#include <string_view>
#include <utility>

#include "common/StringUtils.h"
#include "monitor/AccessibilityDefs.h"

namespace vh {

namespace {

// Roles whose objects hold neither a web document nor an address field:
// their children are never read. Tab strips, the buttons of toolbars and
// the lists and trees of side panels make up much of a browser's own tree.
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
        case kRoleSystemList:
        case kRoleSystemListItem:
        case kRoleSystemOutline:
        case kRoleSystemOutlineItem:
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
    bool FieldInUse = false;  // a text the user is typing in
};

// The deepest object an old Firefox's walk reads, as it always has.
constexpr int kOldFirefoxMaxDepth = 4;

bool HasAddressScheme(std::string_view text) {
    for (std::string_view scheme : {"http://", "https://", "ftp://", "ftps://"})
        if (StartsWith(text, scheme)) return true;
    return false;
}

enum class TDocument : std::uint8_t {
    Page,         // a shown web page: its value is the address
    Hidden,       // a background tab's, or not shown
    BrowserOwn,   // the browser's own interface, which may hold the page
    NotBuiltYet,  // no address yet (Chromium before its page accessibility runs)
};

TDocument CheckDocument(IAccessibleObject& document, std::string& address) {
    // Firefox keeps background tabs' documents in the tree, offscreen;
    // others hide them.
    const std::optional<std::int32_t> state = document.State();
    if (state && (*state & (kStateSystemInvisible | kStateSystemOffscreen)) != 0) return TDocument::Hidden;
    std::optional<std::string> value = document.Value();
    if (!value || Trim(*value).empty()) return TDocument::NotBuiltYet;
    if (IsBrowserOwnAddress(*value)) return TDocument::BrowserOwn;
    address = std::move(*value);
    return TDocument::Page;
}

bool IsFieldInUse(IAccessibleObject& field) {
    // The keyboard focus in the address field: what it shows is being typed.
    const std::optional<std::int32_t> state = field.State();
    return state && (*state & kStateSystemFocused) != 0;
}

// One walk: the document first, over the whole tree but the toolbars, whose
// address field is only the fallback and whose buttons are many. What it
// reads goes into `reached`, which a walk cut short leaves to the next one.
class TAddressWalk {
public:
    TAddressWalk(std::chrono::steady_clock::time_point deadline, const TBrowserAddressReader::TClock& clock,
                 std::map<TBrowserAddressReader::TPath, TReachedObject>& reached, TAddressSource source,
                 bool documentsOnly, bool toolbarsInPlace)
        : deadline_(deadline),
          clock_(clock),
          reached_(reached),
          source_(source),
          documentsOnly_(documentsOnly),
          toolbarsInPlace_(toolbarsInPlace) {}

    // False when the walk ran out of time.
    bool Run(const std::shared_ptr<IAccessibleObject>& root) {
        TReachedObject& start = reached_[path_];
        if (!start.Object) start.Object = root;
        Visit(0, false);
        for (std::size_t i = 0; !documentsOnly_ && i < toolbars_.size() && !cut_ && !found_; ++i) {
            path_ = toolbars_[i].Path;
            Visit(toolbars_[i].Depth, true);
        }
        // No document (yet, or not within the time): the field serves.
        if (!found_) found_ = field_;
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
        if (source_ == TAddressSource::OldFirefox) {
            if (role == kRoleSystemText) {
                std::string value = node.Object->Value().value_or(std::string());
                if (HasAddressScheme(value)) {
                    found_ = TFound{std::move(value), path_, role};
                    return false;
                }
                return true;
            }
            if (IsLeafRole(role) || depth >= kOldFirefoxMaxDepth) return true;
            return VisitChildren(node, depth, inToolbar);
        }
        if (role == kRoleSystemDocument) {
            std::string address;
            switch (CheckDocument(*node.Object, address)) {
                case TDocument::Page: found_ = TFound{std::move(address), path_, role}; return false;
                // Vivaldi's whole interface is a document holding the page's.
                case TDocument::BrowserOwn: break;
                // A page's children are the page: never the address.
                case TDocument::Hidden:
                case TDocument::NotBuiltYet: return true;
            }
        } else if (role == kRoleSystemText) {
            // A text outside the toolbars is no address field (a find bar).
            if (!inToolbar) return true;
            if (field_) return true;
            if (std::optional<std::string> address = AddressOfObject(*node.Object, role)) {
                TFound field{std::move(*address), path_, role, IsFieldInUse(*node.Object)};
                // Met where it stands: kept while the walk goes on for the document.
                if (toolbarsInPlace_) {
                    field_ = std::move(field);
                    return true;
                }
                found_ = std::move(field);
                return false;
            }
            return true;
        }
        if (IsLeafRole(role) || depth >= kAddressWalkMaxDepth) return true;
        if (role == kRoleSystemToolBar && !inToolbar) {
            if (toolbarsInPlace_ && !documentsOnly_) return VisitChildren(node, depth, true);
            toolbars_.push_back({path_, depth});
            return true;
        }
        return VisitChildren(node, depth, inToolbar);
    }

    bool VisitChildren(TReachedObject& node, int depth, bool inToolbar) {
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
    std::optional<TFound> field_;  // met on the way, when toolbars are walked where they stand
    bool cut_ = false;
    TAddressSource source_;
    bool documentsOnly_;
    bool toolbarsInPlace_;
};

}  // namespace

const char* AddressReadProblem(TAddressRead read) {
    switch (read) {
        case TAddressRead::Remembered:
        case TAddressRead::Walked:
        case TAddressRead::Document: return "";
        case TAddressRead::NotFound: return "its tree holds no page document or address field yet";
        case TAddressRead::Cut: return "the walk of its tree ran out of time";
        case TAddressRead::FieldInUse: return "only its address field was found, and the user is typing in it";
    }
    return "";
}

bool IsBrowserOwnAddress(std::string_view address) {
    // The interfaces of Vivaldi and of extensions, the browsers' settings
    // and start pages, DevTools docked in the window.
    for (std::string_view scheme : {"chrome-extension:", "chrome:", "about:", "vivaldi:", "edge:", "moz-extension:",
                                    "devtools:", "brave:", "opera:", "browser:"})
        if (address.size() >= scheme.size() && SameTextAscii(address.substr(0, scheme.size()), scheme)) return true;
    return false;
}

std::optional<std::string> AddressOfObject(IAccessibleObject& object, std::int32_t role) {
    if (role == kRoleSystemDocument) {
        std::string address;
        if (CheckDocument(object, address) != TDocument::Page) return std::nullopt;
        return address;
    }
    if (role != kRoleSystemText) return std::nullopt;
    std::optional<std::string> value = object.Value();
    if (!value || Trim(*value).empty()) return std::nullopt;
    return value;
}

TBrowserAddressReader::TWindowState& TBrowserAddressReader::StateOf(TWindowId window) {
    auto state = windowStates_.find(window);
    if (state == windowStates_.end()) {
        // Windows come and go; their handles are not told when they go.
        if (windowStates_.size() >= kMaxRememberedWindows) windowStates_.clear();
        state = windowStates_.emplace(window, TWindowState()).first;
    }
    return state->second;
}

TAddressRead TBrowserAddressReader::Read(TWindowId window, std::string& address, std::chrono::milliseconds budget,
                                         const std::vector<TWindowId>& pageWindows) {
    address.clear();
    // The window's own objects cost the most of all: they count against the budget.
    const auto deadline = clock_() + budget;
    // The page's document where Chromium keeps it: a few calls, no walk, and
    // the full address even before the tree of the browser's interface was read.
    constexpr std::size_t kMaxPageWindows = 4;
    for (std::size_t i = 0; i < pageWindows.size() && i < kMaxPageWindows && clock_() < deadline; ++i) {
        std::shared_ptr<IAccessibleObject> document = windows_.ClientAccessibleObject(pageWindows[i]);
        if (!document) continue;
        const std::optional<std::int32_t> role = document->Role();
        if (!role || *role != kRoleSystemDocument) continue;
        switch (CheckDocument(*document, address)) {
            case TDocument::Page: return TAddressRead::Document;
            case TDocument::NotBuiltYet:
                // Chromium starts its page accessibility once a client that
                // asked with object id 1 also reads a name
                // (ui/accessibility/platform/ax_platform.cc).
                document->AccessibleName();
                break;
            case TDocument::Hidden:
            case TDocument::BrowserOwn: break;
        }
        address.clear();
    }
    return ReadTree(window, TAddressSource::Current, address, deadline);
}

TAddressRead TBrowserAddressReader::ReadOldFirefox(TWindowId window, std::string& address,
                                                   std::chrono::milliseconds budget) {
    address.clear();
    return ReadTree(window, TAddressSource::OldFirefox, address, clock_() + budget);
}

TAddressRead TBrowserAddressReader::ReadTree(TWindowId window, TAddressSource source, std::string& address,
                                             std::chrono::steady_clock::time_point deadline) {
    TWindowState& state = StateOf(window);
    if (state.Source != source) state = TWindowState();
    state.Source = source;
    // The objects of the old path stay alive during the walk: those still in
    // the tree cost no new proxies to reach again.
    std::vector<std::shared_ptr<IAccessibleObject>> previousChain;
    if (!state.Chain.empty()) {
        if (std::optional<TAddressRead> read = ReadRemembered(state, address)) {
            if (state.Role != kRoleSystemText || source == TAddressSource::OldFirefox) return *read;
            // The address field is only the fallback: the page's document,
            // once it is there (Firefox adds it late), is taken instead.
            const TPath fieldPath = state.Path;
            std::vector<std::shared_ptr<IAccessibleObject>> fieldChain = state.Chain;
            std::string document;
            const TAddressRead walked = Walk(state, deadline, document, true);
            if (walked == TAddressRead::Walked) {
                address = std::move(document);
                return walked;
            }
            state.Path = fieldPath;
            state.Role = kRoleSystemText;
            state.Chain = std::move(fieldChain);
            return *read;
        }
        // Navigated, another tab, a changed tree: look again.
        address.clear();
        previousChain = std::move(state.Chain);
        state.Chain.clear();
    }
    if (!state.Root)
        state.Root = source == TAddressSource::OldFirefox ? windows_.AccessibleObjectFromWindow(window)
                                                          : windows_.ClientAccessibleObject(window);
    const TAddressRead result = state.Root ? Walk(state, deadline, address, false) : TAddressRead::NotFound;
    // A tree not built yet, a window gone: the next read starts afresh.
    if (result == TAddressRead::NotFound) windowStates_.erase(window);
    return result;
}

bool TBrowserAddressReader::Remembers(TWindowId window) const {
    auto state = windowStates_.find(window);
    return state != windowStates_.end() && !state->second.Chain.empty();
}

TAddressRead TBrowserAddressReader::Walk(TWindowState& state, std::chrono::steady_clock::time_point deadline,
                                         std::string& address, bool documentsOnly) {
    TAddressWalk walk(deadline, clock_, state.Reached, state.Source, documentsOnly, true);
    const bool complete = walk.Run(state.Root);
    // A walk cut short takes nothing but an address field it has met: the
    // objects reached stay for the next walk, which looks for the document.
    if (!complete && (!walk.Found() || walk.Found()->Role != kRoleSystemText)) return TAddressRead::Cut;
    if (!walk.Found()) {
        // Looked for documents only: the next look reads the tree afresh.
        if (documentsOnly) state.Reached.clear();
        return TAddressRead::NotFound;
    }
    const TFound& found = *walk.Found();
    state.Path = found.Path;
    state.Role = found.Role;
    state.Chain.clear();
    TPath prefix;
    state.Chain.push_back(state.Reached.at(prefix).Object);
    for (std::int32_t index : found.Path) {
        prefix.push_back(index);
        state.Chain.push_back(state.Reached.at(prefix).Object);
    }
    if (complete) state.Reached.clear();
    if (found.FieldInUse) return TAddressRead::FieldInUse;
    address = found.Address;
    return TAddressRead::Walked;
}

std::optional<TAddressRead> TBrowserAddressReader::ReadRemembered(TWindowState& state, std::string& address) {
    // Each level is asked again for its child: a tab that navigated or
    // switched puts other objects on the path, which the role check or the
    // document's state then refuses.
    for (std::size_t level = 0; level < state.Path.size(); ++level) {
        std::shared_ptr<IAccessibleObject> child = ChildAtIndex(*state.Chain[level], state.Path[level]);
        if (!child) return std::nullopt;
        state.Chain[level + 1] = std::move(child);
    }
    IAccessibleObject& object = *state.Chain.back();
    const std::optional<std::int32_t> role = object.Role();
    if (!role || *role != state.Role) return std::nullopt;
    if (state.Source == TAddressSource::OldFirefox) {
        std::string value = object.Value().value_or(std::string());
        if (!HasAddressScheme(value)) return std::nullopt;
        address = std::move(value);
        return TAddressRead::Remembered;
    }
    std::optional<std::string> found = AddressOfObject(object, *role);
    if (!found) return std::nullopt;
    if (*role == kRoleSystemText && IsFieldInUse(object)) return TAddressRead::FieldInUse;
    address = std::move(*found);
    return TAddressRead::Remembered;
}

}  // namespace vh
