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
DWORD FakeAccessibleNode::latencyMs_ = 0;
DWORD FakeAccessibleNode::startCostMs_ = 0;
void (*FakeAccessibleNode::observer_)(FakeAccessibleNode::TCall) = nullptr;

void FakeAccessibleNode::SetServing(DWORD latencyMs, DWORD startCostMs, void (*observer)(TCall call)) noexcept {
    latencyMs_ = latencyMs;
    startCostMs_ = startCostMs;
    observer_ = observer;
}

void FakeAccessibleNode::Served(TCall call) {
    ++calls_;
    // A browser answers from its own thread, across processes: each call
    // takes a while, the first one longest.
    if (startCostMs_ != 0) Sleep(std::exchange(startCostMs_, 0));
    if (latencyMs_ != 0) Sleep(latencyMs_);
    if (observer_ != nullptr) observer_(call);
}

bool FakeAccessibleNode::IsSelf(const VARIANT& childId) noexcept {
    return childId.vt == VT_I4 && childId.lVal == CHILDID_SELF;
}

HRESULT FakeAccessibleNode::QueryInterface(REFIID riid, void** object) {
    ++calls_;  // also COM's own, for which the browser's thread does no work
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
    Served(TCall::Other);
    if (count == nullptr) return E_POINTER;
    *count = static_cast<long>(children_.size());
    return S_OK;
}

HRESULT FakeAccessibleNode::get_accChild(VARIANT childId, IDispatch** child) {
    Served(TCall::Other);
    if (child == nullptr) return E_POINTER;
    *child = nullptr;
    if (childId.vt != VT_I4 || childId.lVal < 1 || childId.lVal > static_cast<long>(children_.size()))
        return E_INVALIDARG;
    children_[static_cast<size_t>(childId.lVal - 1)]->AddRef();
    *child = static_cast<IAccessible*>(children_[static_cast<size_t>(childId.lVal - 1)].Get());
    return S_OK;
}

HRESULT FakeAccessibleNode::get_accName(VARIANT childId, BSTR* name) {
    Served(TCall::Name);
    if (name == nullptr) return E_POINTER;
    *name = nullptr;
    if (!IsSelf(childId)) return E_INVALIDARG;
    if (!name_) return S_FALSE;
    *name = SysAllocStringLen(name_->data(), static_cast<UINT>(name_->size()));
    return *name != nullptr ? S_OK : E_OUTOFMEMORY;
}

HRESULT FakeAccessibleNode::get_accValue(VARIANT childId, BSTR* value) {
    Served(TCall::Other);
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
    Served(TCall::Role);
    if (role == nullptr) return E_POINTER;
    VariantInit(role);
    if (!IsSelf(childId)) return E_INVALIDARG;
    role->vt = VT_I4;
    role->lVal = role_;
    return S_OK;
}

HRESULT FakeAccessibleNode::get_accState(VARIANT childId, VARIANT* state) {
    Served(TCall::Other);
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
    Served(TCall::Other);
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
    Served(TCall::Other);
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

// A page's document; its address and page come once built.
ComPtr<FakeAccessibleNode> MakeDocument(long state) {
    return FakeAccessibleNode::Create(ROLE_SYSTEM_DOCUMENT, std::wstring(), state | STATE_SYSTEM_FOCUSABLE);
}

// The web document's value is the page's full address
// (Chromium: ui/accessibility/platform/ax_platform_node_win.cc get_accValue;
// Firefox: accessible/windows/msaa/MsaaDocAccessible.cpp), with the page,
// sections of paragraphs of texts and links, `sections` x 10 x 6, below it.
void FillDocument(FakeAccessibleNode& document, const std::wstring& address, int sections) {
    document.SetValue(address);
    for (int s = 0; s < sections; ++s) {
        FakeAccessibleNode* section = AddNode(document, ROLE_SYSTEM_GROUPING);
        for (int p = 0; p < 10; ++p) {
            FakeAccessibleNode* paragraph = AddNode(*section, ROLE_SYSTEM_GROUPING);
            for (int t = 0; t < 6; ++t) AddNode(*paragraph, t % 3 == 2 ? ROLE_SYSTEM_LINK : ROLE_SYSTEM_STATICTEXT);
        }
    }
}

std::wstring WithoutPrefix(std::wstring text, std::wstring_view prefix) {
    return text.starts_with(prefix) ? text.substr(prefix.size()) : text;
}

// What Chrome's omnibox shows: the address without "https://", "http://"
// and "www.", and without the slash after a bare host
// (components/omnibox/browser/location_bar_model_impl.cc, its
// url_formatter flags kFormatUrlOmitHTTPS, kFormatUrlOmitHTTP,
// kFormatUrlOmitTrivialSubdomains, kFormatUrlOmitTrailingSlashOnBareHostname).
std::wstring ChromiumShownAddress(const std::wstring& address) {
    std::wstring shown = WithoutPrefix(WithoutPrefix(address, L"https://"), L"http://");
    shown = WithoutPrefix(shown, L"www.");
    if (!shown.empty() && shown.back() == L'/' && shown.find(L'/') == shown.size() - 1) shown.pop_back();
    return shown;
}

// What Firefox's address bar shows: the address without "https://".
std::wstring FirefoxShownAddress(const std::wstring& address) {
    return WithoutPrefix(address, L"https://");
}

constexpr int kPageSections = 7;  // 7 x 61 + 1 = 428 objects in the visible page

// Vivaldi draws its interface as a web page of its own
// (chrome-extension://<Vivaldi's id>/browser.html) that holds the page's.
constexpr wchar_t kVivaldiInterface[] = L"chrome-extension://mpognobbkildjkofajifpdfhcoklimli/browser.html";
constexpr wchar_t kDevTools[] = L"devtools://devtools/bundled/devtools_app.html";

}  // namespace

FakeBrowserTree::FakeBrowserTree(TFamily family, const std::wstring& address, FakeBrowserOptions options)
    : family_(family), options_(std::move(options)) {
    if (family == TFamily::Chromium) {
        // Chromium's top-level window answers OBJID_CLIENT with the views
        // tree of its interface, which exists at once
        // (ui/views/win/hwnd_message_handler.cc, OnGetObject).
        // window > client > browser view > top container > tab strip, toolbar, bookmarks
        //                                > side panel > list
        //                                > contents > [DevTools' web view] > page's web view > document
        root_ = FakeAccessibleNode::Create(ROLE_SYSTEM_WINDOW);
        AddButtons(*AddNode(*root_.Get(), ROLE_SYSTEM_TITLEBAR), 3);
        FakeAccessibleNode* client = AddNode(*root_.Get(), ROLE_SYSTEM_CLIENT);
        FakeAccessibleNode* view = AddNode(*client, ROLE_SYSTEM_PANE);
        FakeAccessibleNode* top = AddNode(*view, ROLE_SYSTEM_PANE);
        FakeAccessibleNode* strip = AddNode(*top, ROLE_SYSTEM_PANE);
        AddTabs(*AddNode(*strip, ROLE_SYSTEM_PAGETABLIST), 30);
        AddButtons(*strip, 1);
        // The omnibox: ROLE_SYSTEM_TEXT named "Address and search bar"
        // (chrome/browser/ui/views/omnibox/omnibox_view_views.cc, IDS_ACCNAME_LOCATION).
        FakeAccessibleNode* toolbar = AddNode(*top, ROLE_SYSTEM_TOOLBAR);
        AddButtons(*toolbar, 4);
        FakeAccessibleNode* location = AddNode(*toolbar, ROLE_SYSTEM_GROUPING);
        AddButtons(*location, 1);
        addressField_ = AddNode(*location, ROLE_SYSTEM_TEXT, std::wstring(), STATE_SYSTEM_FOCUSABLE);
        addressField_->SetName(L"Address and search bar");
        AddButtons(*location, 1);
        AddButtons(*toolbar, 4);
        FakeAccessibleNode* bookmarks = AddNode(*top, ROLE_SYSTEM_TOOLBAR);
        for (int i = 0; i < 90; ++i)
            AddNode(*bookmarks, ROLE_SYSTEM_PUSHBUTTON, std::nullopt,
                    STATE_SYSTEM_FOCUSABLE | (i >= 20 ? STATE_SYSTEM_INVISIBLE : 0));
        FakeAccessibleNode* list = AddNode(*AddNode(*view, ROLE_SYSTEM_PANE), ROLE_SYSTEM_LIST);
        for (int i = 0; i < 50; ++i) AddNode(*list, ROLE_SYSTEM_LISTITEM);
        FakeAccessibleNode* contents = AddNode(*view, ROLE_SYSTEM_PANE);
        if (options_.DevTools) devTools_ = AddNode(*contents, ROLE_SYSTEM_PANE)->Add(MakeDocument(0));
        FakeAccessibleNode* pageParent = contents;
        if (options_.VivaldiInterface) {
            interface_ = AddNode(*contents, ROLE_SYSTEM_PANE)->Add(MakeDocument(0));
            pageParent = AddNode(*interface_, ROLE_SYSTEM_GROUPING);
        }
        tabParents_.push_back(AddNode(*pageParent, ROLE_SYSTEM_PANE));
        tabAddresses_.push_back(address);
        tabParents_.back()->Add(MakeDocument(0));
    } else {
        // Firefox's root says APPLICATION (accessible/windows/msaa/LazyInstantiator.cpp)
        // > tabs toolbar, navigation toolbar (its combo box holds the field),
        // bookmarks; > tab panels > one panel per tab > browser > document.
        root_ = FakeAccessibleNode::Create(ROLE_SYSTEM_APPLICATION);
        AddTabs(*AddNode(*AddNode(*root_.Get(), ROLE_SYSTEM_TOOLBAR), ROLE_SYSTEM_PAGETABLIST), 8);
        FakeAccessibleNode* toolbar = AddNode(*root_.Get(), ROLE_SYSTEM_TOOLBAR);
        AddButtons(*toolbar, 4);
        FakeAccessibleNode* location = AddNode(*toolbar, ROLE_SYSTEM_COMBOBOX);
        AddButtons(*location, 1);
        addressField_ = AddNode(*location, ROLE_SYSTEM_TEXT, std::wstring(), STATE_SYSTEM_FOCUSABLE);
        AddButtons(*location, 1);
        AddButtons(*toolbar, 4);
        AddButtons(*AddNode(*root_.Get(), ROLE_SYSTEM_TOOLBAR), 10);
        FakeAccessibleNode* panels = AddNode(*root_.Get(), ROLE_SYSTEM_GROUPING);
        tabAddresses_ = options_.BackgroundTabs;
        tabAddresses_.push_back(address);
        for (size_t i = 0; i < tabAddresses_.size(); ++i)
            tabParents_.push_back(AddNode(*AddNode(*panels, ROLE_SYSTEM_PROPERTYPAGE), ROLE_SYSTEM_GROUPING));
    }
    shown_ = tabParents_.size() - 1;
    ShowField();
}

FakeAccessibleNode* FakeBrowserTree::Document() const noexcept {
    FakeAccessibleNode* parent = tabParents_[shown_];
    return parent->ChildCountValue() > 0 ? parent->Child(0) : nullptr;
}

void FakeBrowserTree::BuildDocuments() {
    if (built_) return;
    built_ = true;
    if (family_ == TFamily::Chromium) {
        FillDocument(*Document(), tabAddresses_[shown_], kPageSections);
        if (devTools_ != nullptr) FillDocument(*devTools_, kDevTools, 2);
        if (interface_ != nullptr) interface_->SetValue(kVivaldiInterface);
        return;
    }
    // Background tabs keep their documents in the tree, offscreen
    // (accessible/ipc/RemoteAccessible.cpp).
    for (size_t i = 0; i < tabParents_.size(); ++i) {
        FakeAccessibleNode* document = tabParents_[i]->Add(MakeDocument(i == shown_ ? 0 : STATE_SYSTEM_OFFSCREEN));
        FillDocument(*document, tabAddresses_[i], i == shown_ ? kPageSections : 0);
    }
}

void FakeBrowserTree::Navigate(const std::wstring& address) {
    tabAddresses_[shown_] = address;
    if (Document() != nullptr) {
        ComPtr<FakeAccessibleNode> document = MakeDocument(0);
        if (built_) FillDocument(*document.Get(), address, kPageSections);
        tabParents_[shown_]->ReplaceChild(0, document);
    }
    ShowField();
}

bool FakeBrowserTree::SwitchTab(size_t index) {
    if (index >= tabParents_.size()) return false;
    shown_ = index;
    for (size_t i = 0; i < tabParents_.size(); ++i)
        if (tabParents_[i]->ChildCountValue() > 0)
            tabParents_[i]->Child(0)->SetState(STATE_SYSTEM_FOCUSABLE | (i == shown_ ? 0 : STATE_SYSTEM_OFFSCREEN));
    ShowField();
    return true;
}

void FakeBrowserTree::ShowField() {
    // While the user types, the omnibox shows the typed text and has the
    // keyboard focus (chrome/browser/ui/views/omnibox/omnibox_view_views.cc).
    if (options_.Typing) {
        addressField_->SetValue(*options_.Typing);
        addressField_->SetState(STATE_SYSTEM_FOCUSABLE | STATE_SYSTEM_FOCUSED);
        return;
    }
    const std::wstring& address = tabAddresses_[shown_];
    addressField_->SetValue(family_ == TFamily::Chromium ? ChromiumShownAddress(address)
                                                         : FirefoxShownAddress(address));
    addressField_->SetState(STATE_SYSTEM_FOCUSABLE);
}

LRESULT AnswerGetObject(FakeAccessibleNode* root, WPARAM wParam, LPARAM lParam) {
    const auto objectId = static_cast<LONG>(lParam);
    if (root == nullptr || (objectId != OBJID_WINDOW && objectId != OBJID_CLIENT)) return 0;
    return LresultFromObject(__uuidof(IAccessible), wParam, static_cast<IAccessible*>(root));
}

}  // namespace vh::testing::win32
