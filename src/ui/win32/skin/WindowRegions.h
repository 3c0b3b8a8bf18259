#pragma once
// Window regions: rounded corners and the combo box whose own arrow a skinned
// button replaces.

#include <windows.h>

#include "ui/win32/toolkit/Form.h"

namespace vh::win32 {

// A rounded window region (corner ellipses 20 x 20) from the window's client
// rectangle; an edit's text rectangle also shrinks by 5 pixels on each side.
void RoundWindowCorners(TForm& form, HWND control);
// Hides a combo box's own arrow: its region loses the rightmost 26 pixels.
void ClipComboBoxArrow(HWND comboBox);

}  // namespace vh::win32
