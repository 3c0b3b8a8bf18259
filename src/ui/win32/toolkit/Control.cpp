#include "ui/win32/toolkit/Control.h"

#include <algorithm>

#include "common/Exceptions.h"
#include "platform/win32/Utf16.h"
#include "ui/DpiScale.h"
#include "ui/win32/toolkit/Form.h"

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

UniqueFont CreateFontFromStyle(const TFontStyle& style, int dpi) {
    return UniqueFont(CreateFontW(ScaleToDpi(style.height, dpi), 0, 0, 0, style.bold ? FW_BOLD : FW_NORMAL, FALSE,
                                  style.underline, FALSE, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS,
                                  DEFAULT_QUALITY, DEFAULT_PITCH | FF_DONTCARE, style.name.c_str()));
}

HFONT TFontCache::Get(const TFontStyle& style, int dpi) {
    if (!font_ || !style_.SameFont(style) || dpi_ != dpi) {
        UniqueFont font = CreateFontFromStyle(style, dpi);
        if (!font) throw Exception("CreateFont failed");
        font_ = std::move(font);
        style_ = style;
        dpi_ = dpi;
    }
    return font_.Get();
}

void TControl::SetBounds(int left, int top, int width, int height) {
    Invalidate();
    bounds_ = {left, top, left + width, top + height};
    Invalidate();
}

IntRect TControl::DeviceRect() const noexcept {
    return ScaleRectToDpi(bounds_, form_.Dpi());
}

int TControl::Dpi() const noexcept {
    return form_.Dpi();
}

void TControl::SetVisible(bool visible) {
    if (visible_ == visible) return;
    visible_ = visible;
    form_.ControlVisibilityChanged(*this);
    Invalidate();
    NotifyAccessible(visible ? EVENT_OBJECT_SHOW : EVENT_OBJECT_HIDE);
}

void TControl::SetEnabled(bool enabled) {
    if (enabled_ == enabled) return;
    enabled_ = enabled;
    Invalidate();
    NotifyAccessible(EVENT_OBJECT_STATECHANGE);
}

void TControl::NotifyAccessible(DWORD event) const noexcept {
    form_.NotifyAccessibleChange(event, *this);
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
    if (caption_ == caption) return;
    caption_ = std::move(caption);
    Invalidate();
    NotifyAccessible(NameLabel ? EVENT_OBJECT_VALUECHANGE : EVENT_OBJECT_NAMECHANGE);
}

TAccessibleInfo TLabel::AccessibleInfo() const {
    TAccessibleInfo info;
    if (NameLabel) {
        info.role = TAccessibleRole::Text;
        info.name = NameLabel->Caption();
        info.hasValue = true;
        info.value = caption_;
    } else if (HandCursor) {
        info.role = TAccessibleRole::Link;
        info.name = caption_;
        info.defaultAction = "Jump";
    } else {
        info.role = TAccessibleRole::StaticText;
        info.name = caption_;
    }
    return info;
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
    const ScopedSelect selectFont(buffer.Dc(), fontCache_.Get(font_, Dpi()));
    SetBkMode(buffer.Dc(), TRANSPARENT);
    SetTextColor(buffer.Dc(), font_.color);
    const IntRect device = DeviceRect();
    if (WordWrap && !ReservedRange.Empty()) {
        PaintFlow(buffer.Dc(), device);
        return;
    }
    RECT rect{device.left, device.top, device.right, device.bottom};
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

IntSize TLabel::DesignedCaptionSize(int width) const {
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

namespace {

// A DC for measuring text in a font, like the screen's.
class TMeasureDc {
public:
    explicit TMeasureDc(HFONT font) : dc_(CreateCompatibleDC(nullptr)), select_(dc_.Get(), font) {
        if (!dc_) throw Exception("CreateCompatibleDC failed");
    }
    HDC Get() const noexcept { return dc_.Get(); }

private:
    UniqueMemoryDc dc_;
    ScopedSelect select_;
};

TextMeasure MeasureIn(HDC dc, const std::string& text) {
    return [dc, &text](std::size_t begin, std::size_t end) {
        if (end <= begin) return 0;
        const std::wstring part = Utf8ToWide(text.substr(begin, end - begin));
        SIZE size{};
        GetTextExtentPoint32W(dc, part.c_str(), static_cast<int>(part.size()), &size);
        return static_cast<int>(size.cx);
    };
}

int LineHeight(HDC dc) {
    TEXTMETRICW metrics{};
    GetTextMetricsW(dc, &metrics);
    return metrics.tmHeight;
}

}  // namespace

IntSize TLabel::MeasureCaption() const {
    const TMeasureDc dc(fontCache_.Get(font_, Dpi()));
    const std::wstring text = Utf8ToWide(caption_);
    RECT rect{0, 0, DeviceRect().Width(), 0};
    UINT flags = DT_CALCRECT | DT_NOPREFIX;
    if (WordWrap) flags |= DT_WORDBREAK;
    DrawTextW(dc.Get(), text.c_str(), static_cast<int>(text.size()), &rect, flags);
    return {rect.right - rect.left, rect.bottom - rect.top};
}

IntRect TLabel::ReservedRect() const {
    if (ReservedRange.Empty() || ReservedRange.end > caption_.size()) return {};
    const TMeasureDc dc(fontCache_.Get(font_, Dpi()));
    const TextMeasure measure = MeasureIn(dc.Get(), caption_);
    const IntRect device = DeviceRect();
    const auto lines = FlowParagraph(caption_, device.Width(), measure, ReservedRange);
    const IntRect at = PlaceInFlow(lines, ReservedRange, LineHeight(dc.Get()), measure);
    if (at.IsEmpty()) return {};
    const int dpi = Dpi();
    const IntRect place = at.Offset(device.left, device.top);
    return {UnscaleFromDpi(place.left, dpi), UnscaleFromDpi(place.top, dpi), UnscaleFromDpi(place.right, dpi) + 1,
            UnscaleFromDpi(place.bottom, dpi)};
}

void TLabel::PaintFlow(HDC dc, IntRect device) {
    const TextMeasure measure = MeasureIn(dc, caption_);
    const int lineHeight = LineHeight(dc);
    const auto lines = FlowParagraph(caption_, device.Width(), measure, ReservedRange);
    for (std::size_t i = 0; i < lines.size(); ++i) {
        const TextRange line = lines[i];
        const int y = device.top + static_cast<int>(i) * lineHeight;
        // The line in up to two pieces around the reserved part.
        const TextRange pieces[2] = {{line.begin, std::clamp(ReservedRange.begin, line.begin, line.end)},
                                     {std::clamp(ReservedRange.end, line.begin, line.end), line.end}};
        for (const TextRange& piece : pieces) {
            if (piece.Empty()) continue;
            const std::wstring text = Utf8ToWide(caption_.substr(piece.begin, piece.end - piece.begin));
            TextOutW(dc, device.left + measure(line.begin, piece.begin), y, text.c_str(),
                     static_cast<int>(text.size()));
        }
    }
}

HCURSOR TLabel::Cursor() const noexcept {
    return HandCursor ? LoadCursorW(nullptr, IDC_HAND) : nullptr;
}

}  // namespace vh::win32
