#pragma once
// A colour box: a drop-down list whose rows show a swatch and the colour's
// name, "Custom..." first (it opens the colour dialog), then the standard and
// extended colours (ui/ColorBoxItems.h).

#include <windows.h>

#include <functional>
#include <optional>

#include "ui/win32/toolkit/NativeControls.h"

namespace vh::win32 {

class TColorBox : public TComboBox {
public:
    explicit TColorBox(TForm& form);

    COLORREF Selected() const noexcept;
    // A colour that has no name becomes the custom one. Raises no event.
    void SelectColor(COLORREF color);
    COLORREF CustomColor() const noexcept { return custom_; }

    // The user chose a colour (from the list, or from the colour dialog).
    std::function<void(TColorBox&)> OnSelect;

    bool DrawItem(const DRAWITEMSTRUCT& item) override;
    void Command(WORD code) override;

private:
    COLORREF custom_ = 0;
    int shown_ = 0;  // the row selected before the user's choice
};

// Runs the colour dialog; none when cancelled. Tests put their own in place.
using TColorDialogRunner = std::function<std::optional<COLORREF>(HWND owner, COLORREF initial)>;
std::optional<COLORREF> RunColorDialog(HWND owner, COLORREF initial);
void SetColorDialogForTesting(TColorDialogRunner runner);

}  // namespace vh::win32
