#pragma once
// What the skinned dialogs share in their look: the white text, the skinned
// push and combo buttons, and the hidden menu items that carry the Enter and
// Escape shortcuts.

#include <functional>
#include <initializer_list>
#include <string>

#include "ui/win32/toolkit/ImageControls.h"
#include "ui/win32/toolkit/Menus.h"
#include "ui/win32/toolkit/PageControls.h"
#include "ui/win32/toolkit/Picture.h"

namespace vh::win32 {

// The dialogs' white text (the user's text colour replaces it).
TFontStyle WhiteFont(bool bold = true);

inline constexpr int kOneLineLabelHeight = 16;

// A label of the dialogs' white text on a design-time page; one taller than a
// line wraps its words.
void PlacePageLabel(TTabSheet& page, TLabel& label, const std::string& name, const std::string& caption, int left,
                    int top, int width, int height = kOneLineLabelHeight, bool bold = true);

// A skinned panel or frame: a nine-slice picture whose sides are `side` wide.
void SkinPanel(TImagePanel& panel, const std::string& name, const TPicture& skin, int side);

// A skinned push button of the dialogs: button skins with sides of 10.
void SkinDialogButton(TImageButton& button, const std::string& name, const std::string& caption, int left, int top,
                      int width);
// The skinned button beside a combo box that opens its list (its own arrow
// is clipped away).
void SkinComboButton(TImageButton& button, const std::string& name);
// Hides menu items that exist only for their shortcuts and makes them run
// `action`.
void BindHiddenShortcuts(std::initializer_list<TMenuItem*> items, const std::function<void()>& action);

}  // namespace vh::win32
