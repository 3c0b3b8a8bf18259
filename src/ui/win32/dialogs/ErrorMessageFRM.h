#pragma once
// The "Application Error" dialog and the program-wide exception handler that
// shows it: the program goes on running after every exception.

#include <exception>
#include <string>

#include "ui/win32/skin/BaseFRM.h"

namespace vh::win32 {

class TfrmErrorMessage : public TfrmBase {
public:
    TfrmErrorMessage();

    std::string ErrorText;
    TLabel& lblDescription;
    TLabel& lblContactUs;
    TImageButton& btnCopyErrorToClipboard;
    TImageButton& btnOk;
    TPopupMenu& pmnButtons;
    TMenuItem& miOk;
    TMenuItem& miCancel;

    // Stores the text and shows the dialog modally.
    void ShowError(const std::string& text);
    void btnOkClick();
    void btnCopyErrorToClipboardClick();
    void lblContactUsClick();

protected:
    void FormDpiChanged() override;

private:
    // Text measured in the font in use: the link goes where its words fall,
    // the buttons are as wide as their captions need.
    void FitTexts();
};

class TApplicationErrorMessage {
public:
    void OnException(const std::exception& e);
};

TApplicationErrorMessage& ApplicationErrorMessage();
// Makes the error dialog the handler of every exception that reaches a
// window procedure.
void InstallApplicationErrorHandler();

// Puts plain text on the clipboard; raises vh::Exception when the clipboard
// cannot be opened or written.
void CopyTextToClipboard(HWND owner, const std::string& text);

}  // namespace vh::win32
