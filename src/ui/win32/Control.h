#pragma once
// Window-less controls: they live inside their form's window, paint into the
// form's off-screen buffer in z-order and get the mouse from the form.
// Positions are in the form's client coordinates.

#include <windows.h>

#include <functional>
#include <string>

#include "platform/win32/Handles.h"
#include "ui/Geometry.h"
#include "ui/win32/Bitmap32.h"

namespace vh::win32 {

class TForm;
class TControl;
class TTabSheet;

enum class TMouseButton { mbLeft, mbRight, mbMiddle };

struct TShiftState {
    bool left = false;
    bool right = false;
    bool middle = false;
    bool shift = false;
    bool ctrl = false;
};

// The MK_* flags of a mouse message's wParam.
TShiftState ShiftStateFromKeys(WPARAM keys) noexcept;

using TNotifyEvent = std::function<void(TControl& sender)>;
using TMouseEvent = std::function<void(TControl& sender, TMouseButton button, TShiftState shift, int x, int y)>;
using TMouseMoveEvent = std::function<void(TControl& sender, TShiftState shift, int x, int y)>;

struct TFontStyle {
    std::wstring name = L"Arial";
    int height = -13;  // negative: character height in pixels
    bool bold = true;
    bool underline = false;
    COLORREF color = RGB(54, 54, 54);
};

UniqueFont CreateFontFromStyle(const TFontStyle& style);

class TControl {
public:
    explicit TControl(TForm& form) noexcept : form_(form) {}
    TControl(const TControl&) = delete;
    TControl& operator=(const TControl&) = delete;
    virtual ~TControl() = default;

    TForm& Form() const noexcept { return form_; }

    std::string Name;
    TTabSheet* Page = nullptr;     // the design-time page it sits on (not drawn), or none
    TTabSheet* PageTag = nullptr;  // the page it was lifted from onto the form
    TNotifyEvent OnClick;
    TMouseEvent OnMouseDown;
    TMouseEvent OnMouseUp;
    TMouseMoveEvent OnMouseMove;

    IntRect BoundsRect() const noexcept { return bounds_; }
    int Left() const noexcept { return bounds_.left; }
    int Top() const noexcept { return bounds_.top; }
    int Width() const noexcept { return bounds_.Width(); }
    int Height() const noexcept { return bounds_.Height(); }
    void SetBounds(int left, int top, int width, int height);

    bool Visible() const noexcept { return visible_; }
    void SetVisible(bool visible);
    bool Enabled() const noexcept { return enabled_; }
    void SetEnabled(bool enabled);

    // Repaints the control's part of the form (erasing: everything beneath
    // it is painted again first).
    void Invalidate() const noexcept;

    // Draws the control into the form's buffer at its bounds; the buffer
    // already holds what the form and the controls below have painted.
    virtual void Paint(TBitmap32& buffer) = 0;

    // Mouse input in the control's own coordinates; the defaults raise the
    // matching events.
    virtual void MouseDown(TMouseButton button, TShiftState shift, int x, int y);
    virtual void MouseMove(TShiftState shift, int x, int y);
    virtual void MouseUp(TMouseButton button, TShiftState shift, int x, int y);
    virtual void MouseEnter() {}
    virtual void MouseLeave() {}
    virtual void Click();
    virtual HCURSOR Cursor() const noexcept { return nullptr; }  // nullptr: the arrow

private:
    TForm& form_;
    IntRect bounds_;
    bool visible_ = true;
    bool enabled_ = true;
};

// A caption drawn with a font; transparent over what lies beneath.
class TLabel : public TControl {
public:
    using TControl::TControl;

    enum class TAlignment { taLeftJustify, taCenter, taRightJustify };

    const std::string& Caption() const noexcept { return caption_; }
    void SetCaption(std::string caption);
    const TFontStyle& Font() const noexcept { return font_; }
    void SetFont(TFontStyle font);
    void SetFontColor(COLORREF color);
    TAlignment Alignment = TAlignment::taLeftJustify;
    bool WordWrap = false;
    bool HandCursor = false;  // links

    void Paint(TBitmap32& buffer) override;
    HCURSOR Cursor() const noexcept override;

private:
    std::string caption_;
    TFontStyle font_;
};

}  // namespace vh::win32
