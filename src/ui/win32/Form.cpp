#include "ui/win32/Form.h"

#include <windowsx.h>

#include <algorithm>

#include "common/Exceptions.h"
#include "platform/win32/Utf16.h"
#include "ui/win32/ExceptionBoundary.h"
#include "ui/win32/NativeControls.h"

namespace vh::win32 {
namespace {

constexpr wchar_t kFormClass[] = L"VornhaltForm";
// Posted by Release(): the form frees itself when it arrives.
constexpr UINT kReleaseMessage = WM_APP + 0x3F0;

std::vector<std::unique_ptr<TForm>>& Forms() {
    static std::vector<std::unique_ptr<TForm>> forms;
    return forms;
}

HINSTANCE ModuleInstance() noexcept {
    return GetModuleHandleW(nullptr);
}

TForm* FormOf(HWND window) noexcept {
    wchar_t name[32] = {};
    if (!window || !GetClassNameW(window, name, 32) || wcscmp(name, kFormClass) != 0) return nullptr;
    return reinterpret_cast<TForm*>(GetWindowLongPtrW(window, GWLP_USERDATA));
}

// Windows of this thread that a modal form disables while it runs.
std::vector<HWND> DisableOtherWindows(HWND modal) {
    struct State {
        HWND modal;
        std::vector<HWND> disabled;
    } state{modal, {}};
    EnumThreadWindows(
        GetCurrentThreadId(),
        [](HWND window, LPARAM data) noexcept -> BOOL {
            auto& s = *reinterpret_cast<State*>(data);
            if (window != s.modal && IsWindowVisible(window) && IsWindowEnabled(window)) {
                try {
                    s.disabled.push_back(window);
                } catch (...) {
                    return FALSE;
                }
            }
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&state));
    for (HWND window : state.disabled) EnableWindow(window, FALSE);
    return state.disabled;
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

// ---- TTimer ----

TTimer::~TTimer() {
    if (enabled_ && form_.Handle()) KillTimer(form_.Handle(), id_);
}

void TTimer::SetInterval(UINT milliseconds) {
    interval_ = milliseconds;
    Apply();
}

void TTimer::SetEnabled(bool enabled) {
    enabled_ = enabled;
    Apply();
}

void TTimer::Apply() {
    if (!form_.Handle()) return;
    KillTimer(form_.Handle(), id_);
    if (enabled_ && interval_ > 0) {
        if (!SetTimer(form_.Handle(), id_, interval_, nullptr)) throw Exception("SetTimer failed");
    }
}

// ---- TForm ----

TForm::TForm(HWND owner) {
    RegisterFormClass(&TForm::WindowProc);
    nativeFont_ = CreateFontFromStyle(Font);
    // WM_NCCREATE stores `this` and the handle.
    CreateWindowExW(0, kFormClass, L"", WS_POPUP | WS_CLIPCHILDREN, CW_USEDEFAULT, CW_USEDEFAULT, 242, 382, owner,
                    nullptr, ModuleInstance(), this);
    if (!hwnd_) throw Exception("The form window could not be created (error " + std::to_string(GetLastError()) + ")");
}

TForm::~TForm() {
    if (hwnd_) {
        // The derived parts are gone: the window must not reach this object.
        SetWindowLongPtrW(hwnd_, GWLP_USERDATA, 0);
        const HWND window = std::exchange(hwnd_, nullptr);
        for (auto& control : winControls_) control->HandleDestroyed();
        timers_.clear();
        DestroyWindow(window);
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
    return WindowTextUtf8(hwnd_);
}

void TForm::SetCaption(const std::string& caption) {
    if (hwnd_) SetWindowTextW(hwnd_, Utf8ToWide(caption).c_str());
}

void TForm::SetColor(COLORREF color) {
    color_ = color;
    Invalidate();
}

IntSize TForm::ClientSize() const noexcept {
    RECT rect{};
    if (hwnd_) GetClientRect(hwnd_, &rect);
    return {rect.right - rect.left, rect.bottom - rect.top};
}

void TForm::SetClientSize(int width, int height) {
    RECT rect{0, 0, width, height};
    AdjustWindowRectEx(&rect, static_cast<DWORD>(GetWindowLongPtrW(hwnd_, GWL_STYLE)), FALSE,
                       static_cast<DWORD>(GetWindowLongPtrW(hwnd_, GWL_EXSTYLE)));
    SetWindowPos(hwnd_, nullptr, 0, 0, rect.right - rect.left, rect.bottom - rect.top,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

IntRect TForm::WindowRect() const noexcept {
    RECT rect{};
    if (hwnd_) GetWindowRect(hwnd_, &rect);
    return {rect.left, rect.top, rect.right, rect.bottom};
}

void TForm::SetLeft(int left) {
    SetWindowPos(hwnd_, nullptr, left, WindowRect().top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void TForm::SetTop(int top) {
    SetWindowPos(hwnd_, nullptr, WindowRect().left, top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void TForm::CenterOnScreen() {
    const IntRect rect = WindowRect();
    const int left = (GetSystemMetrics(SM_CXSCREEN) - rect.Width()) / 2;
    const int top = (GetSystemMetrics(SM_CYSCREEN) - rect.Height()) / 2;
    SetWindowPos(hwnd_, nullptr, left, top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

TWindowState TForm::WindowState() const noexcept {
    if (hwnd_ && IsIconic(hwnd_)) return TWindowState::wsMinimized;
    if (hwnd_ && IsZoomed(hwnd_)) return TWindowState::wsMaximized;
    return TWindowState::wsNormal;
}

void TForm::Show() {
    VH_ASSERT(hwnd_ != nullptr);
    ShowWindow(hwnd_, SW_SHOW);
    FormShow();
}

void TForm::Hide() {
    if (hwnd_) ShowWindow(hwnd_, SW_HIDE);
}

int TForm::ShowModal() {
    VH_ASSERT(hwnd_ != nullptr && !modal_ && !Visible());
    const std::vector<HWND> disabled = DisableOtherWindows(hwnd_);
    modal_ = true;
    modalResult_ = mrNone;
    modalEndedByQuit_ = false;
    try {
        Show();
        SetForegroundWindow(hwnd_);
        SetActiveWindow(hwnd_);
        MSG message;
        while (modalResult_ == mrNone && hwnd_) {
            const BOOL got = GetMessageW(&message, nullptr, 0, 0);
            if (got == 0) {
                PostQuitMessage(static_cast<int>(message.wParam));  // for the outer loop
                modalResult_ = mrCancel;
                modalEndedByQuit_ = true;
                break;
            }
            if (got < 0) throw Exception("GetMessage failed in a modal loop");
            DispatchFormMessage(message);
        }
    } catch (...) {
        for (HWND window : disabled) EnableWindow(window, TRUE);
        modal_ = false;
        throw;
    }
    // Enabled again before this one hides, so activation returns to them.
    for (HWND window : disabled) EnableWindow(window, TRUE);
    modal_ = false;
    const int result = modalResult_;
    if (hwnd_) Close();
    return result;
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
    if (hwnd_) PostMessageW(hwnd_, kReleaseMessage, 0, 0);
}

void TForm::SetAlphaBlend(bool on, std::uint8_t value) {
    alphaBlend_ = on;
    alphaValue_ = value;
    const auto exStyle = GetWindowLongPtrW(hwnd_, GWL_EXSTYLE);
    if (on) {
        SetWindowLongPtrW(hwnd_, GWL_EXSTYLE, exStyle | WS_EX_LAYERED);
        if (!SetLayeredWindowAttributes(hwnd_, 0, value, LWA_ALPHA)) {
            throw Exception("SetLayeredWindowAttributes failed");
        }
    } else if (exStyle & WS_EX_LAYERED) {
        SetWindowLongPtrW(hwnd_, GWL_EXSTYLE, exStyle & ~static_cast<LONG_PTR>(WS_EX_LAYERED));
        RedrawWindow(hwnd_, nullptr, nullptr, RDW_ERASE | RDW_INVALIDATE | RDW_FRAME | RDW_ALLCHILDREN);
    }
}

void TForm::SetActiveControl(TWinControl* control) {
    activeControl_ = control;
    if (control && control->CanFocus()) control->SetFocus();
}

void TForm::InvalidateRect(IntRect rect) const noexcept {
    if (!hwnd_) return;
    const RECT r{rect.left, rect.top, rect.right, rect.bottom};
    ::InvalidateRect(hwnd_, &r, TRUE);
}

void TForm::Invalidate() const noexcept {
    if (hwnd_) ::InvalidateRect(hwnd_, nullptr, TRUE);
}

void TForm::FormPaint(TBitmap32& buffer) {
    buffer.Fill(PixelFromColorRef(color_));
}

void TForm::RenderClient(TBitmap32& target) {
    const IntSize size = ClientSize();
    target.SetSize(size.width, size.height);
    if (target.Empty()) return;
    FormPaint(target);
    for (const auto& control : controls_) {
        if (control->Visible() && !control->Page) control->Paint(target);
    }
}

void TForm::ControlVisibilityChanged(TControl& control) noexcept {
    if (control.Visible()) return;
    if (hover_ == &control) hover_ = nullptr;
    if (pressed_ == &control) pressed_ = nullptr;
    if (captured_ == &control) {
        captured_ = nullptr;
        ReleaseCapture();
    }
}

bool TForm::PreTranslateMessage(const MSG& message) {
    if (message.message != WM_KEYDOWN || !hwnd_ || !IsWindowEnabled(hwnd_)) return false;
    if (message.hwnd != hwnd_ && !IsChild(hwnd_, message.hwnd)) return false;
    const bool modifiers = (GetKeyState(VK_SHIFT) | GetKeyState(VK_CONTROL) | GetKeyState(VK_MENU)) & 0x8000;
    if (message.wParam == VK_TAB && !(GetKeyState(VK_CONTROL) & 0x8000) && !(GetKeyState(VK_MENU) & 0x8000)) {
        FocusNext((GetKeyState(VK_SHIFT) & 0x8000) != 0);
        return true;
    }
    if (modifiers) return false;
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

void TForm::FocusNext(bool backwards) {
    std::vector<TWinControl*> order;
    for (TWinControl* control : tabList_.Items()) {
        if (control->TabStop && control->CanFocus()) order.push_back(control);
    }
    if (order.empty()) return;
    const HWND focus = GetFocus();
    auto current = std::find_if(order.begin(), order.end(),
                                [&](TWinControl* c) { return c->Handle() == focus || IsChild(c->Handle(), focus); });
    std::size_t index = 0;
    if (current != order.end()) {
        const auto at = static_cast<std::size_t>(current - order.begin());
        index = backwards ? (at + order.size() - 1) % order.size() : (at + 1) % order.size();
    } else if (backwards) {
        index = order.size() - 1;
    }
    SetActiveControl(order[index]);
}

// ---- messages ----

LRESULT CALLBACK TForm::WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) noexcept {
    if (message == WM_NCCREATE) {
        auto* created = static_cast<TForm*>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams);
        created->hwnd_ = window;
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
    if (hwnd_) DestroyWindow(hwnd_);
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
            if (reinterpret_cast<HWND>(lParam) != hwnd_) captured_ = nullptr;
            return 0;
        case WM_SETCURSOR:
            if (reinterpret_cast<HWND>(wParam) == hwnd_ && LOWORD(lParam) == HTCLIENT && OnSetCursor()) return TRUE;
            break;
        case WM_TIMER: OnTimer(wParam); return 0;
        case WM_COMMAND: OnCommand(wParam, lParam); break;
        case WM_DRAWITEM: {
            const auto& item = *reinterpret_cast<const DRAWITEMSTRUCT*>(lParam);
            TWinControl* control = FindWinControl(item.hwndItem);
            if (control && control->DrawItem(item)) return TRUE;
            break;
        }
        case WM_CLOSE: Close(); return 0;
        case kReleaseMessage: releasePending_ = true; return 0;
        case WM_DESTROY:
            for (auto& timer : timers_) KillTimer(hwnd_, timer->Id());
            break;
        case WM_NCDESTROY: OnNcDestroy(); return 0;
        default: break;
    }
    return HandleMessage(message, wParam, lParam);
}

LRESULT TForm::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    return DefWindowProcW(hwnd_, message, wParam, lParam);
}

void TForm::OnNcDestroy() noexcept {
    SetWindowLongPtrW(hwnd_, GWLP_USERDATA, 0);
    hwnd_ = nullptr;
    for (auto& control : winControls_) control->HandleDestroyed();
    // Destroyed from outside (an owner going away): free this form too.
    releasePending_ = true;
}

void TForm::OnPaint() {
    PAINTSTRUCT ps;
    const HDC dc = BeginPaint(hwnd_, &ps);
    try {
        TBitmap32 buffer;
        RenderClient(buffer);
        if (!buffer.Empty()) {
            BitBlt(dc, ps.rcPaint.left, ps.rcPaint.top, ps.rcPaint.right - ps.rcPaint.left,
                   ps.rcPaint.bottom - ps.rcPaint.top, buffer.Dc(), ps.rcPaint.left, ps.rcPaint.top, SRCCOPY);
        }
    } catch (...) {
        EndPaint(hwnd_, &ps);
        throw;
    }
    EndPaint(hwnd_, &ps);
}

TControl* TForm::ControlAt(int x, int y) const noexcept {
    for (auto it = controls_.rbegin(); it != controls_.rend(); ++it) {
        TControl& control = **it;
        if (control.Visible() && control.Enabled() && !control.Page && control.BoundsRect().Contains(x, y)) {
            return &control;
        }
    }
    return nullptr;
}

void TForm::SetHover(TControl* control) {
    if (control == hover_) return;
    TControl* previous = std::exchange(hover_, control);
    if (previous) previous->MouseLeave();
    if (control) control->MouseEnter();
}

void TForm::OnMouseButton(UINT message, WPARAM wParam, LPARAM lParam) {
    const int x = GET_X_LPARAM(lParam);
    const int y = GET_Y_LPARAM(lParam);
    const TShiftState shift = ShiftStateFromKeys(wParam);
    const TMouseButton button = (message == WM_LBUTTONDOWN || message == WM_LBUTTONUP)   ? TMouseButton::mbLeft
                                : (message == WM_RBUTTONDOWN || message == WM_RBUTTONUP) ? TMouseButton::mbRight
                                                                                         : TMouseButton::mbMiddle;
    const bool down = message == WM_LBUTTONDOWN || message == WM_RBUTTONDOWN || message == WM_MBUTTONDOWN;
    if (down) {
        TControl* target = ControlAt(x, y);
        if (!target) return;
        captured_ = target;
        if (button == TMouseButton::mbLeft) pressed_ = target;
        SetCapture(hwnd_);
        target->MouseDown(button, shift, x - target->Left(), y - target->Top());
        return;
    }
    TControl* target = captured_;
    if (!target) return;
    if (!shift.left && !shift.right && !shift.middle) {
        captured_ = nullptr;
        if (GetCapture() == hwnd_) ReleaseCapture();
    }
    target->MouseUp(button, shift, x - target->Left(), y - target->Top());
    if (button == TMouseButton::mbLeft && pressed_ == target) {
        pressed_ = nullptr;
        if (target->BoundsRect().Contains(x, y)) target->Click();
    }
}

void TForm::OnMouseMove(WPARAM wParam, LPARAM lParam) {
    const int x = GET_X_LPARAM(lParam);
    const int y = GET_Y_LPARAM(lParam);
    if (!trackingLeave_) {
        TRACKMOUSEEVENT track{sizeof(track), TME_LEAVE, hwnd_, 0};
        trackingLeave_ = TrackMouseEvent(&track) != FALSE;
    }
    SetHover(ControlAt(x, y));
    TControl* target = captured_ ? captured_ : hover_;
    if (target) target->MouseMove(ShiftStateFromKeys(wParam), x - target->Left(), y - target->Top());
}

void TForm::OnMouseLeave() {
    trackingLeave_ = false;
    SetHover(nullptr);
}

bool TForm::OnSetCursor() {
    if (!hover_) return false;
    const HCURSOR cursor = hover_->Cursor();
    if (!cursor) return false;
    SetCursor(cursor);
    return true;
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

// ---- live forms ----

void AdoptForm(std::unique_ptr<TForm> form) {
    Forms().push_back(std::move(form));
}

void FreeForm(TForm* form) noexcept {
    auto& forms = Forms();
    const auto it = std::find_if(forms.begin(), forms.end(), [&](const auto& f) { return f.get() == form; });
    if (it == forms.end()) return;
    std::unique_ptr<TForm> doomed = std::move(*it);
    forms.erase(it);
    doomed.reset();
}

std::vector<TForm*> LiveForms() {
    std::vector<TForm*> result;
    for (const auto& form : Forms()) result.push_back(form.get());
    return result;
}

void DispatchFormMessage(const MSG& message) {
    if (TForm* form = FormOf(GetAncestor(message.hwnd, GA_ROOT)); form && form->PreTranslateMessage(message)) {
        return;
    }
    TranslateMessage(&message);
    DispatchMessageW(&message);
}

void ProcessMessages() {
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
        if (message.message == WM_QUIT) {
            PostQuitMessage(static_cast<int>(message.wParam));
            return;
        }
        DispatchFormMessage(message);
    }
}

}  // namespace vh::win32
