#pragma once
// Design-time pages at run time: the controls of the page in use are lifted
// onto the form so that they are drawn on its skinned body.

#include "ui/win32/toolkit/Form.h"
#include "ui/win32/toolkit/PageControls.h"

namespace vh::win32 {

// Lifts every control of the page onto the form, offset by the page control's
// position, remembering the page in PageTag; the native ones keep their
// relative tab order ahead of the form's others, and the first that can take
// the focus becomes the active control.
void ShowPageControls(TForm& form, TTabSheet& page);
// Puts every lifted control back on its page at page coordinates.
void ReturnPageControls(TForm& form);

}  // namespace vh::win32
