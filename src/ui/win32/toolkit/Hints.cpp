#include "ui/win32/toolkit/Hints.h"

#include <commctrl.h>

#include "common/Exceptions.h"
#include "platform/win32/Utf16.h"
#include "ui/win32/toolkit/Form.h"

namespace vh::win32 {

THints::THints(TForm& form) : form_(form) {
    INITCOMMONCONTROLSEX init{sizeof(init), ICC_WIN95_CLASSES};
    InitCommonControlsEx(&init);
    tip_.Reset(CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr, WS_POPUP | TTS_NOPREFIX | TTS_ALWAYSTIP,
                               CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, form.Handle(), nullptr,
                               GetModuleHandleW(nullptr), nullptr));
    if (!tip_) throw Exception("The hint window could not be created");
}

void THints::Add(TControl& control, const std::string& text) {
    tools_.push_back({&control, Utf8ToWide(text)});
    Tool& tool = tools_.back();
    // The tooltip works in the window's client pixels.
    const IntRect bounds = control.DeviceRect();
    TOOLINFOW info{};
    info.cbSize = sizeof(info);
    info.uFlags = TTF_SUBCLASS;
    info.hwnd = form_.Handle();
    info.uId = tools_.size();
    info.rect = {bounds.left, bounds.top, bounds.right, bounds.bottom};
    info.lpszText = tool.text.data();
    if (!SendMessageW(tip_.Get(), TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&info)))
        throw Exception("A hint could not be added");
}

void THints::PlaceTools() noexcept {
    for (std::size_t i = 0; i < tools_.size(); ++i) {
        const IntRect bounds = tools_[i].control->DeviceRect();
        TOOLINFOW info{};
        info.cbSize = sizeof(info);
        info.hwnd = form_.Handle();
        info.uId = i + 1;
        info.rect = {bounds.left, bounds.top, bounds.right, bounds.bottom};
        SendMessageW(tip_.Get(), TTM_NEWTOOLRECTW, 0, reinterpret_cast<LPARAM>(&info));
    }
}

std::string THints::HintOf(const TControl& control) const {
    for (std::size_t i = 0; i < tools_.size(); ++i) {
        if (tools_[i].control != &control) continue;
        wchar_t text[256] = {};
        TOOLINFOW info{};
        info.cbSize = sizeof(info);
        info.hwnd = form_.Handle();
        info.uId = i + 1;
        info.lpszText = text;
        SendMessageW(tip_.Get(), TTM_GETTEXTW, 256, reinterpret_cast<LPARAM>(&info));
        return WideToUtf8(text);
    }
    return {};
}

}  // namespace vh::win32
