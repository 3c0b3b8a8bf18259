#pragma once
// The add wizard's lists: rows with a tick in their rightmost 18 pixels, a
// double-click, a context menu and Ctrl+Del.

#include <windows.h>

#include <functional>

#include "ui/win32/toolkit/ListControls.h"

namespace vh::win32 {

// A list of the wizard whose rows carry a tick in their rightmost 18 pixels.
class TWizardListBox : public TItemListBox {
public:
    explicit TWizardListBox(TForm& form);
    std::function<void(int row)> OnTickClick;
    std::function<void(int row)> OnDblClick;
    std::function<void(int screenX, int screenY)> OnContextMenu;
    std::function<void()> OnCtrlDelete;

protected:
    void Command(WORD code) override;
    LRESULT SubclassedProc(UINT message, WPARAM wParam, LPARAM lParam) override;
};

}  // namespace vh::win32
