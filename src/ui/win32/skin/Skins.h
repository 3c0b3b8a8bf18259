#pragma once
// The skin pictures every form is built from, read once from the skin folder
// (by default the "Graphics\" folder beside the program; "Skins\" holds the
// background pictures the user picks from). A missing or unreadable file
// leaves its picture empty, which draws nothing, and is traced.

#include <string>

#include "ui/win32/toolkit/Picture.h"

namespace vh::win32 {

struct TSkinSet {
    TPicture header;          // dark bar, slices of 8
    TPicture body;            // light body, slices of 8
    TPicture button;          // slices of 10
    TPicture buttonSelected;  // under the mouse
    TPicture buttonDowned;    // pressed
    TPicture panelFrame;      // framed panels, slices of 8
    TPicture comboButton;     // the drop button beside a combo box
    TPicture comboButtonSelected;
    TPicture comboButtonDowned;
    TPicture tick;        // a ticked check box
    TPicture check;       // an empty check box
    TPicture icon;        // the program icon, 24 x 24
    TPicture viewButton;  // the header's picture buttons, 16 x 16
    TPicture linksButton;
    TPicture minimizeButton;
    TPicture columnHead;    // the lists' column heads, slices of 4
    TPicture addButton;     // 14 x 16
    TPicture deleteButton;  // 14 x 16
};

// Side widths of the skins.
inline constexpr int kHeaderSide = 8;
inline constexpr int kButtonSide = 10;

// The skin folder, with a trailing backslash; changing it reloads the skins
// at the next Skins() call.
std::string SkinFolder();
void SetSkinFolder(std::string folder);

const TSkinSet& Skins();

}  // namespace vh::win32
