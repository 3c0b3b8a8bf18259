#pragma once
// One object of another program's accessibility tree, reduced to what the
// probe reads: role, name, value, state and the three ways of reaching
// children.

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace vh {

class IAccessibleObject;

// A child as the accessibility calls hand it back: nothing, a child id to be
// resolved through its parent, or an object of its own.
struct TAccessibleChild {
    enum class TKind : std::uint8_t {
        Empty,
        ChildId,
        Object,  // held an interface; Object is null when it was no accessible object
        Other,   // any other value
    };
    TKind Kind = TKind::Empty;
    std::int32_t ChildId = 0;
    std::shared_ptr<IAccessibleObject> Object;

    static TAccessibleChild FromId(std::int32_t id) { return {TKind::ChildId, id, nullptr}; }
    static TAccessibleChild FromObject(std::shared_ptr<IAccessibleObject> object) {
        return {TKind::Object, 0, std::move(object)};
    }
    static TAccessibleChild OtherValue() { return {TKind::Other, 0, nullptr}; }

    // Same kind and same id, or the same object.
    bool SameAs(const TAccessibleChild& other) const;
};

// Reads children one at a time (an IEnumVARIANT).
class IAccessibleEnumerator {
public:
    virtual ~IAccessibleEnumerator() = default;
    // The next child, or nothing once the enumeration yields none.
    virtual std::optional<TAccessibleChild> Next() = 0;
};

enum class TNavigation : std::int32_t {
    Next = 5,        // NAVDIR_NEXT
    FirstChild = 7,  // NAVDIR_FIRSTCHILD
};

// Every query is about the object itself (CHILDID_SELF). A failed call gives
// nothing; the probe skips what it cannot read.
class IAccessibleObject {
public:
    virtual ~IAccessibleObject() = default;

    // Nothing when the call fails or the role is not a 32-bit integer.
    virtual std::optional<std::int32_t> Role() = 0;
    // UTF-8; nothing when the call fails.
    virtual std::optional<std::string> Value() = 0;
    // get_accName, UTF-8; nothing when the call fails. Chromium counts a
    // name read as the sign that a screen reader is there.
    virtual std::optional<std::string> AccessibleName() = 0;
    // Nothing when the call fails or the state is not a 32-bit integer.
    virtual std::optional<std::int32_t> State() = 0;
    virtual std::optional<std::int32_t> ChildCount() = 0;

    // AccessibleChildren(this, 0, count): nothing when that call fails.
    virtual std::optional<std::vector<TAccessibleChild>> Children(std::int32_t count) = 0;
    // The object's IEnumVARIANT, or null when it has none.
    virtual std::unique_ptr<IAccessibleEnumerator> Enumerator() = 0;
    // accNavigate(direction, start); Empty when it fails or finds nothing.
    virtual TAccessibleChild Navigate(TNavigation direction, const TAccessibleChild& start) = 0;
    // get_accChild(id): null when it fails or yields no accessible object.
    virtual std::shared_ptr<IAccessibleObject> Child(std::int32_t childId) = 0;

    // Whether both stand for the same underlying object.
    virtual bool SameObject(const IAccessibleObject& other) const = 0;
};

inline bool TAccessibleChild::SameAs(const TAccessibleChild& other) const {
    if (Kind != other.Kind) return false;
    switch (Kind) {
        case TKind::ChildId: return ChildId == other.ChildId;
        case TKind::Object:
            if (!Object || !other.Object) return Object == other.Object;
            return Object->SameObject(*other.Object);
        case TKind::Empty:
        case TKind::Other: return true;
    }
    return false;
}

}  // namespace vh
