#pragma once
// A memo that says when it gets and loses the focus (the settings dialog
// lets Enter start a new line while its reminder memo has the focus).

#include <windows.h>

#include <functional>

#include "ui/win32/toolkit/NativeControls.h"

namespace vh::win32 {

// A memo that says when it gets and loses the focus.
class TFocusMemo : public TMemo {
public:
    using TMemo::TMemo;
    std::function<void(bool focused)> OnFocusChange;
    void Command(WORD code) override;
};

}  // namespace vh::win32
