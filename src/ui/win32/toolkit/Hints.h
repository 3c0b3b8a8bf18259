#pragma once
// Hints (tooltips) over window-less controls: one tooltip window of the form
// with a tool per control, placed at the control's bounds.

#include <windows.h>

#include <string>
#include <vector>

#include "platform/win32/Handles.h"
#include "ui/win32/toolkit/Control.h"

namespace vh::win32 {

class THints {
public:
    // The tooltip window belongs to the form's window; this object must go
    // before the form's window does (a member of the form does).
    explicit THints(TForm& form);
    THints(const THints&) = delete;
    THints& operator=(const THints&) = delete;

    void Add(TControl& control, const std::string& text);
    // Places every tool at its control again (after the form's DPI changed).
    void PlaceTools() noexcept;
    // The hint a control shows; empty for none.
    std::string HintOf(const TControl& control) const;
    HWND Handle() const noexcept { return tip_.Get(); }

private:
    struct Tool {
        TControl* control;
        std::wstring text;
    };
    TForm& form_;
    UniqueWindow tip_;
    std::vector<Tool> tools_;
};

}  // namespace vh::win32
