#include "doubles/win32/FakeAccessibleServer.h"

#include <oleauto.h>

#include <memory>
#include <utility>

namespace vh::testing::win32 {

using Microsoft::WRL::ComPtr;

ComPtr<FakeAccessibleNode> FakeAccessibleNode::Create(long role, std::optional<std::wstring> value,
                                                      std::optional<long> state) {
    // COM objects own themselves: the last Release deletes them.
    ComPtr<FakeAccessibleNode> node;
    node.Attach(new FakeAccessibleNode(role, std::move(value), state));
    return node;
}

FakeAccessibleNode::FakeAccessibleNode(long role, std::optional<std::wstring> value, std::optional<long> state)
    : role_(role), value_(std::move(value)), state_(state) {}

FakeAccessibleNode* FakeAccessibleNode::Add(ComPtr<FakeAccessibleNode> child) {
    children_.push_back(std::move(child));
    return children_.back().Get();
}

int FakeAccessibleNode::CountNodes() const {
    int count = 1;
    for (const auto& child : children_) count += child->CountNodes();
    return count;
}

std::atomic<long> FakeAccessibleNode::calls_{0};

bool FakeAccessibleNode::IsSelf(const VARIANT& childId) noexcept {
    return childId.vt == VT_I4 && childId.lVal == CHILDID_SELF;
}

HRESULT FakeAccessibleNode::QueryInterface(REFIID riid, void** object) {
    ++calls_;
    if (object == nullptr) return E_POINTER;
    *object = nullptr;
    if (riid == IID_IUnknown || riid == IID_IDispatch || riid == __uuidof(IAccessible))
        *object = static_cast<IAccessible*>(this);
    else if (riid == __uuidof(IEnumVARIANT) && access_ == TChildAccess::Enumerator)
        *object = static_cast<IEnumVARIANT*>(this);
    else
        return E_NOINTERFACE;
    AddRef();
    return S_OK;
}

ULONG FakeAccessibleNode::AddRef() {
    return ++references_;
}

ULONG FakeAccessibleNode::Release() {
    const ULONG left = --references_;
    if (left == 0) delete this;
    return left;
}

HRESULT FakeAccessibleNode::GetTypeInfoCount(UINT* count) {
    if (count != nullptr) *count = 0;
    return S_OK;
}
HRESULT FakeAccessibleNode::GetTypeInfo(UINT, LCID, ITypeInfo**) {
    return E_NOTIMPL;
}
HRESULT FakeAccessibleNode::GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) {
    return E_NOTIMPL;
}
HRESULT FakeAccessibleNode::Invoke(DISPID, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*, UINT*) {
    return E_NOTIMPL;
}

HRESULT FakeAccessibleNode::get_accParent(IDispatch** parent) {
    if (parent != nullptr) *parent = nullptr;
    return S_FALSE;
}

HRESULT FakeAccessibleNode::get_accChildCount(long* count) {
    ++calls_;
    if (count == nullptr) return E_POINTER;
    *count = static_cast<long>(children_.size());
    return S_OK;
}

HRESULT FakeAccessibleNode::get_accChild(VARIANT childId, IDispatch** child) {
    ++calls_;
    if (child == nullptr) return E_POINTER;
    *child = nullptr;
    if (childId.vt != VT_I4 || childId.lVal < 1 || childId.lVal > static_cast<long>(children_.size()))
        return E_INVALIDARG;
    children_[static_cast<size_t>(childId.lVal - 1)]->AddRef();
    *child = static_cast<IAccessible*>(children_[static_cast<size_t>(childId.lVal - 1)].Get());
    return S_OK;
}

HRESULT FakeAccessibleNode::get_accName(VARIANT, BSTR* name) {
    if (name != nullptr) *name = nullptr;
    return S_FALSE;
}

HRESULT FakeAccessibleNode::get_accValue(VARIANT childId, BSTR* value) {
    ++calls_;
    if (value == nullptr) return E_POINTER;
    *value = nullptr;
    if (!IsSelf(childId)) return E_INVALIDARG;
    if (!value_) return DISP_E_MEMBERNOTFOUND;
    *value = SysAllocStringLen(value_->data(), static_cast<UINT>(value_->size()));
    return *value != nullptr ? S_OK : E_OUTOFMEMORY;
}

HRESULT FakeAccessibleNode::get_accDescription(VARIANT, BSTR* description) {
    if (description != nullptr) *description = nullptr;
    return S_FALSE;
}

HRESULT FakeAccessibleNode::get_accRole(VARIANT childId, VARIANT* role) {
    ++calls_;
    if (role == nullptr) return E_POINTER;
    VariantInit(role);
    if (!IsSelf(childId)) return E_INVALIDARG;
    role->vt = VT_I4;
    role->lVal = role_;
    return S_OK;
}

HRESULT FakeAccessibleNode::get_accState(VARIANT childId, VARIANT* state) {
    ++calls_;
    if (state == nullptr) return E_POINTER;
    VariantInit(state);
    if (!IsSelf(childId)) return E_INVALIDARG;
    if (!state_) return DISP_E_MEMBERNOTFOUND;
    state->vt = VT_I4;
    state->lVal = *state_;
    return S_OK;
}

HRESULT FakeAccessibleNode::get_accHelp(VARIANT, BSTR* help) {
    if (help != nullptr) *help = nullptr;
    return S_FALSE;
}
HRESULT FakeAccessibleNode::get_accHelpTopic(BSTR* helpFile, VARIANT, long* topic) {
    if (helpFile != nullptr) *helpFile = nullptr;
    if (topic != nullptr) *topic = 0;
    return S_FALSE;
}
HRESULT FakeAccessibleNode::get_accKeyboardShortcut(VARIANT, BSTR* shortcut) {
    if (shortcut != nullptr) *shortcut = nullptr;
    return S_FALSE;
}
HRESULT FakeAccessibleNode::get_accFocus(VARIANT* child) {
    if (child != nullptr) VariantInit(child);
    return S_FALSE;
}
HRESULT FakeAccessibleNode::get_accSelection(VARIANT* children) {
    if (children != nullptr) VariantInit(children);
    return S_FALSE;
}
HRESULT FakeAccessibleNode::get_accDefaultAction(VARIANT, BSTR* action) {
    if (action != nullptr) *action = nullptr;
    return S_FALSE;
}
HRESULT FakeAccessibleNode::accSelect(long, VARIANT) {
    return E_NOTIMPL;
}
HRESULT FakeAccessibleNode::accLocation(long* left, long* top, long* width, long* height, VARIANT) {
    for (long* value : {left, top, width, height})
        if (value != nullptr) *value = 0;
    return E_NOTIMPL;
}

HRESULT FakeAccessibleNode::accNavigate(long direction, VARIANT start, VARIANT* end) {
    ++calls_;
    if (end == nullptr) return E_POINTER;
    VariantInit(end);
    if (start.vt != VT_I4) return E_INVALIDARG;
    long target = 0;
    if (direction == NAVDIR_FIRSTCHILD && start.lVal == CHILDID_SELF)
        target = 1;
    else if (direction == NAVDIR_NEXT && start.lVal >= 1)
        target = start.lVal + 1;
    else
        return E_INVALIDARG;
    if (target > static_cast<long>(children_.size())) return S_FALSE;
    end->vt = VT_I4;
    end->lVal = target;
    return S_OK;
}

HRESULT FakeAccessibleNode::accHitTest(long, long, VARIANT* child) {
    if (child != nullptr) VariantInit(child);
    return S_FALSE;
}
HRESULT FakeAccessibleNode::accDoDefaultAction(VARIANT) {
    return E_NOTIMPL;
}
HRESULT FakeAccessibleNode::put_accName(VARIANT, BSTR) {
    return E_NOTIMPL;
}
HRESULT FakeAccessibleNode::put_accValue(VARIANT, BSTR) {
    return E_NOTIMPL;
}

HRESULT FakeAccessibleNode::Next(ULONG count, VARIANT* values, ULONG* fetched) {
    ++calls_;
    if (values == nullptr) return E_POINTER;
    ULONG given = 0;
    for (; given < count && nextChild_ < children_.size(); ++given, ++nextChild_) {
        VariantInit(&values[given]);
        children_[nextChild_]->AddRef();
        values[given].vt = VT_DISPATCH;
        values[given].pdispVal = static_cast<IAccessible*>(children_[nextChild_].Get());
    }
    if (fetched != nullptr) *fetched = given;
    return given == count ? S_OK : S_FALSE;
}

HRESULT FakeAccessibleNode::Skip(ULONG count) {
    nextChild_ += count;
    return nextChild_ <= children_.size() ? S_OK : S_FALSE;
}

HRESULT FakeAccessibleNode::Reset() {
    nextChild_ = 0;
    return S_OK;
}

HRESULT FakeAccessibleNode::Clone(IEnumVARIANT** copy) {
    if (copy != nullptr) *copy = nullptr;
    return E_NOTIMPL;
}

namespace {
// Children at depths level + 1 to `levels`.
void Grow(FakeAccessibleNode& node, int level, int levels, const std::vector<int>& fanOut) {
    if (level >= levels) return;
    const int children = fanOut.empty() ? 1 : fanOut[static_cast<size_t>(level) % fanOut.size()];
    for (int i = 0; i < children; ++i)
        Grow(*node.Add(FakeAccessibleNode::Create(ROLE_SYSTEM_GROUPING)), level + 1, levels, fanOut);
}
}  // namespace

ComPtr<FakeAccessibleNode> MakeBrowserTree(int levels, const std::vector<int>& fanOut, const std::wstring& address) {
    ComPtr<FakeAccessibleNode> root = FakeAccessibleNode::Create(ROLE_SYSTEM_WINDOW);
    if (levels <= 0) return root;
    root->Add(FakeAccessibleNode::Create(ROLE_SYSTEM_TEXT, L"about:blank", STATE_SYSTEM_FOCUSABLE));
    Grow(*root.Get(), 0, levels - 1, fanOut);
    FakeAccessibleNode* parent = root.Get();
    while (parent->LastChild() != nullptr && parent->LastChild()->ChildCountValue() > 0) parent = parent->LastChild();
    if (levels > 1) parent = parent->LastChild() != nullptr ? parent->LastChild() : parent;
    parent->Add(FakeAccessibleNode::Create(ROLE_SYSTEM_TEXT, address, STATE_SYSTEM_FOCUSABLE));
    return root;
}

LRESULT AnswerGetObject(FakeAccessibleNode* root, WPARAM wParam, LPARAM lParam) {
    const auto objectId = static_cast<LONG>(lParam);
    if (root == nullptr || (objectId != OBJID_WINDOW && objectId != OBJID_CLIENT)) return 0;
    return LresultFromObject(__uuidof(IAccessible), wParam, static_cast<IAccessible*>(root));
}

}  // namespace vh::testing::win32
