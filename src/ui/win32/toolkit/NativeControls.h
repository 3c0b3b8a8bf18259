#pragma once
// Native child controls of a form (edit, masked edit, memo, list box, combo
// box): real child windows, destroyed with the form's window. Positions are
// in the form's client coordinates, in 96-DPI pixels like everything a form
// definition gives; the control sits at the form's DPI. `PageTag` remembers the design-time page
// of a control lifted onto the form (ShowPageControls).

#include <windows.h>
#include <wrl/client.h>

#include <functional>
#include <string>
#include <vector>

#include "platform/win32/Handles.h"
#include "ui/Geometry.h"

namespace vh::win32 {

class TForm;
class TListAccessible;
class TTabSheet;
class TWinControl;

// The tab order of one container (the form or a page): a control's tab order
// is its index here. Inserting at a position moves the others up, as setting
// a tab order does.
class TTabList {
public:
    TTabList() = default;
    TTabList(const TTabList&) = delete;
    TTabList& operator=(const TTabList&) = delete;

    void Insert(TWinControl& control, int position);
    void Remove(const TWinControl& control) noexcept;
    int IndexOf(const TWinControl& control) const noexcept;  // -1 when absent
    const std::vector<TWinControl*>& Items() const noexcept { return items_; }

private:
    std::vector<TWinControl*> items_;
};

class TWinControl {
public:
    TWinControl(TForm& form, const wchar_t* className, DWORD style, DWORD exStyle = 0);
    TWinControl(const TWinControl&) = delete;
    TWinControl& operator=(const TWinControl&) = delete;
    virtual ~TWinControl();

    TForm& Form() const noexcept { return form_; }
    HWND Handle() const noexcept { return window_.Get(); }
    std::string Name;
    TTabSheet* Page = nullptr;     // the design-time page it sits on (hidden), or none
    TTabSheet* PageTag = nullptr;  // the page it was lifted from onto the form
    bool TabStop = true;

    // Position in its container's tab order; setting moves it there.
    int TabOrder() const noexcept;
    void SetTabOrder(int order);
    // Joins another container's tab order, at its end.
    void MoveToTabList(TTabList& list);
    std::function<void(TWinControl&)> OnChange;

    IntRect BoundsRect() const noexcept;
    void SetBounds(int left, int top, int width, int height);
    bool Visible() const noexcept;
    void SetVisible(bool visible);
    bool Enabled() const noexcept;
    void SetEnabled(bool enabled);
    bool CanFocus() const noexcept;
    void SetFocus();

    std::string Text() const;
    void SetText(const std::string& text);

    // WM_COMMAND notification codes of this control.
    virtual void Command(WORD code);
    // WM_DRAWITEM of an owner-drawn control; false when nobody drew it.
    virtual bool DrawItem(const DRAWITEMSTRUCT&) { return false; }
    // The form changed its DPI: the font and the place again.
    virtual void DpiChanged();
    // The form's window is being destroyed and takes this child along.
    void HandleDestroyed() noexcept { static_cast<void>(window_.Release()); }

protected:
    // Replaces the window procedure; the object is found through a property.
    void Subclass();
    virtual LRESULT SubclassedProc(UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT CallOriginal(UINT message, WPARAM wParam, LPARAM lParam);

private:
    static LRESULT CALLBACK SubclassProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) noexcept;
    TForm& form_;
    TTabList* tabList_ = nullptr;
    WNDPROC original_ = nullptr;
    IntRect bounds_;  // as last set, 96-DPI pixels
    // Last: destroyed first, while the subclass data above is still there.
    UniqueWindow window_;
};

class TEdit : public TWinControl {
public:
    explicit TEdit(TForm& form);
};

// An edit holding "hh:nn": two digits, the colon, two digits. Typing
// overwrites digits and skips the colon; other characters are refused.
class TMaskEdit : public TWinControl {
public:
    explicit TMaskEdit(TForm& form);

protected:
    LRESULT SubclassedProc(UINT message, WPARAM wParam, LPARAM lParam) override;
};

class TMemo : public TWinControl {
public:
    explicit TMemo(TForm& form);
};

class TListBox : public TWinControl {
public:
    // Owner-drawn lists paint their rows through OnDrawItem.
    TListBox(TForm& form, bool ownerDraw = false);
    ~TListBox() override;
    int Count() const noexcept;
    std::string Item(int index) const;
    int AddItem(const std::string& text);
    void Clear() noexcept;
    int ItemHeight() const noexcept;
    void SetItemHeight(int height);
    // Suspends repainting while many items change.
    void BeginUpdate() noexcept;
    void EndUpdate() noexcept;
    std::function<void(TListBox&, const DRAWITEMSTRUCT&)> OnDrawItem;
    bool DrawItem(const DRAWITEMSTRUCT& item) override;
    void DpiChanged() override;

    // What a screen reader hears for a row, as the row shows it; the row's
    // string when unset. A row named empty (a blank filler) is invisible to it.
    std::function<std::string(int row)> AccessibleRowName;
    // Whether a row is ticked (STATE_SYSTEM_CHECKED); no row is when unset.
    std::function<bool(int row)> RowChecked;
    std::string AccessibleNameOfRow(int row) const;

protected:
    LRESULT SubclassedProc(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    int itemHeight_ = 0;
    Microsoft::WRL::ComPtr<TListAccessible> accessible_;
};

class TComboBox : public TWinControl {
public:
    // `extraStyle` adds CBS_* styles (owner drawing) to the drop-down list.
    explicit TComboBox(TForm& form, DWORD extraStyle = 0);
    int AddItem(const std::string& text);
    int Count() const noexcept;
    int ItemIndex() const noexcept;
    void SetItemIndex(int index) noexcept;
    void DropDown() noexcept;
    std::string Item(int index) const;
    // The widest item in the control's font, in 96-DPI pixels (rounded up).
    int WidestItem() const;
};

// A window's text as UTF-8.
std::string WindowTextUtf8(HWND window);

// Whether a native control is an edit control (class "Edit").
bool IsEditControl(HWND window);
// Whether a native control is a combo box (class "ComboBox").
bool IsComboBox(HWND window);

}  // namespace vh::win32
