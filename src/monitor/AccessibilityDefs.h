#pragma once
// A depth-limited walk over a window's accessibility tree, and the roles and
// states the probe looks for.

#include <cstdint>
#include <memory>
#include <vector>

#include "platform/IAccessibleObject.h"
#include "platform/IWindowSystem.h"

namespace vh {

inline constexpr std::int32_t kRoleSystemTitleBar = 1;
inline constexpr std::int32_t kRoleSystemMenuBar = 2;
inline constexpr std::int32_t kRoleSystemScrollBar = 3;
inline constexpr std::int32_t kRoleSystemMenuPopup = 11;
inline constexpr std::int32_t kRoleSystemMenuItem = 12;
inline constexpr std::int32_t kRoleSystemDocument = 15;
inline constexpr std::int32_t kRoleSystemPane = 16;
inline constexpr std::int32_t kRoleSystemGrouping = 20;
inline constexpr std::int32_t kRoleSystemToolBar = 22;
inline constexpr std::int32_t kRoleSystemStatusBar = 23;
inline constexpr std::int32_t kRoleSystemLink = 30;
inline constexpr std::int32_t kRoleSystemList = 33;
inline constexpr std::int32_t kRoleSystemListItem = 34;
inline constexpr std::int32_t kRoleSystemOutline = 35;
inline constexpr std::int32_t kRoleSystemOutlineItem = 36;
inline constexpr std::int32_t kRoleSystemPageTab = 37;
inline constexpr std::int32_t kRoleSystemGraphic = 40;
inline constexpr std::int32_t kRoleSystemStaticText = 41;
inline constexpr std::int32_t kRoleSystemText = 42;
inline constexpr std::int32_t kRoleSystemPushButton = 43;
inline constexpr std::int32_t kRoleSystemPageTabList = 60;
inline constexpr std::int32_t kStateSystemInvisible = 0x00008000;
inline constexpr std::int32_t kStateSystemOffscreen = 0x00010000;
inline constexpr std::int32_t kStateSystemFocused = 0x00000004;
inline constexpr std::int32_t kStateSystemHotTracked = 0x00000080;
inline constexpr std::int32_t kStateSystemFocusable = 0x00100000;

// The most children taken from one object; no address bar lies further on.
inline constexpr std::int32_t kMaxAccessibleChildren = 10000;

// The children of `parent` as the walk below takes them (`count` at most):
// from AccessibleChildren, else from the object's enumerator, else by
// navigation. Failed calls give fewer children.
std::vector<TAccessibleChild> ListAccessibleChildren(IAccessibleObject& parent, std::int32_t count);
// The object a listed child stands for (through get_accChild for a child
// id); null when there is none.
std::shared_ptr<IAccessibleObject> ResolveAccessibleChild(IAccessibleObject& parent, const TAccessibleChild& child);

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
