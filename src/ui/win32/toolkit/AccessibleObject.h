#pragma once
// What every accessible object of the toolkit answers alike: COM's reference
// counting and interface query, no type information (clients call
// IAccessible directly), and no description, help, shortcut or writable
// name. The objects themselves answer the tree's questions.

#include <oleacc.h>
#include <windows.h>

#include <atomic>
#include <string>

namespace vh::win32 {

// A BSTR holding UTF-8 `text`: S_FALSE and no string for an empty one.
HRESULT AccessibleText(const std::string& text, BSTR* result) noexcept;

inline bool IsChildSelf(const VARIANT& childId) noexcept {
    return childId.vt == VT_I4 && childId.lVal == CHILDID_SELF;
}

// COM interfaces have no virtual destructor by design: the object deletes
// itself in its last Release, as the class it is.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wnon-virtual-dtor"
template <class Derived>
class TAccessibleObject : public IAccessible {
public:
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** object) override {
        if (!object) return E_POINTER;
        *object = nullptr;
        if (riid != IID_IUnknown && riid != IID_IDispatch && riid != __uuidof(IAccessible)) return E_NOINTERFACE;
        *object = static_cast<IAccessible*>(this);
        AddRef();
        return S_OK;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return ++references_; }
    ULONG STDMETHODCALLTYPE Release() override {
        const ULONG left = --references_;
        if (left == 0) delete static_cast<Derived*>(this);
        return left;
    }

    HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override {
        if (count) *count = 0;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE Invoke(DISPID, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*, UINT*) override {
        return E_NOTIMPL;
    }

    // The parent is the system's object for the window whose client this
    // object is (Derived::Window(), null once disconnected).
    HRESULT STDMETHODCALLTYPE get_accParent(IDispatch** parent) override {
        if (!parent) return E_POINTER;
        *parent = nullptr;
        const HWND window = static_cast<const Derived*>(this)->Window();
        if (!window) return CO_E_OBJNOTCONNECTED;
        return AccessibleObjectFromWindow(window, static_cast<DWORD>(OBJID_WINDOW), IID_IDispatch,
                                          reinterpret_cast<void**>(parent));
    }

    HRESULT STDMETHODCALLTYPE get_accDescription(VARIANT, BSTR* description) override {
        if (description) *description = nullptr;
        return S_FALSE;
    }
    HRESULT STDMETHODCALLTYPE get_accHelp(VARIANT, BSTR* help) override {
        if (help) *help = nullptr;
        return S_FALSE;
    }
    HRESULT STDMETHODCALLTYPE get_accHelpTopic(BSTR* helpFile, VARIANT, long* topic) override {
        if (helpFile) *helpFile = nullptr;
        if (topic) *topic = 0;
        return S_FALSE;
    }
    HRESULT STDMETHODCALLTYPE get_accKeyboardShortcut(VARIANT, BSTR* shortcut) override {
        if (shortcut) *shortcut = nullptr;
        return S_FALSE;
    }
    HRESULT STDMETHODCALLTYPE put_accName(VARIANT, BSTR) override { return DISP_E_MEMBERNOTFOUND; }
    HRESULT STDMETHODCALLTYPE put_accValue(VARIANT, BSTR) override { return DISP_E_MEMBERNOTFOUND; }

protected:
    TAccessibleObject() = default;
    ~TAccessibleObject() = default;

private:
    std::atomic<ULONG> references_{1};
};
#pragma GCC diagnostic pop

}  // namespace vh::win32
