#pragma once
// The program's message box: a caption, a centred message and an OK button;
// Enter and Escape close it as OK does.

#include <functional>
#include <initializer_list>
#include <string>

#include "ui/win32/BaseFRM.h"

namespace vh::win32 {

class TfrmWarning : public TfrmBase {
public:
    TfrmWarning();

    TLabel& lblWarning;
    TImageButton& btnOk;
    TPopupMenu& pmnButtons;
    TMenuItem& miOk;
    TMenuItem& miCancel;

    void CommonOkClick();
    // Shows `message`, the dialog sized to it (a long path stays readable).
    void SetMessage(const std::string& message);
};

// The dialogs' white text (the user's text colour replaces it).
TFontStyle WhiteFont(bool bold = true);

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
