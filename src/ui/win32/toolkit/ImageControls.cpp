#include "ui/win32/toolkit/ImageControls.h"

#include <algorithm>

#include "common/Exceptions.h"
#include "platform/win32/Utf16.h"
#include "ui/AlphaPixels.h"
#include "ui/DpiScale.h"
#include "ui/NineSlice.h"
#include "ui/win32/toolkit/Form.h"

namespace vh::win32 {
namespace {

void BlitInto(TBitmap32& target, int x, int y, const TBitmap32& source) {
    const IntSize size = source.Size();
    BitBlt(target.Dc(), x, y, size.width, size.height, source.Dc(), 0, 0, SRCCOPY);
}

}  // namespace

void PrepareAlphaBitmap(const TPicture& picture, TBitmap32& target) {
    if (picture.Empty()) {
        target.SetSize(0, 0);
        return;
    }
    const TGraphic& graphic = *picture.Graphic();
    const AlphaSource source =
        graphic.png && graphic.transparency ? AlphaSource::PngWithTransparency : AlphaSource::KeyedOnBottomLeft;
    const AlphaPixels pixels = PrepareAlphaPixels(graphic.pixels, graphic.size, source);
    target.SetSize(pixels.size.width, pixels.size.height);
    std::copy(pixels.pixels.begin(), pixels.pixels.end(), target.Pixels().begin());
}

void DrawNineSlice(HDC canvas, const TBitmap32& bitmap, IntRect rect, int sideWidth, int sideHeight) {
    if (bitmap.Empty()) return;
    const BLENDFUNCTION blend{AC_SRC_OVER, 0, 255, AC_SRC_ALPHA};
    for (const SlicePart& part : NineSliceParts(bitmap.Size(), {rect.Width(), rect.Height()}, sideWidth, sideHeight)) {
        if (!IsDrawable(part, bitmap.Size())) continue;
        const IntRect& s = part.source;
        const IntRect d = part.dest.Offset(rect.left, rect.top);
        ::AlphaBlend(canvas, d.left, d.top, d.Width(), d.Height(), bitmap.Dc(), s.left, s.top, s.Width(), s.Height(),
                     blend);
    }
}

const TBitmap32& TScaledSkin::At(const TBitmap32& skin, int dpi) {
    if (dpi == kDesignDpi || skin.Empty()) return skin;
    if (dpi_ != dpi) {
        const auto source = skin.Pixels();
        const AlphaPixels scaled =
            ResampleAlphaPixels({skin.Size(), {source.begin(), source.end()}}, ScaleSizeToDpi(skin.Size(), dpi));
        scaled_.SetSize(scaled.size.width, scaled.size.height);
        std::copy(scaled.pixels.begin(), scaled.pixels.end(), scaled_.Pixels().begin());
        dpi_ = dpi;
    }
    return scaled_;
}

void TScaledSkin::Release() noexcept {
    scaled_.Free();
    dpi_ = 0;
}

// ---- TImagePanel ----

TImagePanel::TImagePanel(TForm& form) : TControl(form) {
    background_.OnChange = [this] {
        PrepareAlphaBitmap(background_, alpha_);
        scaled_.Reset();
        Invalidate();
    };
}

void TImagePanel::SetTransparent(bool transparent) {
    transparent_ = transparent;
    Invalidate();
}

void TImagePanel::SetColor(COLORREF color) {
    color_ = color;
    Invalidate();
}

void TImagePanel::SetSideWidth(int width) {
    sideWidth_ = width;
    Invalidate();
}

void TImagePanel::SetSideHeight(int height) {
    sideHeight_ = height;
    Invalidate();
}

void TImagePanel::Paint(TBitmap32& buffer) {
    const IntRect at = DeviceRect();
    if (at.IsEmpty()) return;
    const TBitmap32& skin = scaled_.At(alpha_, Dpi());
    if (transparent_) {
        // Blended straight onto what lies beneath: no copy of it needed.
        DrawNineSlice(buffer.Dc(), skin, at, ScaleToDpi(sideWidth_, Dpi()), ScaleToDpi(sideHeight_, Dpi()));
        return;
    }
    TBitmap32 offscreen(at.Width(), at.Height());
    offscreen.Fill(PixelFromColorRef(color_));
    DrawNineSlice(offscreen.Dc(), skin, {0, 0, at.Width(), at.Height()}, ScaleToDpi(sideWidth_, Dpi()),
                  ScaleToDpi(sideHeight_, Dpi()));
    BlitInto(buffer, at.left, at.top, offscreen);
}

void TImagePanel::ReleaseDrawingCaches() noexcept {
    scaled_.Release();
}

// ---- TImageButton ----

TImageButton::TImageButton(TForm& form) : TControl(form) {
    for (Skin& skin : skins_) {
        skin.picture.OnChange = [this, &skin] {
            PrepareAlphaBitmap(skin.picture, skin.alpha);
            skin.scaled.Reset();
            Invalidate();
        };
    }
}

const TBitmap32& TImageButton::AlphaBitmap(TImageButtonState state) const noexcept {
    return skins_[static_cast<int>(state)].alpha;
}

void TImageButton::SetCaption(std::string caption) {
    if (caption_ == caption) return;
    caption_ = std::move(caption);
    Invalidate();
    NotifyAccessible(EVENT_OBJECT_NAMECHANGE);
}

TAccessibleInfo TImageButton::AccessibleInfo() const {
    TAccessibleInfo info;
    info.role = TAccessibleRole::PushButton;
    info.name = caption_.empty() ? AccessibleName : caption_;
    info.defaultAction = "Press";
    return info;
}

void TImageButton::SetFont(TFontStyle font) {
    font_ = std::move(font);
    Invalidate();
}

void TImageButton::SetSideWidth(int width) {
    sideWidth_ = width;
    Invalidate();
}

void TImageButton::SetSideHeight(int height) {
    sideHeight_ = height;
    Invalidate();
}

void TImageButton::SetWordWrap(bool wordWrap) {
    if (wordWrap_ == wordWrap) return;
    wordWrap_ = wordWrap;
    Invalidate();
}

void TImageButton::SetState(TImageButtonState state) {
    if (state_ == state) return;
    state_ = state;
    Invalidate();
}

IntSize TImageButton::MeasureCaption(HDC dc) const {
    if (caption_.empty()) return {};
    const std::wstring text = Utf8ToWide(caption_);
    const IntRect at = DeviceRect();
    RECT rect{0, 0, at.Width(), at.Height()};
    UINT flags = DT_CALCRECT | DT_NOPREFIX | DT_NOCLIP;
    if (wordWrap_) flags |= DT_WORDBREAK;
    DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &rect, flags);
    return {rect.right - rect.left, rect.bottom - rect.top};
}

IntSize TImageButton::MeasureCaption() const {
    UniqueMemoryDc dc(CreateCompatibleDC(nullptr));
    if (!dc) throw Exception("CreateCompatibleDC failed");
    const ScopedSelect selectFont(dc.Get(), measureFont_.Get(font_, Dpi()));
    return MeasureCaption(dc.Get());
}

void TImageButton::WidenToCaption(int margin) {
    const int needed = UnscaleFromDpi(MeasureCaption().width, Dpi()) + 1 + 2 * margin;
    if (needed <= Width()) return;
    const int left = Left() - (needed - Width()) / 2;
    SetBounds(left, Top(), needed, Height());
}

void TImageButton::Paint(TBitmap32& buffer) {
    const IntRect at = DeviceRect();
    if (at.IsEmpty()) return;
    const int dpi = Dpi();
    // The form repaints everything beneath a button before the button, so the
    // copy taken here is always the parent's current background.
    backgroundCopy_.SetSize(at.Width(), at.Height());
    BitBlt(backgroundCopy_.Dc(), 0, 0, at.Width(), at.Height(), buffer.Dc(), at.left, at.top, SRCCOPY);

    TBitmap32 offscreen(at.Width(), at.Height());
    BlitInto(offscreen, 0, 0, backgroundCopy_);
    Skin& skin = skins_[static_cast<int>(state_)];
    DrawNineSlice(offscreen.Dc(), skin.scaled.At(skin.alpha, dpi), {0, 0, at.Width(), at.Height()},
                  ScaleToDpi(sideWidth_, dpi), ScaleToDpi(sideHeight_, dpi));

    const ScopedSelect selectFont(offscreen.Dc(), fontCache_.Get(font_, dpi));
    const ButtonContentLayout layout =
        LayoutButtonContent({at.Width(), at.Height()}, Picture.SizeAt(dpi), MeasureCaption(offscreen.Dc()));
    if (!Picture.Empty()) Picture.Draw(offscreen.Dc(), layout.picture.left, layout.picture.top, dpi);
    if (!caption_.empty()) {
        const std::wstring text = Utf8ToWide(caption_);
        const IntRect r = CaptionRectForState(layout.caption, state_);
        RECT rect{r.left, r.top, r.right, r.bottom};
        SetBkMode(offscreen.Dc(), TRANSPARENT);
        SetTextColor(offscreen.Dc(), font_.color);
        UINT flags = DT_CENTER | DT_NOPREFIX | DT_NOCLIP;
        if (wordWrap_) flags |= DT_WORDBREAK;
        DrawTextW(offscreen.Dc(), text.c_str(), static_cast<int>(text.size()), &rect, flags);
    }
    BlitInto(buffer, at.left, at.top, offscreen);
}

void TImageButton::ReleaseDrawingCaches() noexcept {
    for (Skin& skin : skins_) skin.scaled.Release();
    backgroundCopy_.Free();
    Picture.ReleaseDrawable();
    fontCache_.Release();
    measureFont_.Release();
}

void TImageButton::MouseDown(TMouseButton button, TShiftState shift, int x, int y) {
    if (auto next = NextButtonState(ButtonMouseEvent::pressed, true)) SetState(*next);
    TControl::MouseDown(button, shift, x, y);
}

void TImageButton::MouseMove(TShiftState shift, int x, int y) {
    const auto next = NextButtonState(ButtonMouseEvent::moved, shift.left || shift.right);
    if (!next) return;
    SetState(*next);
    TControl::MouseMove(shift, x, y);
}

void TImageButton::MouseLeave() {
    if (auto next = NextButtonState(ButtonMouseEvent::left, false)) SetState(*next);
}

}  // namespace vh::win32
