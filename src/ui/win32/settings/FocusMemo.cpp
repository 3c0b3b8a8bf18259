#include "ui/win32/settings/FocusMemo.h"

namespace vh::win32 {

void TFocusMemo::Command(WORD code) {
    if ((code == EN_SETFOCUS || code == EN_KILLFOCUS) && OnFocusChange) OnFocusChange(code == EN_SETFOCUS);
    TMemo::Command(code);
}

}  // namespace vh::win32
