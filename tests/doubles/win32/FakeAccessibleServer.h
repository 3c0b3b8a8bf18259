#pragma once
// The server side of an accessibility tree, as a browser exposes it: COM
// objects answering IAccessible (and, when asked to, IEnumVARIANT) that a
// window hands out on WM_GETOBJECT through LresultFromObject.

#include <oleacc.h>
#include <windows.h>
#include <wrl/client.h>

#include <atomic>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace vh::testing::win32 {

// COM interfaces have no virtual destructor by design: objects are deleted by
// their own Release, never through an interface pointer.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wnon-virtual-dtor"
class FakeAccessibleNode : public IAccessible, public IEnumVARIANT {
public:
    enum class TChildAccess {
        IdsAndNavigation,  // get_accChild and accNavigate with child ids; no IEnumVARIANT
        Enumerator,        // IEnumVARIANT giving the children as objects
    };

    // What a served call asked for: Chromium and Firefox start their trees on some calls only.
    enum class TCall { Role, Name, Other };

    static Microsoft::WRL::ComPtr<FakeAccessibleNode> Create(long role, std::optional<std::wstring> value = {},
                                                             std::optional<long> state = {});

    // Appends a child and returns it.
    FakeAccessibleNode* Add(Microsoft::WRL::ComPtr<FakeAccessibleNode> child);
    void SetAccess(TChildAccess access) noexcept { access_ = access; }
    void SetValue(std::wstring value) { value_ = std::move(value); }
    void SetName(std::wstring name) { name_ = std::move(name); }
    void SetState(std::optional<long> state) noexcept { state_ = state; }
    // Puts `child` in the place of the child at `index`, as a page that
    // navigates gets a new document.
    void ReplaceChild(size_t index, Microsoft::WRL::ComPtr<FakeAccessibleNode> child);
    int CountNodes() const;
    FakeAccessibleNode* LastChild() const noexcept { return children_.empty() ? nullptr : children_.back().Get(); }
    FakeAccessibleNode* Child(size_t index) const noexcept { return children_[index].Get(); }
    size_t ChildCountValue() const noexcept { return children_.size(); }
    // Calls of QueryInterface and of the accessibility methods the probe uses,
    // over all nodes: what a reader costs in (cross-process) calls.
    static long Calls() noexcept { return calls_.load(); }
    // Every served call of every node waits `latencyMs`, the first one
    // `startCostMs` more, and is then told to `observer` (when given). For
    // the window thread that serves the calls only.
    static void SetServing(DWORD latencyMs, DWORD startCostMs, void (*observer)(TCall call)) noexcept;

    // IUnknown
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** object) override;
    ULONG STDMETHODCALLTYPE AddRef() override;
    ULONG STDMETHODCALLTYPE Release() override;

    // IDispatch: not offered beyond what IAccessible needs.
    HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override;
    HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo**) override;
    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override;
    HRESULT STDMETHODCALLTYPE Invoke(DISPID, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*, UINT*) override;

    // IAccessible
    HRESULT STDMETHODCALLTYPE get_accParent(IDispatch** parent) override;
    HRESULT STDMETHODCALLTYPE get_accChildCount(long* count) override;
    HRESULT STDMETHODCALLTYPE get_accChild(VARIANT childId, IDispatch** child) override;
    HRESULT STDMETHODCALLTYPE get_accName(VARIANT childId, BSTR* name) override;
    HRESULT STDMETHODCALLTYPE get_accValue(VARIANT childId, BSTR* value) override;
    HRESULT STDMETHODCALLTYPE get_accDescription(VARIANT childId, BSTR* description) override;
    HRESULT STDMETHODCALLTYPE get_accRole(VARIANT childId, VARIANT* role) override;
    HRESULT STDMETHODCALLTYPE get_accState(VARIANT childId, VARIANT* state) override;
    HRESULT STDMETHODCALLTYPE get_accHelp(VARIANT childId, BSTR* help) override;
    HRESULT STDMETHODCALLTYPE get_accHelpTopic(BSTR* helpFile, VARIANT childId, long* topic) override;
    HRESULT STDMETHODCALLTYPE get_accKeyboardShortcut(VARIANT childId, BSTR* shortcut) override;
    HRESULT STDMETHODCALLTYPE get_accFocus(VARIANT* child) override;
    HRESULT STDMETHODCALLTYPE get_accSelection(VARIANT* children) override;
    HRESULT STDMETHODCALLTYPE get_accDefaultAction(VARIANT childId, BSTR* action) override;
    HRESULT STDMETHODCALLTYPE accSelect(long flags, VARIANT childId) override;
    HRESULT STDMETHODCALLTYPE accLocation(long* left, long* top, long* width, long* height, VARIANT childId) override;
    HRESULT STDMETHODCALLTYPE accNavigate(long direction, VARIANT start, VARIANT* end) override;
    HRESULT STDMETHODCALLTYPE accHitTest(long left, long top, VARIANT* child) override;
    HRESULT STDMETHODCALLTYPE accDoDefaultAction(VARIANT childId) override;
    HRESULT STDMETHODCALLTYPE put_accName(VARIANT childId, BSTR name) override;
    HRESULT STDMETHODCALLTYPE put_accValue(VARIANT childId, BSTR value) override;

    // IEnumVARIANT (only offered in TChildAccess::Enumerator)
    HRESULT STDMETHODCALLTYPE Next(ULONG count, VARIANT* values, ULONG* fetched) override;
    HRESULT STDMETHODCALLTYPE Skip(ULONG count) override;
    HRESULT STDMETHODCALLTYPE Reset() override;
    HRESULT STDMETHODCALLTYPE Clone(IEnumVARIANT** copy) override;

private:
    FakeAccessibleNode(long role, std::optional<std::wstring> value, std::optional<long> state);
    virtual ~FakeAccessibleNode() = default;
    static bool IsSelf(const VARIANT& childId) noexcept;
    static void Served(TCall call);

    static std::atomic<long> calls_;
    static DWORD latencyMs_;
    static DWORD startCostMs_;
    static void (*observer_)(TCall call);

    std::atomic<ULONG> references_{1};
    long role_;
    std::optional<std::wstring> value_;
    std::optional<std::wstring> name_;
    std::optional<long> state_;
    TChildAccess access_ = TChildAccess::IdsAndNavigation;
    std::vector<Microsoft::WRL::ComPtr<FakeAccessibleNode>> children_;
    ULONG nextChild_ = 0;  // the enumerator's position
};
#pragma GCC diagnostic pop

// A tree reaching depth `levels` below the root, with grouping objects whose
// fan-out per depth is taken from `fanOut` in turn, an about:blank text object
// first at depth 1 and a ROLE_SYSTEM_TEXT object holding `address` as the
// very last object, at depth `levels`: a walk must visit every object to
// find it.
Microsoft::WRL::ComPtr<FakeAccessibleNode> MakeBrowserTree(int levels, const std::vector<int>& fanOut,
                                                           const std::wstring& address);

// What a current browser's window holds besides the page, and how it is used.
struct FakeBrowserOptions {
    bool DevTools = false;          // Chromium: DevTools docked, its document before the page's
    bool VivaldiInterface = false;  // Chromium: the interface is a document holding the page's
    // Chromium: the user types this into the omnibox, which has the keyboard focus.
    std::optional<std::wstring> Typing;
    // Firefox: the tabs behind the shown one, whose documents stay in the tree.
    std::vector<std::wstring> BackgroundTabs = {L"https://background.example.org/", L"https://www.example.com/old"};
};

// A current browser's tree, the size of a real one. Chromium: the tree of
// the browser's interface (about 400 objects: 30 tabs, the toolbar with the
// omnibox in a group of its own, 90 bookmarks of which 70 hidden, a side
// panel of 50 entries) answered at once by the top-level window, and the web
// documents, empty until the page accessibility is built. Firefox: the tab
// strip, the navigation toolbar, bookmarks and one panel per tab, whose
// documents come from the content processes once built.
class FakeBrowserTree {
public:
    enum class TFamily { Chromium, Firefox };

    FakeBrowserTree(TFamily family, const std::wstring& address, FakeBrowserOptions options = {});

    FakeAccessibleNode* Root() const noexcept { return root_.Get(); }
    // The shown page's document (Chromium: what its render window answers).
    FakeAccessibleNode* Document() const noexcept;
    // Chromium: DevTools' document and the interface's (null without them).
    FakeAccessibleNode* DevToolsDocument() const noexcept { return devTools_; }
    FakeAccessibleNode* InterfaceDocument() const noexcept { return interface_; }
    // The documents get their addresses and pages (Chromium's page
    // accessibility has started; Firefox's content processes have answered).
    void BuildDocuments();
    bool Built() const noexcept { return built_; }
    // A new document for `address` in the shown tab, and the address field showing it.
    void Navigate(const std::wstring& address);
    // Firefox: shows tab `index` (the background tabs first, then the one shown at the start).
    bool SwitchTab(size_t index);

private:
    void ShowField();

    TFamily family_;
    FakeBrowserOptions options_;
    Microsoft::WRL::ComPtr<FakeAccessibleNode> root_;
    FakeAccessibleNode* addressField_ = nullptr;
    FakeAccessibleNode* devTools_ = nullptr;
    FakeAccessibleNode* interface_ = nullptr;
    // One per tab: the node holding its document, and its address.
    std::vector<FakeAccessibleNode*> tabParents_;
    std::vector<std::wstring> tabAddresses_;
    size_t shown_ = 0;
    bool built_ = false;
};

// Answers WM_GETOBJECT for OBJID_WINDOW and OBJID_CLIENT with `root`; 0 otherwise.
LRESULT AnswerGetObject(FakeAccessibleNode* root, WPARAM wParam, LPARAM lParam);

}  // namespace vh::testing::win32
