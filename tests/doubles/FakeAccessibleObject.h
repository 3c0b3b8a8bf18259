#pragma once
// An accessible object of a made-up tree. Each object offers its children in
// one of the ways real programs do, and may misbehave as broken ones do.

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/IAccessibleObject.h"

namespace vh::testing {

class FakeAccessibleObject : public IAccessibleObject, public std::enable_shared_from_this<FakeAccessibleObject> {
public:
    enum class TChildAccess {
        ChildrenAsObjects,  // AccessibleChildren gives objects
        ChildrenAsIds,      // AccessibleChildren gives child ids
        Enumerator,         // AccessibleChildren fails; an enumerator gives objects
        Navigation,         // only accNavigate, giving child ids
        NavigationObjects,  // only accNavigate, giving objects
        Nothing,            // every way fails
    };

    explicit FakeAccessibleObject(std::string name, std::vector<std::string>* log = nullptr)
        : Name(std::move(name)), Log(log) {}

    std::string Name;
    std::vector<std::string>* Log;  // names of the calls made, when given
    std::optional<std::int32_t> RoleValue;
    std::optional<std::string> ValueText;
    std::optional<std::string> NameText;
    int NameReads = 0;
    std::optional<std::int32_t> StateValue;
    std::optional<std::int32_t> ChildCountOverride;  // instead of the number of children
    TChildAccess Access = TChildAccess::ChildrenAsObjects;
    bool EndlessEnumerator = false;   // keeps yielding the first child
    bool CircularNavigation = false;  // the last child's next is the first child
    std::vector<std::shared_ptr<FakeAccessibleObject>> Kids;
    std::int32_t LastChildrenCount = -1;  // the count Children was last asked for

    std::shared_ptr<FakeAccessibleObject> Add(std::shared_ptr<FakeAccessibleObject> child) {
        Kids.push_back(child);
        return child;
    }

    std::optional<std::int32_t> Role() override { return RoleValue; }
    std::optional<std::string> Value() override { return ValueText; }
    std::optional<std::string> AccessibleName() override {
        Note("name");
        ++NameReads;
        return NameText;
    }
    std::optional<std::int32_t> State() override { return StateValue; }
    std::optional<std::int32_t> ChildCount() override {
        Note("count");
        if (ChildCountOverride) return ChildCountOverride;
        return static_cast<std::int32_t>(Kids.size());
    }

    std::optional<std::vector<TAccessibleChild>> Children(std::int32_t count) override {
        Note("children");
        LastChildrenCount = count;
        if (Access != TChildAccess::ChildrenAsObjects && Access != TChildAccess::ChildrenAsIds) return std::nullopt;
        std::vector<TAccessibleChild> result;
        for (std::int32_t i = 0; i < count && i < static_cast<std::int32_t>(Kids.size()); ++i)
            result.push_back(Reference(i, Access == TChildAccess::ChildrenAsObjects));
        return result;
    }

    std::unique_ptr<IAccessibleEnumerator> Enumerator() override {
        Note("enumerator");
        if (Access != TChildAccess::Enumerator) return nullptr;
        return std::make_unique<TEnumerator>(shared_from_this());
    }

    TAccessibleChild Navigate(TNavigation direction, const TAccessibleChild& start) override {
        Note("navigate");
        if (Access != TChildAccess::Navigation && Access != TChildAccess::NavigationObjects) return {};
        const bool asObjects = Access == TChildAccess::NavigationObjects;
        if (Kids.empty()) return {};
        if (direction == TNavigation::FirstChild) return Reference(0, asObjects);
        const int i = IndexOf(start);
        if (i < 0) return {};
        if (i + 1 < static_cast<int>(Kids.size())) return Reference(i + 1, asObjects);
        return CircularNavigation ? Reference(0, asObjects) : TAccessibleChild{};
    }

    std::shared_ptr<IAccessibleObject> Child(std::int32_t childId) override {
        Note("child");
        if (childId < 1 || childId > static_cast<std::int32_t>(Kids.size())) return nullptr;
        return Kids[childId - 1];
    }

    bool SameObject(const IAccessibleObject& other) const override { return this == &other; }

private:
    class TEnumerator : public IAccessibleEnumerator {
    public:
        explicit TEnumerator(std::shared_ptr<FakeAccessibleObject> owner) : owner_(std::move(owner)) {}
        std::optional<TAccessibleChild> Next() override {
            if (owner_->EndlessEnumerator && !owner_->Kids.empty()) return owner_->Reference(0, true);
            if (next_ >= owner_->Kids.size()) return std::nullopt;
            return owner_->Reference(static_cast<int>(next_++), true);
        }

    private:
        std::shared_ptr<FakeAccessibleObject> owner_;
        std::size_t next_ = 0;
    };

    TAccessibleChild Reference(int index, bool asObject) const {
        return asObject ? TAccessibleChild::FromObject(Kids[index]) : TAccessibleChild::FromId(index + 1);
    }

    int IndexOf(const TAccessibleChild& child) const {
        for (std::size_t i = 0; i < Kids.size(); ++i)
            if (child.SameAs(Reference(static_cast<int>(i), child.Kind == TAccessibleChild::TKind::Object)))
                return static_cast<int>(i);
        return -1;
    }

    void Note(const char* call) const {
        if (Log != nullptr) Log->push_back(Name + "." + call);
    }
};

// A named object with the given role, value and state.
inline std::shared_ptr<FakeAccessibleObject> MakeAccessible(std::string name, std::optional<std::int32_t> role = {},
                                                            std::optional<std::string> value = {},
                                                            std::optional<std::int32_t> state = {}) {
    auto object = std::make_shared<FakeAccessibleObject>(std::move(name));
    object->RoleValue = role;
    object->ValueText = std::move(value);
    object->StateValue = state;
    return object;
}

}  // namespace vh::testing
