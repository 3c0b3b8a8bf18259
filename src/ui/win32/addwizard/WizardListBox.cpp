#include "ui/win32/addwizard/WizardListBox.h"

#include "ui/win32/addwizard/AddWizardLayout.h"
#include "ui/win32/toolkit/Form.h"

namespace vh::win32 {

using namespace add_wizard_layout;

TWizardListBox::TWizardListBox(TForm& form) : TItemListBox(form) {}

void TWizardListBox::Command(WORD code) {
    if (code == LBN_DBLCLK && OnDblClick) {
        if (ItemIndex() >= 0) OnDblClick(ItemIndex());
        return;
    }
    TItemListBox::Command(code);
}

LRESULT TWizardListBox::SubclassedProc(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_LBUTTONDOWN: {
            const LRESULT answer = CallOriginal(message, wParam, lParam);
            const int x = static_cast<short>(LOWORD(lParam));
            RECT client{};
            GetClientRect(Handle(), &client);
            const LRESULT hit = SendMessageW(Handle(), LB_ITEMFROMPOINT, 0, lParam);
            const int row = LOWORD(hit);
            // HIWORD set: the point lies below the last row.
            if (HIWORD(hit) == 0 && x >= client.right - Form().Scale(kTickWidth) && OnTickClick) OnTickClick(row);
            return answer;
        }
        case WM_CONTEXTMENU:
            if (OnContextMenu) {
                OnContextMenu(static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam)));
                return 0;
            }
            break;
        case WM_KEYDOWN:
            if (wParam == VK_DELETE && (GetKeyState(VK_CONTROL) & 0x8000) && OnCtrlDelete) {
                OnCtrlDelete();
                return 0;
            }
            break;
        default: break;
    }
    return TItemListBox::SubclassedProc(message, wParam, lParam);
}

}  // namespace vh::win32
