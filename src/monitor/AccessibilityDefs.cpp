#include "monitor/AccessibilityDefs.h"

#include <algorithm>
#include <memory>
#include <optional>
#include <vector>

#include "common/Exceptions.h"

namespace vh {

namespace {

// Hands the children of `parent` to `step` until it returns false (then
// false). Children are taken from AccessibleChildren, else from the object's
// enumerator, else by navigation.
template <class TStep>
bool ForEachChild(IAccessibleObject& parent, std::int32_t count, TStep&& step) {
    if (std::optional<std::vector<TAccessibleChild>> children = parent.Children(count)) {
        for (const TAccessibleChild& child : *children)
            if (!step(child)) return false;
        return true;
    }
    if (std::unique_ptr<IAccessibleEnumerator> enumerator = parent.Enumerator()) {
        // An enumerator that never says it is done would otherwise hold the
        // program's only thread; the child count bounds it, as it bounds
        // AccessibleChildren.
        for (std::int32_t i = 0; i < count; ++i) {
            std::optional<TAccessibleChild> child = enumerator->Next();
            if (!child) break;
            if (!step(*child)) return false;
        }
        return true;
    }
    // Navigation stops at an empty result or at a child equal to the one
    // before it; the child count also ends a chain that runs in a circle.
    TAccessibleChild previous = parent.Navigate(TNavigation::FirstChild, TAccessibleChild::FromId(0));
    for (std::int32_t i = 0; i < count && previous.Kind != TAccessibleChild::TKind::Empty; ++i) {
        if (!step(previous)) return false;
        TAccessibleChild next = parent.Navigate(TNavigation::Next, previous);
        if (next.SameAs(previous)) break;
        previous = std::move(next);
    }
    return true;
}

class TWalk {
public:
    TWalk(TAccessibleVisitor visitor, void* data, int maxDepth) : visitor_(visitor), data_(data), maxDepth_(maxDepth) {}

    bool Visit(IAccessibleObject* object, int depth) {
        if (object == nullptr || depth > maxDepth_) return true;
        if (!visitor_(*object, data_, depth)) return false;
        // Children of the deepest level would never be visited: spare the calls.
        if (depth >= maxDepth_) return true;
        const std::optional<std::int32_t> count = object->ChildCount();
        if (!count || *count <= 0) return true;
        // The count comes from another program and sizes the buffer of
        // AccessibleChildren: a wild value must not claim gigabytes.
        return VisitChildren(*object, std::min(*count, kMaxAccessibleChildren), depth + 1);
    }

private:
    bool VisitChildren(IAccessibleObject& parent, std::int32_t count, int depth) {
        return ForEachChild(parent, count,
                            [&](const TAccessibleChild& child) { return VisitChild(parent, child, depth); });
    }

    bool VisitChild(IAccessibleObject& parent, const TAccessibleChild& child, int depth) {
        if (depth - 1 >= maxDepth_) return true;
        std::shared_ptr<IAccessibleObject> object = ResolveAccessibleChild(parent, child);
        return object ? Visit(object.get(), depth) : true;
    }

    TAccessibleVisitor visitor_;
    void* data_;
    int maxDepth_;
};

}  // namespace

std::vector<TAccessibleChild> ListAccessibleChildren(IAccessibleObject& parent, std::int32_t count) {
    std::vector<TAccessibleChild> children;
    ForEachChild(parent, std::min(count, kMaxAccessibleChildren), [&](const TAccessibleChild& child) {
        children.push_back(child);
        return true;
    });
    return children;
}

std::shared_ptr<IAccessibleObject> ResolveAccessibleChild(IAccessibleObject& parent, const TAccessibleChild& child) {
    switch (child.Kind) {
        case TAccessibleChild::TKind::ChildId: return parent.Child(child.ChildId);
        case TAccessibleChild::TKind::Object: return child.Object;
        case TAccessibleChild::TKind::Empty:
        case TAccessibleChild::TKind::Other: return nullptr;
    }
    return nullptr;
}

void WalkAccessibleTree(IWindowSystem& windows, TWindowId window, TAccessibleVisitor visitor, void* data,
                        int maxDepth) {
    VH_ASSERT(visitor != nullptr);
    std::shared_ptr<IAccessibleObject> root = windows.AccessibleObjectFromWindow(window);
    if (!root) return;
    TWalk(visitor, data, maxDepth).Visit(root.get(), 0);
}

}  // namespace vh
