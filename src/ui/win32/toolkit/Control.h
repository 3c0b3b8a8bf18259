#pragma once
// Window-less controls: they live inside their form's window, paint into the
// form's off-screen buffer in z-order and get the mouse from the form.
// Positions are in the form's client coordinates, in 96-DPI pixels (the form
// scales them to its DPI); painting and the mouse work in device pixels
// (DeviceRect).

#include <windows.h>

#include <functional>
#include <string>

#include "platform/win32/Handles.h"
#include "ui/Geometry.h"
#include "ui/TextFlow.h"
#include "ui/win32/toolkit/Bitmap32.h"

namespace vh::win32 {

class TForm;
class TControl;
class TTabSheet;

// What a window-less control is to screen readers (MSAA). `None` keeps it out
// of the form's accessible tree (decoration such as skinned panels).
enum class TAccessibleRole { None, StaticText, Text, Link, PushButton, Graphic };

struct TAccessibleInfo {
    TAccessibleRole role = TAccessibleRole::None;
    std::string name;
    bool hasValue = false;
    std::string value;
    std::string defaultAction;  // empty: none
};

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

    // Whether two styles give the same font (the colour is no part of it).
    bool SameFont(const TFontStyle& other) const noexcept {
        return name == other.name && height == other.height && bold == other.bold && underline == other.underline;
    }
};

// The font at a DPI: the style's height is in 96-DPI pixels.
UniqueFont CreateFontFromStyle(const TFontStyle& style, int dpi = 96);

// The font of one control: made at the first paint and again only when the
// style changes.
class TFontCache {
public:
    HFONT Get(const TFontStyle& style, int dpi = 96);
    void Release() noexcept { font_.Reset(); }

private:
    TFontStyle style_;
    int dpi_ = 0;
    UniqueFont font_;
};

class TControl {
public:
    explicit TControl(TForm& form) noexcept : form_(form) {}
    TControl(const TControl&) = delete;
    TControl& operator=(const TControl&) = delete;
    virtual ~TControl() = default;

    TForm& Form() const noexcept { return form_; }

    std::string Name;
    // What screen readers call a control that shows no text of its own (a
    // picture button).
    std::string AccessibleName;
    TTabSheet* Page = nullptr;     // the design-time page it sits on (not drawn), or none
    TTabSheet* PageTag = nullptr;  // the page it was lifted from onto the form
    TNotifyEvent OnClick;
    // Its click opens a popup menu, which the context-menu key and Shift+F10
    // open too while it has the focus.
    bool OpensMenu = false;
    TMouseEvent OnMouseDown;
    TMouseEvent OnMouseUp;
    TMouseMoveEvent OnMouseMove;

    IntRect BoundsRect() const noexcept { return bounds_; }
    int Left() const noexcept { return bounds_.left; }
    int Top() const noexcept { return bounds_.top; }
    int Width() const noexcept { return bounds_.Width(); }
    int Height() const noexcept { return bounds_.Height(); }
    void SetBounds(int left, int top, int width, int height);
    // The bounds in device pixels of the form's client area at its DPI.
    IntRect DeviceRect() const noexcept;
    int Dpi() const noexcept;

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

    virtual TAccessibleInfo AccessibleInfo() const { return {}; }

    // The form was hidden: frees what the next paint makes again (scaled
    // skins, background copies, drawable pictures, fonts).
    virtual void ReleaseDrawingCaches() noexcept {}

    // Mouse input in the control's own device-pixel coordinates; the defaults
    // raise the matching events.
    virtual void MouseDown(TMouseButton button, TShiftState shift, int x, int y);
    virtual void MouseMove(TShiftState shift, int x, int y);
    virtual void MouseUp(TMouseButton button, TShiftState shift, int x, int y);
    virtual void MouseEnter() {}
    virtual void MouseLeave() {}
    virtual void Click();
    virtual HCURSOR Cursor() const noexcept { return nullptr; }  // nullptr: the arrow

protected:
    // Tells accessibility clients that this control's name, value or state
    // changed (NotifyWinEvent).
    void NotifyAccessible(DWORD event) const noexcept;

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
    bool BreakLongWords = false;  // with WordWrap: a word wider than the label is broken, not cut off
    bool HandCursor = false;      // links
    // A value display (a countdown): its accessible name is that label's
    // caption and its caption is the value.
    const TLabel* NameLabel = nullptr;
    // A part of a word-wrapped caption left undrawn and kept on one line, for
    // a control laid over it (a link inside the paragraph).
    TextRange ReservedRange;
    // Where the reserved part falls, in the form's 96-DPI coordinates; empty
    // when it has no place.
    IntRect ReservedRect() const;
    // The caption's extent in its font at the form's DPI, device pixels
    // (wrapped at the control's width when WordWrap is on).
    IntSize MeasureCaption() const;

    // The caption's size at 96 DPI, for laying a form out in its design
    // units: wrapped at `width` when WordWrap is on and `width` > 0,
    // otherwise its widest line.
    IntSize DesignedCaptionSize(int width) const;
    void Paint(TBitmap32& buffer) override;
    HCURSOR Cursor() const noexcept override;
    TAccessibleInfo AccessibleInfo() const override;
    void ReleaseDrawingCaches() noexcept override { fontCache_.Release(); }

private:
    void PaintFlow(HDC dc, IntRect device);
    UINT TextFlags() const noexcept;
    std::string caption_;
    TFontStyle font_;
    mutable TFontCache fontCache_;
};

}  // namespace vh::win32
