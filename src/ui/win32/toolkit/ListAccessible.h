#pragma once
// The accessible object of a list box's client: its rows as MSAA list items
// named by what each row shows (an owner-drawn row paints more than its
// string: a type, a time, a tick), with the selected, focused and checked
// states. The system's own object for such a list names a row by its string
// alone, and Wine's names no rows at all.

#include <oleacc.h>
#include <windows.h>
#include <wrl/client.h>

#include "ui/win32/toolkit/AccessibleObject.h"

namespace vh::win32 {

class TListBox;

class TListAccessible final : public TAccessibleObject<TListAccessible> {
public:
    // The list keeps one reference and disconnects it when it goes.
    static Microsoft::WRL::ComPtr<TListAccessible> Create(TListBox& list);
    void Disconnect() noexcept { list_ = nullptr; }
    // The window whose client this is; null once disconnected.
    HWND Window() const noexcept;

    HRESULT STDMETHODCALLTYPE get_accChildCount(long* count) override;
    HRESULT STDMETHODCALLTYPE get_accChild(VARIANT childId, IDispatch** child) override;
    HRESULT STDMETHODCALLTYPE get_accName(VARIANT childId, BSTR* name) override;
    HRESULT STDMETHODCALLTYPE get_accValue(VARIANT childId, BSTR* value) override;
    HRESULT STDMETHODCALLTYPE get_accRole(VARIANT childId, VARIANT* role) override;
    HRESULT STDMETHODCALLTYPE get_accState(VARIANT childId, VARIANT* state) override;
    HRESULT STDMETHODCALLTYPE get_accFocus(VARIANT* child) override;
    HRESULT STDMETHODCALLTYPE get_accSelection(VARIANT* children) override;
    HRESULT STDMETHODCALLTYPE get_accDefaultAction(VARIANT childId, BSTR* action) override;
    HRESULT STDMETHODCALLTYPE accSelect(long flags, VARIANT childId) override;
    HRESULT STDMETHODCALLTYPE accLocation(long* left, long* top, long* width, long* height, VARIANT childId) override;
    HRESULT STDMETHODCALLTYPE accNavigate(long direction, VARIANT start, VARIANT* end) override;
    HRESULT STDMETHODCALLTYPE accHitTest(long left, long top, VARIANT* child) override;
    HRESULT STDMETHODCALLTYPE accDoDefaultAction(VARIANT childId) override;

private:
    friend class TAccessibleObject<TListAccessible>;
    explicit TListAccessible(TListBox& list) noexcept : list_(&list) {}
    ~TListAccessible() = default;
    // The row a child id names (from 0), -1 for CHILDID_SELF. Fails with
    // E_INVALIDARG for an unknown id and CO_E_OBJNOTCONNECTED once the list
    // is gone.
    HRESULT Resolve(const VARIANT& childId, int& row) const noexcept;
    // The selected row, -1 for none.
    int SelectedRow() const noexcept;

    TListBox* list_;
};

}  // namespace vh::win32
