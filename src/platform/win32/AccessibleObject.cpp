#include "platform/win32/AccessibleObject.h"

#include <oleauto.h>
#include <windows.h>

#include <memory>
#include <vector>

#include "platform/win32/Utf16.h"
#include "platform/win32/Variant.h"

namespace vh::win32 {

namespace {

using Microsoft::WRL::ComPtr;

// VARIANTs an accessibility call fills in bulk, all cleared at the end.
class VariantArray {
public:
    explicit VariantArray(size_t count) : values_(count) {
        for (VARIANT& value : values_) VariantInit(&value);
    }
    ~VariantArray() {
        for (VARIANT& value : values_) VariantClear(&value);
    }
    VariantArray(const VariantArray&) = delete;
    VariantArray& operator=(const VariantArray&) = delete;

    VARIANT* Data() noexcept { return values_.data(); }
    const VARIANT& operator[](size_t index) const { return values_[index]; }

private:
    std::vector<VARIANT> values_;
};

struct BstrFreer {
    void operator()(BSTR text) const noexcept { SysFreeString(text); }
};
using UniqueBstr = std::unique_ptr<OLECHAR, BstrFreer>;

VARIANT Self() {
    VARIANT self;
    VariantInit(&self);
    self.vt = VT_I4;
    self.lVal = CHILDID_SELF;
    return self;
}

std::optional<std::int32_t> IntegerOf(const UniqueVariant& value) {
    if (value.Get().vt != VT_I4) return std::nullopt;
    return static_cast<std::int32_t>(value.Get().lVal);
}

// The start of a navigation as a VARIANT; objects are lent, not owned.
VARIANT StartVariant(const TAccessibleChild& start) {
    VARIANT value;
    VariantInit(&value);
    switch (start.Kind) {
        case TAccessibleChild::TKind::ChildId:
            value.vt = VT_I4;
            value.lVal = start.ChildId;
            break;
        case TAccessibleChild::TKind::Object:
            if (auto* object = dynamic_cast<const AccessibleObject*>(start.Object.get())) {
                value.vt = VT_DISPATCH;
                value.pdispVal = object->Get();
            }
            break;
        case TAccessibleChild::TKind::Empty:
        case TAccessibleChild::TKind::Other: break;
    }
    return value;
}

std::shared_ptr<IAccessibleObject> FromDispatch(IDispatch* dispatch) {
    if (dispatch == nullptr) return nullptr;
    ComPtr<IAccessible> accessible;
    if (FAILED(dispatch->QueryInterface(__uuidof(IAccessible), reinterpret_cast<void**>(accessible.GetAddressOf()))) ||
        !accessible)
        return nullptr;
    return std::make_shared<AccessibleObject>(std::move(accessible));
}

class Enumerator : public IAccessibleEnumerator {
public:
    explicit Enumerator(ComPtr<IEnumVARIANT> enumerator) : enumerator_(std::move(enumerator)) {}

    std::optional<TAccessibleChild> Next() override {
        UniqueVariant value;
        ULONG fetched = 0;
        // ADsEnumerateNext does no more than this call, and Wine's activeds
        // only has a stub of it (E_NOTIMPL).
        if (FAILED(enumerator_->Next(1, value.Put(), &fetched)) || fetched == 0) return std::nullopt;
        return ChildFromVariant(value.Get());
    }

private:
    ComPtr<IEnumVARIANT> enumerator_;
};

}  // namespace

TAccessibleChild ChildFromVariant(const VARIANT& value) {
    switch (value.vt) {
        case VT_EMPTY: return TAccessibleChild();
        case VT_I4: return TAccessibleChild::FromId(static_cast<std::int32_t>(value.lVal));
        case VT_DISPATCH: return TAccessibleChild::FromObject(FromDispatch(value.pdispVal));
        default: return TAccessibleChild::OtherValue();
    }
}

std::optional<std::int32_t> AccessibleObject::Role() {
    UniqueVariant role;
    if (FAILED(accessible_->get_accRole(Self(), role.Put()))) return std::nullopt;
    return IntegerOf(role);
}

std::optional<std::string> AccessibleObject::Value() {
    BSTR raw = nullptr;
    const HRESULT hr = accessible_->get_accValue(Self(), &raw);
    UniqueBstr value(raw);
    if (FAILED(hr)) return std::nullopt;
    if (!value) return std::string();
    return WideToUtf8(std::wstring_view(value.get(), SysStringLen(value.get())));
}

std::optional<std::string> AccessibleObject::AccessibleName() {
    BSTR raw = nullptr;
    const HRESULT hr = accessible_->get_accName(Self(), &raw);
    UniqueBstr name(raw);
    if (FAILED(hr)) return std::nullopt;
    if (!name) return std::string();
    return WideToUtf8(std::wstring_view(name.get(), SysStringLen(name.get())));
}

std::optional<std::int32_t> AccessibleObject::State() {
    UniqueVariant state;
    if (FAILED(accessible_->get_accState(Self(), state.Put()))) return std::nullopt;
    return IntegerOf(state);
}

std::optional<std::int32_t> AccessibleObject::ChildCount() {
    long count = 0;
    if (FAILED(accessible_->get_accChildCount(&count))) return std::nullopt;
    return static_cast<std::int32_t>(count);
}

std::optional<std::vector<TAccessibleChild>> AccessibleObject::Children(std::int32_t count) {
    if (count <= 0) return std::vector<TAccessibleChild>();
    VariantArray values(static_cast<size_t>(count));
    LONG obtained = 0;
    if (FAILED(AccessibleChildren(accessible_.Get(), 0, count, values.Data(), &obtained))) return std::nullopt;
    std::vector<TAccessibleChild> children;
    for (LONG i = 0; i < obtained && i < count; ++i)
        children.push_back(ChildFromVariant(values[static_cast<size_t>(i)]));
    return children;
}

std::unique_ptr<IAccessibleEnumerator> AccessibleObject::Enumerator() {
    ComPtr<IEnumVARIANT> enumerator;
    if (FAILED(accessible_.As(&enumerator)) || !enumerator) return nullptr;
    // The enumerator is the object's own: start from the first child whatever
    // an earlier reader left behind.
    enumerator->Reset();
    return std::make_unique<class Enumerator>(std::move(enumerator));
}

TAccessibleChild AccessibleObject::Navigate(TNavigation direction, const TAccessibleChild& start) {
    UniqueVariant result;
    if (FAILED(accessible_->accNavigate(static_cast<long>(direction), StartVariant(start), result.Put())))
        return TAccessibleChild();
    return ChildFromVariant(result.Get());
}

std::shared_ptr<IAccessibleObject> AccessibleObject::Child(std::int32_t childId) {
    VARIANT id;
    VariantInit(&id);
    id.vt = VT_I4;
    id.lVal = childId;
    ComPtr<IDispatch> dispatch;
    if (FAILED(accessible_->get_accChild(id, dispatch.GetAddressOf()))) return nullptr;
    return FromDispatch(dispatch.Get());
}

bool AccessibleObject::SameObject(const IAccessibleObject& other) const {
    const auto* win32 = dynamic_cast<const AccessibleObject*>(&other);
    if (win32 == nullptr) return false;
    // COM identity: the same object answers IUnknown with the same pointer.
    ComPtr<IUnknown> mine;
    ComPtr<IUnknown> theirs;
    if (FAILED(accessible_.As(&mine)) || FAILED(win32->accessible_.As(&theirs))) return false;
    return mine.Get() == theirs.Get();
}

}  // namespace vh::win32
