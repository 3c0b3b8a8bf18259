#include "ui/win32/toolkit/Form.h"

#include <algorithm>

#include "common/Exceptions.h"
#include "common/ScopeExit.h"
#include "platform/win32/Utf16.h"
#include "ui/win32/toolkit/Dpi.h"
#include "ui/win32/toolkit/ExceptionBoundary.h"
#include "ui/win32/toolkit/FormAccessible.h"
#include "ui/win32/toolkit/NativeControls.h"

namespace vh::win32 {
namespace {

constexpr wchar_t kFormClass[] = L"VornhaltForm";
// Posted by Release(): the form frees itself when it arrives.
constexpr UINT kReleaseMessage = WM_APP + 0x3F0;

HINSTANCE ModuleInstance() noexcept {
    return GetModuleHandleW(nullptr);
}

void RegisterFormClass(WNDPROC procedure) {
    static const bool registered = [procedure] {
        WNDCLASSEXW wc{};
        wc.cbSize = sizeof(wc);
        wc.lpfnWndProc = procedure;
        wc.hInstance = ModuleInstance();
        wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
        wc.lpszClassName = kFormClass;
        return RegisterClassExW(&wc) != 0 || GetLastError() == ERROR_CLASS_ALREADY_EXISTS;
    }();
    if (!registered) throw Exception("The form window class could not be registered");
}

}  // namespace

// ---- TForm ----

TForm* TForm::FromHandle(HWND window) noexcept {
    wchar_t name[32] = {};
    if (!window || !GetClassNameW(window, name, 32) || wcscmp(name, kFormClass) != 0) return nullptr;
    return reinterpret_cast<TForm*>(GetWindowLongPtrW(window, GWLP_USERDATA));
}

TForm::TForm(HWND owner) {
    RegisterFormClass(&TForm::WindowProc);
    // WM_NCCREATE stores `this` and the handle.
    CreateWindowExW(0, kFormClass, L"", WS_POPUP | WS_CLIPCHILDREN, CW_USEDEFAULT, CW_USEDEFAULT, 242, 382, owner,
                    nullptr, ModuleInstance(), this);
    if (!window_)
        throw Exception("The form window could not be created (error " + std::to_string(GetLastError()) + ")");
    dpi_ = WindowDpi(Handle());
    nativeFont_ = CreateFontFromStyle(Font, dpi_);
    accessible_ = TFormAccessible::Create(*this);
}

TForm::~TForm() {
    if (accessible_) accessible_->Disconnect();
    if (window_) {
        // The derived parts are gone: the window must not reach this object.
        SetWindowLongPtrW(window_.Get(), GWLP_USERDATA, 0);
        for (auto& control : winControls_) control->HandleDestroyed();
        timers_.clear();
        window_.Reset();
    }
}

TTimer& TForm::AddTimer() {
    timers_.push_back(std::make_unique<TTimer>(*this, timers_.size() + 1));
    return *timers_.back();
}

TPopupMenu& TForm::AddPopupMenu(std::string name) {
    menus_.push_back(std::make_unique<TPopupMenu>());
    menus_.back()->Name = std::move(name);
    return *menus_.back();
}

TWinControl* TForm::FindWinControl(HWND handle) const noexcept {
    for (const auto& control : winControls_) {
        if (control->Handle() == handle) return control.get();
    }
    return nullptr;
}

std::string TForm::Caption() const {
    return WindowTextUtf8(Handle());
}

void TForm::SetCaption(const std::string& caption) {
    if (Handle()) SetWindowTextW(Handle(), Utf8ToWide(caption).c_str());
}

void TForm::SetColor(COLORREF color) {
    color_ = color;
    Invalidate();
}

IntSize TForm::DeviceClientSize() const noexcept {
    RECT rect{};
    if (Handle()) GetClientRect(Handle(), &rect);
    return {rect.right - rect.left, rect.bottom - rect.top};
}

IntSize TForm::ClientSize() const noexcept {
    const IntSize device = DeviceClientSize();
    // The size the form asked for, unless something else resized the window.
    if (ScaleSizeToDpi(designClient_, dpi_) == device) return designClient_;
    return {UnscaleFromDpi(device.width, dpi_), UnscaleFromDpi(device.height, dpi_)};
}

void TForm::SetClientSize(int width, int height) {
    designClient_ = {width, height};
    ResizeClient(Scale(width), Scale(height));
}

void TForm::SetDeviceClientSize(int width, int height) {
    designClient_ = {UnscaleFromDpi(width, dpi_), UnscaleFromDpi(height, dpi_)};
    ResizeClient(width, height);
}

void TForm::ResizeClient(int deviceWidth, int deviceHeight) {
    RECT rect{0, 0, deviceWidth, deviceHeight};
    AdjustWindowRectEx(&rect, static_cast<DWORD>(GetWindowLongPtrW(Handle(), GWL_STYLE)), FALSE,
                       static_cast<DWORD>(GetWindowLongPtrW(Handle(), GWL_EXSTYLE)));
    SetWindowPos(Handle(), nullptr, 0, 0, rect.right - rect.left, rect.bottom - rect.top,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

IntRect TForm::WindowRect() const noexcept {
    RECT rect{};
    if (Handle()) GetWindowRect(Handle(), &rect);
    return {rect.left, rect.top, rect.right, rect.bottom};
}

void TForm::SetLeft(int left) {
    SetWindowPos(Handle(), nullptr, left, WindowRect().top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void TForm::SetTop(int top) {
    SetWindowPos(Handle(), nullptr, WindowRect().left, top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void TForm::CenterOnScreen() {
    const IntRect rect = WindowRect();
    const int left = (GetSystemMetrics(SM_CXSCREEN) - rect.Width()) / 2;
    const int top = (GetSystemMetrics(SM_CYSCREEN) - rect.Height()) / 2;
    SetWindowPos(Handle(), nullptr, left, top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

TWindowState TForm::WindowState() const noexcept {
    if (Handle() && IsIconic(Handle())) return TWindowState::wsMinimized;
    if (Handle() && IsZoomed(Handle())) return TWindowState::wsMaximized;
    return TWindowState::wsNormal;
}

void TForm::Show() {
    VH_ASSERT(Handle() != nullptr);
    ShowWindow(Handle(), SW_SHOW);
    FormShow();
}

void TForm::Hide() {
    if (Handle()) ShowWindow(Handle(), SW_HIDE);
}

void TForm::Close() {
    if (modal_) {
        if (modalResult_ == mrNone) modalResult_ = mrCancel;
        return;
    }
    TCloseAction action = TCloseAction::caHide;
    FormClose(action);
    if (action == TCloseAction::caNone) return;
    Hide();
    if (action == TCloseAction::caFree) Release();
}

void TForm::Release() noexcept {
    if (Handle()) PostMessageW(Handle(), kReleaseMessage, 0, 0);
}

void TForm::SetAlphaBlend(bool on, std::uint8_t value) {
    alphaBlend_ = on;
    alphaValue_ = value;
    const auto exStyle = GetWindowLongPtrW(Handle(), GWL_EXSTYLE);
    if (on) {
        SetWindowLongPtrW(Handle(), GWL_EXSTYLE, exStyle | WS_EX_LAYERED);
        if (!SetLayeredWindowAttributes(Handle(), 0, value, LWA_ALPHA)) {
            throw Exception("SetLayeredWindowAttributes failed");
        }
    } else if (exStyle & WS_EX_LAYERED) {
        SetWindowLongPtrW(Handle(), GWL_EXSTYLE, exStyle & ~static_cast<LONG_PTR>(WS_EX_LAYERED));
        RedrawWindow(Handle(), nullptr, nullptr, RDW_ERASE | RDW_INVALIDATE | RDW_FRAME | RDW_ALLCHILDREN);
    }
}

void TForm::SetActiveControl(TWinControl* control) {
    activeControl_ = control;
    if (control && control->CanFocus()) control->SetFocus();
}

// A hidden window is painted whole when it is shown, so marking parts of it
// is wasted work: a form filling its controls before it shows would otherwise
// queue one update region change per control.
void TForm::InvalidateRect(IntRect rect) const noexcept {
    if (!Handle() || !IsWindowVisible(Handle())) return;
    const IntRect device = ScaleRectToDpi(rect, dpi_);
    const RECT r{device.left, device.top, device.right, device.bottom};
    ::InvalidateRect(Handle(), &r, TRUE);
}

void TForm::Invalidate() const noexcept {
    if (Handle() && IsWindowVisible(Handle())) ::InvalidateRect(Handle(), nullptr, TRUE);
}

void TForm::ReleaseDrawingCaches() noexcept {
    paintBuffer_.Free();
    for (const auto& control : controls_) control->ReleaseDrawingCaches();
}

void TForm::FormPaint(TBitmap32& buffer) {
    buffer.Fill(PixelFromColorRef(color_));
}

void TForm::RenderClient(TBitmap32& target) {
    const IntSize size = DeviceClientSize();
    if (target.Size() != size || target.Empty()) target.SetSize(size.width, size.height);
    if (target.Empty()) return;
    FormPaint(target);
    for (const auto& control : controls_) {
        if (control->Visible() && !control->Page) control->Paint(target);
    }
    PaintFocusCue(target);
}

void TForm::ControlVisibilityChanged(TControl& control) noexcept {
    if (control.Visible()) return;
    if (hover_ == &control) hover_ = nullptr;
    if (pressed_ == &control) pressed_ = nullptr;
    if (captured_ == &control) {
        captured_ = nullptr;
        ReleaseCapture();
    }
    if (focus_ == &control) focus_ = nullptr;
}

bool TForm::PreTranslateMessage(const MSG& message) {
    const UINT kind = message.message;
    if (kind != WM_KEYDOWN && kind != WM_KEYUP && kind != WM_SYSKEYDOWN) return false;
    if (!Handle() || !IsWindowEnabled(Handle())) return false;
    if (message.hwnd != Handle() && !IsChild(Handle(), message.hwnd)) return false;
    // The context-menu key (on its release, as Windows answers it) and
    // Shift+F10 open the focused control's menu here, so the system's own
    // WM_CONTEXTMENU never comes as well.
    const bool contextKey = (kind == WM_KEYUP && message.wParam == VK_APPS) ||
                            (kind == WM_SYSKEYDOWN && message.wParam == VK_F10 && (GetKeyState(VK_SHIFT) & 0x8000));
    if (contextKey && message.hwnd == Handle()) return OpenFocusedMenu();
    if (kind != WM_KEYDOWN) return false;
    const bool modifiers = (GetKeyState(VK_SHIFT) | GetKeyState(VK_CONTROL) | GetKeyState(VK_MENU)) & 0x8000;
    if (message.wParam == VK_TAB && !(GetKeyState(VK_CONTROL) & 0x8000) && !(GetKeyState(VK_MENU) & 0x8000)) {
        FocusNext((GetKeyState(VK_SHIFT) & 0x8000) != 0);
        return true;
    }
    if (modifiers) return false;
    if (PressFocusedControl(message)) return true;
    for (const auto& menu : menus_) {
        for (const auto& item : menu->Items()) {
            if (item->ShortCut != 0 && item->ShortCut == message.wParam && item->Enabled) {
                item->Click();
                return true;
            }
        }
    }
    return false;
}

// ---- messages ----

LRESULT CALLBACK TForm::WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) noexcept {
    if (message == WM_NCCREATE) {
        auto* created = static_cast<TForm*>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams);
        created->window_.Reset(window);
        SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(created));
    }
    TForm* form = reinterpret_cast<TForm*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    if (!form) return DefWindowProcW(window, message, wParam, lParam);
    LRESULT result = 0;
    ++form->depth_;
    try {
        result = form->Dispatch(message, wParam, lParam);
    } catch (...) {
        HandleCurrentException("TForm.WindowProc");
    }
    --form->depth_;
    form->FinishDispatch();
    return result;
}

void TForm::FinishDispatch() noexcept {
    if (depth_ != 0 || !releasePending_ || modal_ || freeing_) return;
    freeing_ = true;
    // WM_NCDESTROY lets go of the handle; the object still hears WM_DESTROY.
    if (window_) DestroyWindow(window_.Get());
    FreeForm(this);
}

LRESULT TForm::Dispatch(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_ERASEBKGND: return 1;
        case WM_PAINT: OnPaint(); return 0;
        case WM_LBUTTONDOWN:
        case WM_RBUTTONDOWN:
        case WM_MBUTTONDOWN:
        case WM_LBUTTONUP:
        case WM_RBUTTONUP:
        case WM_MBUTTONUP: OnMouseButton(message, wParam, lParam); return 0;
        case WM_MOUSEMOVE: OnMouseMove(wParam, lParam); return 0;
        case WM_MOUSELEAVE: OnMouseLeave(); return 0;
        case WM_CAPTURECHANGED:
            if (reinterpret_cast<HWND>(lParam) != Handle()) captured_ = nullptr;
            return 0;
        case WM_SETCURSOR:
            if (reinterpret_cast<HWND>(wParam) == Handle() && LOWORD(lParam) == HTCLIENT && OnSetCursor()) return TRUE;
            break;
        case WM_TIMER: OnTimer(wParam); return 0;
        case WM_SETFOCUS:
        case WM_KILLFOCUS: FocusChanged(); break;
        case WM_COMMAND: OnCommand(wParam, lParam); break;
        case WM_CONTEXTMENU:
            if (OnContextMenu(wParam, lParam)) return 0;
            break;
        case WM_DRAWITEM: {
            const auto& item = *reinterpret_cast<const DRAWITEMSTRUCT*>(lParam);
            TWinControl* control = FindWinControl(item.hwndItem);
            if (control && control->DrawItem(item)) return TRUE;
            break;
        }
        case WM_CLOSE: Close(); return 0;
        case WM_GETOBJECT: {
            if (const LRESULT answer = OnGetObject(wParam, lParam)) return answer;
            break;
        }
        case WM_DPICHANGED: OnDpiChanged(wParam, lParam); return 0;
        case WM_SHOWWINDOW:
            if (!wParam && lParam == 0) ReleaseDrawingCaches();
            break;
        case kAccessibleActionMessage: OnAccessibleDefaultAction(static_cast<long>(wParam)); return 0;
        case kReleaseMessage: releasePending_ = true; return 0;
        case WM_DESTROY:
            for (auto& timer : timers_) KillTimer(Handle(), timer->Id());
            break;
        case WM_NCDESTROY: OnNcDestroy(); return 0;
        default: break;
    }
    return HandleMessage(message, wParam, lParam);
}

LRESULT TForm::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    return DefWindowProcW(Handle(), message, wParam, lParam);
}

void TForm::OnNcDestroy() noexcept {
    SetWindowLongPtrW(window_.Get(), GWLP_USERDATA, 0);
    // The window is going away by itself: nothing left to destroy.
    static_cast<void>(window_.Release());
    for (auto& control : winControls_) control->HandleDestroyed();
    // Destroyed from outside (an owner going away): free this form too.
    releasePending_ = true;
}

void TForm::ApplyDpi(int dpi) {
    ApplyDpi(dpi, nullptr);
}

void TForm::ApplyDpi(int dpi, const RECT* suggested) {
    dpi = ValidDpi(dpi);
    if (dpi == dpi_ && !suggested) return;
    const IntSize design = ClientSize();
    UniqueFont font = CreateFontFromStyle(Font, dpi);
    if (!font) throw Exception("CreateFont failed");
    dpi_ = dpi;
    nativeFont_ = std::move(font);
    for (const auto& control : winControls_) control->DpiChanged();
    if (suggested) {
        designClient_ = design;
        SetWindowPos(Handle(), nullptr, suggested->left, suggested->top, suggested->right - suggested->left,
                     suggested->bottom - suggested->top, SWP_NOZORDER | SWP_NOACTIVATE);
    } else {
        SetClientSize(design.width, design.height);
    }
    // Last: a form that re-measures its texts may grow beyond the rectangle.
    FormDpiChanged();
    Invalidate();
}

void TForm::OnDpiChanged(WPARAM wParam, LPARAM lParam) {
    ApplyDpi(LOWORD(wParam), reinterpret_cast<const RECT*>(lParam));
}

void TForm::OnPaint() {
    const PaintDc paint(Handle());
    const RECT& r = paint.Invalid();
    TBitmap32& buffer = paintBuffer_;
    RenderClient(buffer);
    if (!buffer.Empty())
        BitBlt(paint.Get(), r.left, r.top, r.right - r.left, r.bottom - r.top, buffer.Dc(), r.left, r.top, SRCCOPY);
}

void TForm::OnTimer(UINT_PTR id) {
    for (const auto& timer : timers_) {
        if (timer->Id() == id && timer->Enabled() && timer->OnTimer) {
            timer->OnTimer(*timer);
            return;
        }
    }
}

void TForm::OnCommand(WPARAM wParam, LPARAM lParam) {
    if (!lParam) return;
    if (TWinControl* control = FindWinControl(reinterpret_cast<HWND>(lParam))) control->Command(HIWORD(wParam));
}

}  // namespace vh::win32
