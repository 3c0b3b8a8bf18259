#pragma once
// An accessible object of another window (oleacc), possibly in another
// process. Children are reached through AccessibleChildren, the object's
// IEnumVARIANT (read one element at a time) or accNavigate.
//
// Interface ids are taken with __uuidof: with mingw-w64, IID_IAccessible from
// liboleacc.a resolves to an import thunk instead of the GUID, and every
// request for IAccessible then fails with E_NOINTERFACE.

#include <oleacc.h>
#include <wrl/client.h>

#include "platform/IAccessibleObject.h"

namespace vh::win32 {

class AccessibleObject : public IAccessibleObject {
public:
    explicit AccessibleObject(Microsoft::WRL::ComPtr<IAccessible> accessible) : accessible_(std::move(accessible)) {}

    std::optional<std::int32_t> Role() override;
    std::optional<std::string> Value() override;
    std::optional<std::string> AccessibleName() override;
    std::optional<std::int32_t> State() override;
    std::optional<std::int32_t> ChildCount() override;
    std::optional<std::vector<TAccessibleChild>> Children(std::int32_t count) override;
    std::unique_ptr<IAccessibleEnumerator> Enumerator() override;
    TAccessibleChild Navigate(TNavigation direction, const TAccessibleChild& start) override;
    std::shared_ptr<IAccessibleObject> Child(std::int32_t childId) override;
    bool SameObject(const IAccessibleObject& other) const override;

    IAccessible* Get() const noexcept { return accessible_.Get(); }

private:
    Microsoft::WRL::ComPtr<IAccessible> accessible_;
};

// What a VARIANT handed back by an accessibility call stands for.
TAccessibleChild ChildFromVariant(const VARIANT& value);

}  // namespace vh::win32
