#pragma once
// The skinned window-less controls: a panel whose face is a nine-sliced skin
// and a push button with one skin per state, an optional picture and a
// caption. Both blend their skins with per-pixel alpha over what the form
// has painted beneath them; neither takes the focus.

#include <windows.h>

#include <string>

#include "ui/ButtonLayout.h"
#include "ui/Geometry.h"
#include "ui/win32/toolkit/Bitmap32.h"
#include "ui/win32/toolkit/Control.h"
#include "ui/win32/toolkit/Picture.h"

namespace vh::win32 {

// Any picture as premultiplied 32-bit pixels: a PNG with transparency keeps
// its alpha; anything else is drawn over white and keyed on its bottom-left
// pixel. An empty picture gives a 0 x 0 bitmap.
void PrepareAlphaBitmap(const TPicture& picture, TBitmap32& target);

// Blends the alpha bitmap into `rect` of the canvas: corners keep their size,
// edges and centre stretch; the sides are limited to half of `rect`.
void DrawNineSlice(HDC canvas, const TBitmap32& bitmap, IntRect rect, int sideWidth, int sideHeight);

// A skin at a display scale: resampled smoothly from its 96-DPI pixels once
// per DPI, so that its corners are drawn at the scaled size.
class TScaledSkin {
public:
    const TBitmap32& At(const TBitmap32& skin, int dpi);
    void Reset() noexcept { dpi_ = 0; }
    // Frees the scaled copy; the next At makes it again.
    void Release() noexcept;

private:
    TBitmap32 scaled_;
    int dpi_ = 0;
};

// A picture drawn at the control's top-left corner with its transparency.
class TImage : public TControl {
public:
    using TControl::TControl;
    TPicture Picture;
    void Paint(TBitmap32& buffer) override {
        const IntRect at = DeviceRect();
        Picture.Draw(buffer.Dc(), at.left, at.top, Dpi());
    }
    void ReleaseDrawingCaches() noexcept override { Picture.ReleaseDrawable(); }
};

class TImagePanel : public TControl {
public:
    explicit TImagePanel(TForm& form);

    const TPicture& Background() const noexcept { return background_; }
    void SetBackground(const TPicture& picture) { background_.Assign(picture); }
    bool Transparent() const noexcept { return transparent_; }
    void SetTransparent(bool transparent);
    COLORREF Color() const noexcept { return color_; }
    void SetColor(COLORREF color);
    int SideWidth() const noexcept { return sideWidth_; }
    void SetSideWidth(int width);
    int SideHeight() const noexcept { return sideHeight_; }
    void SetSideHeight(int height);
    const TBitmap32& AlphaBitmap() const noexcept { return alpha_; }

    void Paint(TBitmap32& buffer) override;
    void ReleaseDrawingCaches() noexcept override;

private:
    TPicture background_;
    TBitmap32 alpha_;
    TScaledSkin scaled_;
    bool transparent_ = true;
    COLORREF color_ = RGB(240, 240, 240);
    int sideWidth_ = 20;
    int sideHeight_ = 20;
};

class TImageButton : public TControl {
public:
    explicit TImageButton(TForm& form);

    const TPicture& Background() const noexcept { return skins_[0].picture; }
    void SetBackground(const TPicture& picture) { skins_[0].picture.Assign(picture); }
    const TPicture& BackgroundSelected() const noexcept { return skins_[1].picture; }
    void SetBackgroundSelected(const TPicture& picture) { skins_[1].picture.Assign(picture); }
    const TPicture& BackgroundDowned() const noexcept { return skins_[2].picture; }
    void SetBackgroundDowned(const TPicture& picture) { skins_[2].picture.Assign(picture); }
    const TBitmap32& AlphaBitmap(TImageButtonState state) const noexcept;

    // Drawn at the next paint (no change notification).
    TPicture Picture;

    const std::string& Caption() const noexcept { return caption_; }
    void SetCaption(std::string caption);
    const TFontStyle& Font() const noexcept { return font_; }
    void SetFont(TFontStyle font);
    int SideWidth() const noexcept { return sideWidth_; }
    void SetSideWidth(int width);
    int SideHeight() const noexcept { return sideHeight_; }
    void SetSideHeight(int height);
    bool WordWrap() const noexcept { return wordWrap_; }
    void SetWordWrap(bool wordWrap);
    TImageButtonState State() const noexcept { return state_; }
    // The caption's extent in its font at the form's DPI, device pixels.
    IntSize MeasureCaption() const;
    // Widens the button, about its centre, until its caption fits with
    // `margin` 96-DPI pixels on either side; never narrows it.
    void WidenToCaption(int margin);
    // The parent's pixels beneath the button at its last paint.
    const TBitmap32& BackgroundCopy() const noexcept { return backgroundCopy_; }

    void Paint(TBitmap32& buffer) override;
    void MouseDown(TMouseButton button, TShiftState shift, int x, int y) override;
    void MouseMove(TShiftState shift, int x, int y) override;
    void MouseLeave() override;
    TAccessibleInfo AccessibleInfo() const override;
    void ReleaseDrawingCaches() noexcept override;

private:
    struct Skin {
        TPicture picture;
        TBitmap32 alpha;
        TScaledSkin scaled;
    };
    void SetState(TImageButtonState state);
    IntSize MeasureCaption(HDC dc) const;
    mutable TFontCache measureFont_;

    Skin skins_[3];
    TBitmap32 backgroundCopy_;
    TImageButtonState state_ = TImageButtonState::normal;
    std::string caption_;
    TFontStyle font_;
    TFontCache fontCache_;
    int sideWidth_ = 20;
    int sideHeight_ = 20;
    bool wordWrap_ = false;
};

}  // namespace vh::win32
