// The form's modal loop: the program's other windows disabled while it runs
// (enabled again however it ends), the messages dispatched until a result is
// set or the session quits.
#include <vector>

#include "common/Exceptions.h"
#include "common/ScopeExit.h"
#include "ui/win32/toolkit/Form.h"

namespace vh::win32 {
namespace {

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

}  // namespace

int TForm::ShowModal() {
    VH_ASSERT(Handle() != nullptr && !modal_ && !Visible());
    const std::vector<HWND> disabled = DisableOtherWindows(Handle());
    modal_ = true;
    modalResult_ = mrNone;
    modalEndedByQuit_ = false;
    {
        // Enabled again before this one hides, so activation returns to them;
        // also when the loop raises.
        const ScopeExit enableOthers([&] {
            for (HWND window : disabled) EnableWindow(window, TRUE);
            modal_ = false;
        });
        Show();
        SetForegroundWindow(Handle());
        SetActiveWindow(Handle());
        MSG message;
        while (modalResult_ == mrNone && Handle()) {
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
    }
    const int result = modalResult_;
    if (Handle()) Close();
    return result;
}

}  // namespace vh::win32
