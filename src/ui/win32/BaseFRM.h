#pragma once
// The base form of every window: no frame, rounded corners, a dark header
// that drags the window, a skinned body, and the user's background colour,
// tiled background picture, text colour and transparency. It frees itself
// when closed. Beside it the small routines every dialog shares.

#include <windows.h>

#include <cstdint>
#include <functional>
#include <string>

#include "ui/FormRules.h"
#include "ui/win32/Form.h"
#include "ui/win32/ImageControls.h"
#include "ui/win32/NativeControls.h"
#include "ui/win32/PageControls.h"

namespace vh::win32 {

// The appearance preferences the forms use. Start-up connects the stored
// preferences; until then (and in tests) the defaults of a fresh user apply.
struct TFormAppearance {
    COLORREF color = 0;
    COLORREF textColor = RGB(255, 255, 255);
    int transparency = 10;                        // percent
    const TPicture* backgroundPicture = nullptr;  // lives to the end of the program
};
using AppearanceSource = std::function<TFormAppearance()>;
void SetAppearanceSource(AppearanceSource source);
TFormAppearance CurrentAppearance();

inline constexpr char kPleaseNote[] = "Please Note";
inline constexpr char kInformation[] = "Information";

class TfrmBase : public TForm {
public:
    TfrmBase(const std::string& caption, int clientWidth, int clientHeight);

    TImagePanel& pnlHeader;
    TImage& imgIcon;
    TLabel& lblCaption;
    TImagePanel& pnlBody;

    std::uint8_t SlideState = 0;  // the main window's docking; 0 = normal
    IntPoint DragOrigin;          // form client coordinates of the last header press

    // Asked before a header drag moves the window.
    virtual bool CanMoveTo(int newLeft, int newTop);

    void CommonHeaderMouseDown(TControl& sender, TMouseButton button, TShiftState shift, int x, int y);
    void CommonHeaderMouseMove(TControl& sender, TShiftState shift, int x, int y);

    void AfterConstruction() override;

protected:
    void FormPaint(TBitmap32& buffer) override;
    void FormShow() override;
    void FormClose(TCloseAction& action) override;
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    void AlignPanels();
    const TPicture* backgroundPicture_ = nullptr;
};

// The program's message box: a modal "TfrmWarning" that frees itself.
void ShowWarning(const std::string& message, const std::string& caption);

// Checks an "hh:nn" time-limit edit; a refused text is explained with
// ShowWarning and the edit gets the focus.
bool CheckTimeLimitEdit(TForm& form, TWinControl& edit);

// Opens a web page in the default browser. Raises vh::Exception for text that
// is no web address or when the shell cannot open it.
void OpenWebAddress(const std::string& address);
// The product web site's page ("/contact", "/help", "/download").
std::string ProductWebPage(const std::string& page);
// Tests see the address instead of a browser opening.
void SetWebAddressOpenerForTesting(std::function<void(const std::string&)> opener);

// Moves a control (window-less or native) by (dx, dy), keeping its size.
template <class C>
void OffsetControl(C& control, int dx, int dy) {
    const IntRect r = control.BoundsRect();
    control.SetBounds(r.left + dx, r.top + dy, r.Width(), r.Height());
}

void SetFormTransparency(TForm& form, int percent);
// Labels not drawn in the form's own font colour take the text colour.
void SetFormTextColor(TForm& form, COLORREF color);
// A rounded window region (corner ellipses 20 x 20) from the window's client
// rectangle; an edit's text rectangle also shrinks by 5 pixels on each side.
void RoundWindowCorners(TForm& form, HWND control);
// Hides a combo box's own arrow: its region loses the rightmost 26 pixels.
void ClipComboBoxArrow(HWND comboBox);
void PadListWithBlankRows(TForm& form, TListBox& list);

// Lifts every control of the page onto the form, offset by the page control's
// position, remembering the page in PageTag; the native ones keep their
// relative tab order ahead of the form's others, and the first that can take
// the focus becomes the active control.
void ShowPageControls(TForm& form, TTabSheet& page);
// Puts every lifted control back on its page at page coordinates.
void ReturnPageControls(TForm& form);

}  // namespace vh::win32
