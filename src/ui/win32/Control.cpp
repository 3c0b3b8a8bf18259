#include "ui/win32/Control.h"

#include "platform/win32/Utf16.h"
#include "ui/win32/Form.h"

namespace vh::win32 {

TShiftState ShiftStateFromKeys(WPARAM keys) noexcept {
    TShiftState shift;
    shift.left = (keys & MK_LBUTTON) != 0;
    shift.right = (keys & MK_RBUTTON) != 0;
    shift.middle = (keys & MK_MBUTTON) != 0;
    shift.shift = (keys & MK_SHIFT) != 0;
    shift.ctrl = (keys & MK_CONTROL) != 0;
    return shift;
}

UniqueFont CreateFontFromStyle(const TFontStyle& style) {
    return UniqueFont(CreateFontW(style.height, 0, 0, 0, style.bold ? FW_BOLD : FW_NORMAL, FALSE, style.underline,
                                  FALSE, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                                  DEFAULT_PITCH | FF_DONTCARE, style.name.c_str()));
}

void TControl::SetBounds(int left, int top, int width, int height) {
    Invalidate();
    bounds_ = {left, top, left + width, top + height};
    Invalidate();
}

void TControl::SetVisible(bool visible) {
    if (visible_ == visible) return;
    visible_ = visible;
    form_.ControlVisibilityChanged(*this);
    Invalidate();
}

void TControl::SetEnabled(bool enabled) {
    enabled_ = enabled;
    Invalidate();
}

void TControl::Invalidate() const noexcept {
    form_.InvalidateRect(bounds_);
}

void TControl::MouseDown(TMouseButton button, TShiftState shift, int x, int y) {
    if (OnMouseDown) OnMouseDown(*this, button, shift, x, y);
}

void TControl::MouseMove(TShiftState shift, int x, int y) {
    if (OnMouseMove) OnMouseMove(*this, shift, x, y);
}

void TControl::MouseUp(TMouseButton button, TShiftState shift, int x, int y) {
    if (OnMouseUp) OnMouseUp(*this, button, shift, x, y);
}

void TControl::Click() {
    if (OnClick) OnClick(*this);
}

void TLabel::SetCaption(std::string caption) {
    caption_ = std::move(caption);
    Invalidate();
}

void TLabel::SetFont(TFontStyle font) {
    font_ = std::move(font);
    Invalidate();
}

void TLabel::SetFontColor(COLORREF color) {
    font_.color = color;
    Invalidate();
}

void TLabel::Paint(TBitmap32& buffer) {
    if (caption_.empty()) return;
    const UniqueFont font = CreateFontFromStyle(font_);
    const ScopedSelect selectFont(buffer.Dc(), font.Get());
    SetBkMode(buffer.Dc(), TRANSPARENT);
    SetTextColor(buffer.Dc(), font_.color);
    RECT rect{Left(), Top(), BoundsRect().right, BoundsRect().bottom};
    const std::wstring text = Utf8ToWide(caption_);
    DrawTextW(buffer.Dc(), text.c_str(), static_cast<int>(text.size()), &rect, TextFlags());
}

UINT TLabel::TextFlags() const noexcept {
    UINT flags = DT_NOPREFIX;
    if (WordWrap) flags |= DT_WORDBREAK;
    if (WordWrap && BreakLongWords) flags |= DT_EDITCONTROL;
    if (Alignment == TAlignment::taCenter) flags |= DT_CENTER;
    if (Alignment == TAlignment::taRightJustify) flags |= DT_RIGHT;
    return flags;
}

IntSize TLabel::MeasureCaption(int width) const {
    if (caption_.empty()) return {};
    const UniqueMemoryDc dc(CreateCompatibleDC(nullptr));
    const UniqueFont font = CreateFontFromStyle(font_);
    const ScopedSelect selectFont(dc.Get(), font.Get());
    UINT flags = TextFlags() | DT_CALCRECT;
    if (width <= 0) flags &= ~static_cast<UINT>(DT_WORDBREAK | DT_EDITCONTROL);
    RECT rect{0, 0, width > 0 ? width : 0, 0};
    const std::wstring text = Utf8ToWide(caption_);
    DrawTextW(dc.Get(), text.c_str(), static_cast<int>(text.size()), &rect, flags);
    return {rect.right - rect.left, rect.bottom - rect.top};
}

HCURSOR TLabel::Cursor() const noexcept {
    return HandCursor ? LoadCursorW(nullptr, IDC_HAND) : nullptr;
}

}  // namespace vh::win32
