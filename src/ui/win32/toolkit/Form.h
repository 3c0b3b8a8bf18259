#pragma once
// The toolkit's form: one top-level window that owns its window-less
// controls (painted in z-order into an off-screen buffer, fed with the mouse),
// its native child controls, timers and popup menus. Forms are created with
// CreateForm, owned by the list of live forms and freed by Release() (posted,
// so a closed modal dialog's fields stay readable until messages are
// dispatched again). The window procedure is the exception boundary.

#include <windows.h>

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <type_traits>
#include <vector>

#include <wrl/client.h>

#include "platform/win32/Handles.h"
#include "ui/DpiScale.h"
#include "ui/Geometry.h"
#include "ui/win32/toolkit/Bitmap32.h"
#include "ui/win32/toolkit/Control.h"
#include "ui/win32/toolkit/Menus.h"
#include "ui/win32/toolkit/NativeControls.h"
#include "ui/win32/toolkit/Timer.h"

namespace vh::win32 {

class TFormAccessible;

enum TModalResult : int { mrNone = 0, mrOk = 1, mrCancel = 2 };
enum class TCloseAction { caNone, caHide, caFree };
enum class TWindowState { wsNormal, wsMinimized, wsMaximized };

class TForm {
public:
    TForm(const TForm&) = delete;
    TForm& operator=(const TForm&) = delete;
    virtual ~TForm();

    HWND Handle() const noexcept { return window_.Get(); }
    // The form whose window this is, or none.
    static TForm* FromHandle(HWND window) noexcept;

    // Runs once the whole form, derived parts included, has been built
    // (CreateForm calls it).
    virtual void AfterConstruction() {}

    // Building: controls are appended on top of the z-order.
    template <class T, class... Args>
    T& Add(Args&&... args) {
        auto control = std::make_unique<T>(*this, std::forward<Args>(args)...);
        T& result = *control;
        if constexpr (std::is_base_of_v<TControl, T>) {
            controls_.push_back(std::move(control));
        } else {
            winControls_.push_back(std::move(control));
        }
        return result;
    }
    TTimer& AddTimer();
    TPopupMenu& AddPopupMenu(std::string name);

    const std::vector<std::unique_ptr<TControl>>& Controls() const noexcept { return controls_; }
    // The tab order of the native controls that sit on the form itself.
    TTabList& TabList() noexcept { return tabList_; }
    const std::vector<std::unique_ptr<TWinControl>>& WinControls() const noexcept { return winControls_; }
    const std::vector<std::unique_ptr<TPopupMenu>>& PopupMenus() const noexcept { return menus_; }
    TWinControl* FindWinControl(HWND handle) const noexcept;

    // The caption is the window's text.
    std::string Caption() const;
    void SetCaption(const std::string& caption);
    COLORREF Color() const noexcept { return color_; }
    void SetColor(COLORREF color);
    TFontStyle Font;  // the form's font; labels in its colour count as "dark text"
    // The font of native controls, at the form's DPI.
    HFONT NativeFont() const noexcept { return nativeFont_.Get(); }

    // Display scale. Every size and position a form definition gives (client
    // size, control bounds, font heights) is in 96-DPI pixels; the form shows
    // it at Dpi(). Window rectangles and mouse positions are device pixels.
    int Dpi() const noexcept { return dpi_; }
    int Scale(int designPixels) const noexcept { return ScaleToDpi(designPixels, dpi_); }
    // Lays the form out again at another DPI (WM_DPICHANGED does this with the
    // rectangle Windows suggests; tests post it).
    void ApplyDpi(int dpi);
    // The same at the window rectangle Windows suggests (screen pixels).
    void ApplyDpi(int dpi, const RECT* suggested);

    IntSize ClientSize() const noexcept;  // 96-DPI pixels
    void SetClientSize(int width, int height);
    IntSize DeviceClientSize() const noexcept;
    // For a size that comes from the screen rather than a form definition
    // (a bar as high as the work area): exact device pixels, no rounding
    // through 96-DPI pixels.
    void SetDeviceClientSize(int width, int height);
    IntRect WindowRect() const noexcept;  // screen coordinates
    void SetLeft(int left);
    void SetTop(int top);
    void CenterOnScreen();
    TWindowState WindowState() const noexcept;

    bool Visible() const noexcept { return Handle() && IsWindowVisible(Handle()); }
    void Show();
    void Hide();
    int ShowModal();
    bool IsModal() const noexcept { return modal_; }
    int ModalResult() const noexcept { return modalResult_; }
    // The last modal loop ended because the application is quitting.
    bool ModalEndedByQuit() const noexcept { return modalEndedByQuit_; }
    void SetModalResult(int result) noexcept { modalResult_ = result; }
    // FormClose decides: hide, free or stay. A modal form just ends its loop.
    void Close();
    // Frees the form once the messages already queued have been handled.
    void Release() noexcept;

    // Layered-window alpha: on with a value below 255, off otherwise.
    bool AlphaBlend() const noexcept { return alphaBlend_; }
    std::uint8_t AlphaBlendValue() const noexcept { return alphaValue_; }
    void SetAlphaBlend(bool on, std::uint8_t value);

    TWinControl* ActiveControl() const noexcept { return activeControl_; }
    void SetActiveControl(TWinControl* control);
    // The window-less control that has the keyboard focus (the form's window
    // has it, on behalf of the control), or none.
    TControl* FocusedControl() const noexcept;
    // Gives the focus to a window-less control a person can press (one that
    // is shown, enabled and names a default action); others are ignored.
    void FocusControl(TControl& control);
    // Shown, enabled, on no hidden page, and naming a default action.
    bool IsFocusable(const TControl& control) const noexcept;
    // The focus ring's colour; until set, the system's highlight colour.
    void SetFocusCueColor(COLORREF color) noexcept;

    void InvalidateRect(IntRect rect) const noexcept;
    void Invalidate() const noexcept;
    // Paints the client area (background and window-less controls) into a
    // bitmap of the client's size, as the screen gets it.
    void RenderClient(TBitmap32& target);

    // Runs a hidden shortcut or moves the focus with Tab; true if handled.
    bool PreTranslateMessage(const MSG& message);

    void ControlVisibilityChanged(TControl& control) noexcept;

    // The accessible tree of the window-less controls: child ids count the
    // controls that have a role, from 1, in z-order.
    long AccessibleChildCount() const noexcept;
    TControl* AccessibleChild(long childId) const noexcept;
    long AccessibleChildId(const TControl& control) const noexcept;  // 0: not in the tree
    long AccessibleChildAt(int x, int y) const noexcept;             // client device pixels; 0: none
    bool PostAccessibleDefaultAction(long childId) const noexcept;
    void NotifyAccessibleChange(DWORD event, const TControl& control) const noexcept;

protected:
    // Creates the window hidden (a popup without frame, clipping its children).
    explicit TForm(HWND owner = nullptr);

    virtual void FormPaint(TBitmap32& buffer);
    // The window was hidden (not with its owner): the off-screen buffer and
    // what the controls made for painting are freed, and made again at the
    // next paint. Forms that paint more of their own free that too.
    virtual void ReleaseDrawingCaches() noexcept;
    virtual void FormShow() {}
    virtual void FormClose(TCloseAction& action) { action = TCloseAction::caHide; }
    // After ApplyDpi has scaled the controls: forms re-make what depends on
    // device pixels (regions).
    virtual void FormDpiChanged() {}
    // Messages the toolkit does not handle itself; the default calls
    // DefWindowProc.
    virtual LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);

private:
    static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) noexcept;
    LRESULT Dispatch(UINT message, WPARAM wParam, LPARAM lParam);
    void FinishDispatch() noexcept;
    void ResizeClient(int deviceWidth, int deviceHeight);
    void OnPaint();
    void OnMouseButton(UINT message, WPARAM wParam, LPARAM lParam);
    void OnMouseMove(WPARAM wParam, LPARAM lParam);
    void OnMouseLeave();
    bool OnSetCursor();
    void OnTimer(UINT_PTR id);
    void OnCommand(WPARAM wParam, LPARAM lParam);
    void OnNcDestroy() noexcept;
    LRESULT OnGetObject(WPARAM wParam, LPARAM lParam);
    void OnDpiChanged(WPARAM wParam, LPARAM lParam);
    void OnAccessibleDefaultAction(long childId);
    TControl* ControlAt(int x, int y) const noexcept;
    void SetHover(TControl* control);
    void FocusNext(bool backwards);
    // Space or Enter on the form's window presses its focused window-less
    // control; true if it did.
    bool PressFocusedControl(const MSG& message);
    // The focused control's menu opens, if it has one; true if it did.
    bool OpenFocusedMenu();
    // WM_CONTEXTMENU: from the keyboard, the focused control's menu opens.
    bool OnContextMenu(WPARAM wParam, LPARAM lParam);
    // The window gained or lost the keyboard focus: the cue follows.
    void FocusChanged() noexcept;
    void InvalidateFocusCue(const TControl& control) const noexcept;
    void PaintFocusCue(TBitmap32& target) const noexcept;

    UniqueWindow window_;
    int dpi_ = kDesignDpi;
    IntSize designClient_;
    Microsoft::WRL::ComPtr<TFormAccessible> accessible_;
    // Declared before the controls: native controls leave it when destroyed,
    // and page controls (window-less) outlive the native controls on them.
    TTabList tabList_;
    std::vector<std::unique_ptr<TControl>> controls_;
    std::vector<std::unique_ptr<TWinControl>> winControls_;
    std::vector<std::unique_ptr<TTimer>> timers_;
    std::vector<std::unique_ptr<TPopupMenu>> menus_;
    COLORREF color_ = RGB(128, 128, 128);
    UniqueFont nativeFont_;
    // Kept between paints: a new DIB section per paint costs more than
    // painting the window into it.
    TBitmap32 paintBuffer_;
    TControl* captured_ = nullptr;
    TControl* pressed_ = nullptr;
    TControl* hover_ = nullptr;
    TControl* focus_ = nullptr;  // the window-less control with the focus, while the window has it
    bool focusCue_ = false;      // the keyboard was used: the focus is shown
    std::optional<COLORREF> focusCueColor_;
    bool trackingLeave_ = false;
    TWinControl* activeControl_ = nullptr;
    bool modal_ = false;
    int modalResult_ = mrNone;
    bool modalEndedByQuit_ = false;
    bool alphaBlend_ = false;
    std::uint8_t alphaValue_ = 255;
    int depth_ = 0;
    bool releasePending_ = false;
    bool freeing_ = false;
};

// Live forms: CreateForm hands the new form to the list, which owns it until
// it is released.
void AdoptForm(std::unique_ptr<TForm> form);
void FreeForm(TForm* form) noexcept;
std::vector<TForm*> LiveForms();

template <class T, class... Args>
T& CreateForm(Args&&... args) {
    auto form = std::make_unique<T>(std::forward<Args>(args)...);
    form->AfterConstruction();
    T& result = *form;
    AdoptForm(std::move(form));
    return result;
}

// Dispatches one message, giving the form it belongs to its shortcuts first.
void DispatchFormMessage(const MSG& message);
// Handles every message queued now (tests, and code that must let a closed
// form free itself).
void ProcessMessages();

}  // namespace vh::win32
