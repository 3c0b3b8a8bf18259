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

void FakeAccessibleNode::ReplaceChild(size_t index, ComPtr<FakeAccessibleNode> child) {
    children_.at(index) = std::move(child);
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

namespace {

FakeAccessibleNode* AddNode(FakeAccessibleNode& parent, long role, std::optional<std::wstring> value = {},
                            std::optional<long> state = {}) {
    return parent.Add(FakeAccessibleNode::Create(role, std::move(value), state));
}

void AddButtons(FakeAccessibleNode& parent, int count) {
    for (int i = 0; i < count; ++i) AddNode(parent, ROLE_SYSTEM_PUSHBUTTON, std::nullopt, STATE_SYSTEM_FOCUSABLE);
}

// Tabs of the tab strip: an icon, a title and a close button each.
void AddTabs(FakeAccessibleNode& tabList, int count) {
    for (int i = 0; i < count; ++i) {
        FakeAccessibleNode* tab = AddNode(tabList, ROLE_SYSTEM_PAGETAB);
        AddNode(*tab, ROLE_SYSTEM_GRAPHIC);
        AddNode(*tab, ROLE_SYSTEM_STATICTEXT);
        AddButtons(*tab, 1);
    }
}

// A page: sections of paragraphs of texts and links, `sections` x 10 x 6.
ComPtr<FakeAccessibleNode> MakeDocument(const std::wstring& address, long state, int sections) {
    ComPtr<FakeAccessibleNode> document =
        FakeAccessibleNode::Create(ROLE_SYSTEM_DOCUMENT, address, state | STATE_SYSTEM_FOCUSABLE);
    for (int s = 0; s < sections; ++s) {
        FakeAccessibleNode* section = AddNode(*document.Get(), ROLE_SYSTEM_GROUPING);
        for (int p = 0; p < 10; ++p) {
            FakeAccessibleNode* paragraph = AddNode(*section, ROLE_SYSTEM_GROUPING);
            for (int t = 0; t < 6; ++t) AddNode(*paragraph, t % 3 == 2 ? ROLE_SYSTEM_LINK : ROLE_SYSTEM_STATICTEXT);
        }
    }
    return document;
}

// What the address field shows: the address without "https://".
std::wstring ShownAddress(const std::wstring& address) {
    constexpr std::wstring_view kSecure = L"https://";
    return address.starts_with(kSecure) ? address.substr(kSecure.size()) : address;
}

// The toolbar: navigation buttons, the address field in its location group,
// extension and menu buttons. Returns the address field.
FakeAccessibleNode* AddToolbar(FakeAccessibleNode& parent, long fieldParentRole, const std::wstring& address) {
    FakeAccessibleNode* toolbar = AddNode(parent, ROLE_SYSTEM_TOOLBAR);
    AddButtons(*toolbar, 4);
    FakeAccessibleNode* location = AddNode(*toolbar, fieldParentRole);
    AddButtons(*location, 1);
    FakeAccessibleNode* field = AddNode(*location, ROLE_SYSTEM_TEXT, ShownAddress(address), STATE_SYSTEM_FOCUSABLE);
    AddButtons(*location, 1);
    AddButtons(*toolbar, 4);
    return field;
}

constexpr int kPageSections = 7;  // 7 x 61 + 1 = 428 objects in the visible page

}  // namespace

FakeBrowserTree::FakeBrowserTree(TFamily family, const std::wstring& address) {
    root_ = FakeAccessibleNode::Create(ROLE_SYSTEM_WINDOW);
    FakeAccessibleNode* titleBar = AddNode(*root_.Get(), ROLE_SYSTEM_TITLEBAR);
    AddButtons(*titleBar, 3);
    if (family == TFamily::Chromium) {
        // window > client > browser view > top container > tab strip, toolbar, bookmarks
        //                                 > contents > split view > web view > document
        FakeAccessibleNode* client = AddNode(*root_.Get(), ROLE_SYSTEM_CLIENT);
        FakeAccessibleNode* view = AddNode(*client, ROLE_SYSTEM_PANE);
        FakeAccessibleNode* top = AddNode(*view, ROLE_SYSTEM_PANE);
        FakeAccessibleNode* strip = AddNode(*top, ROLE_SYSTEM_PANE);
        AddTabs(*AddNode(*strip, ROLE_SYSTEM_PAGETABLIST), 8);
        AddButtons(*strip, 1);
        addressField_ = AddToolbar(*top, ROLE_SYSTEM_GROUPING, address);
        AddButtons(*AddNode(*top, ROLE_SYSTEM_TOOLBAR), 12);
        FakeAccessibleNode* contents = AddNode(*view, ROLE_SYSTEM_PANE);
        documentParent_ = AddNode(*AddNode(*contents, ROLE_SYSTEM_PANE), ROLE_SYSTEM_PANE);
    } else {
        // window > application > tabs toolbar, navigation toolbar (its combo
        // box holds the field), bookmarks; > tab panels > one panel per tab >
        // browser > document; the background tabs' documents are invisible.
        FakeAccessibleNode* application = AddNode(*root_.Get(), ROLE_SYSTEM_APPLICATION);
        AddTabs(*AddNode(*AddNode(*application, ROLE_SYSTEM_TOOLBAR), ROLE_SYSTEM_PAGETABLIST), 8);
        addressField_ = AddToolbar(*application, ROLE_SYSTEM_COMBOBOX, address);
        AddButtons(*AddNode(*application, ROLE_SYSTEM_TOOLBAR), 10);
        FakeAccessibleNode* panels = AddNode(*application, ROLE_SYSTEM_GROUPING);
        for (const wchar_t* background : {L"https://background.example.org/", L"https://www.example.com/old"})
            AddNode(*AddNode(*panels, ROLE_SYSTEM_PROPERTYPAGE), ROLE_SYSTEM_GROUPING)
                ->Add(MakeDocument(background, STATE_SYSTEM_INVISIBLE, 0));
        documentParent_ = AddNode(*AddNode(*panels, ROLE_SYSTEM_PROPERTYPAGE), ROLE_SYSTEM_GROUPING);
    }
    documentParent_->Add(MakeDocument(address, 0, kPageSections));
    documentIndex_ = documentParent_->ChildCountValue() - 1;
}

void FakeBrowserTree::Navigate(const std::wstring& address) {
    documentParent_->ReplaceChild(documentIndex_, MakeDocument(address, 0, kPageSections));
    addressField_->SetValue(ShownAddress(address));
}

LRESULT AnswerGetObject(FakeAccessibleNode* root, WPARAM wParam, LPARAM lParam) {
    const auto objectId = static_cast<LONG>(lParam);
    if (root == nullptr || (objectId != OBJID_WINDOW && objectId != OBJID_CLIENT)) return 0;
    return LresultFromObject(__uuidof(IAccessible), wParam, static_cast<IAccessible*>(root));
}

}  // namespace vh::testing::win32
