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

    static Microsoft::WRL::ComPtr<FakeAccessibleNode> Create(long role, std::optional<std::wstring> value = {},
                                                             std::optional<long> state = {});

    // Appends a child and returns it.
    FakeAccessibleNode* Add(Microsoft::WRL::ComPtr<FakeAccessibleNode> child);
    void SetAccess(TChildAccess access) noexcept { access_ = access; }
    void SetValue(std::wstring value) { value_ = std::move(value); }
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

    static std::atomic<long> calls_;

    std::atomic<ULONG> references_{1};
    long role_;
    std::optional<std::wstring> value_;
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

// A current browser's tree of about 500 objects, the size of a real one: a
// title bar, a tab strip, a toolbar whose address field shows the address
// without "https://", a bookmarks bar, and deep below them the visible web
// document whose value is the full address, with the page below it.
class FakeBrowserTree {
public:
    enum class TFamily { Chromium, Firefox };

    FakeBrowserTree(TFamily family, const std::wstring& address);

    FakeAccessibleNode* Root() const noexcept { return root_.Get(); }
    FakeAccessibleNode* Document() const noexcept { return documentParent_->Child(documentIndex_); }
    // A new document for `address`, and the address field showing it.
    void Navigate(const std::wstring& address);

private:
    Microsoft::WRL::ComPtr<FakeAccessibleNode> root_;
    FakeAccessibleNode* addressField_ = nullptr;
    FakeAccessibleNode* documentParent_ = nullptr;
    size_t documentIndex_ = 0;
};

// Answers WM_GETOBJECT for OBJID_WINDOW and OBJID_CLIENT with `root`; 0 otherwise.
LRESULT AnswerGetObject(FakeAccessibleNode* root, WPARAM wParam, LPARAM lParam);

}  // namespace vh::testing::win32
