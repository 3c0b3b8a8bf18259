#pragma once
// The small routines every dialog shares: the message box, the time-limit
// check, web pages, transparency and text colour, list padding and moving a
// control.

#include <windows.h>

#include <functional>
#include <string>

#include "ui/win32/toolkit/Form.h"
#include "ui/win32/toolkit/NativeControls.h"

namespace vh::win32 {

inline constexpr char kPleaseNote[] = "Please Note";
inline constexpr char kInformation[] = "Information";

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
void PadListWithBlankRows(TForm& form, TListBox& list);

}  // namespace vh::win32
