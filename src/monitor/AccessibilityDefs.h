#pragma once
// A depth-limited walk over a window's accessibility tree, and the roles and
// states the probe looks for.

#include <cstdint>

#include "platform/IAccessibleObject.h"
#include "platform/IWindowSystem.h"

namespace vh {

inline constexpr std::int32_t kRoleSystemText = 42;
inline constexpr std::int32_t kStateSystemFocused = 0x00000004;
inline constexpr std::int32_t kStateSystemHotTracked = 0x00000080;
inline constexpr std::int32_t kStateSystemFocusable = 0x00100000;

// The most children taken from one object; no address bar lies further on.
inline constexpr std::int32_t kMaxAccessibleChildren = 10000;

// Called for each object with the caller's data and the object's depth (the
// window's own object is depth 0); false ends the whole walk.
using TAccessibleVisitor = bool (*)(IAccessibleObject& object, void* data, int depth);

// Visits the window's accessible object and its descendants in pre-order,
// for depths 0 to `maxDepth` inclusive. Children are taken from
// AccessibleChildren, else from the object's enumerator, else by navigation;
// at most as many per object as its child count, so a tree that never ends
// its enumeration cannot hold the walk. Failed calls are skipped. Asserts
// that a visitor is given.
void WalkAccessibleTree(IWindowSystem& windows, TWindowId window, TAccessibleVisitor visitor, void* data, int maxDepth);

}  // namespace vh
