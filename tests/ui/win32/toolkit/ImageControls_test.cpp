#include "ui/win32/toolkit/ImageControls.h"

#include <gtest/gtest.h>

#include "UiTestSupport.h"
#include "ui/win32/skin/BaseFRM.h"

namespace vh::win32 {
namespace {

using testing::Argb;
using testing::MakePicture;
using testing::NearPixel;
using testing::PixelText;

constexpr COLORREF kFormColor = RGB(0, 0, 160);

// A 24 x 24 skin in three vertical bands: clear, half-transparent white and
// opaque `solid`.
TPicture BandedSkin(std::uint32_t solid) {
    return MakePicture(
        24, 24,
        [solid](int x, int) {
            if (x < 8) return Argb(0, 0, 0, 0);
            if (x < 16) return Argb(128, 255, 255, 255);
            return solid;
        },
        true, true);
}

// Expected colour of a half-transparent white pixel over `under`.
std::uint32_t HalfWhiteOver(std::uint32_t under) {
    auto channel = [&](int shift) {
        const unsigned c = (under >> shift) & 0xFF;
        return (c * 127 + 255 * 128 + 127) / 255;
    };
    return Argb(255, channel(16), channel(8), channel(0));
}

class SkinnedDrawing : public testing::UiTest {
protected:
    void SetUp() override {
        UiTest::SetUp();
        // A coloured form with a tiled picture of red and green columns.
        tile_ = MakePicture(
            6, 6, [](int x, int) { return x < 3 ? Argb(255, 200, 0, 0) : Argb(255, 0, 180, 0); }, false, false);
        SetAppearanceSource([this] {
            TFormAppearance appearance;
            appearance.color = kFormColor;
            appearance.backgroundPicture = &tile_;
            return appearance;
        });
        form_ = &CreateForm<TfrmBase>("Skins", 200, 150);
    }

    // Adds a control at the bounds and renders what lies beneath it.
    template <class C>
    C& AddOver(TBitmap32& beneath, int left, int top, int width, int height) {
        auto& control = form_->Add<C>();
        control.SetBounds(left, top, width, height);
        control.SetVisible(false);
        form_->RenderClient(beneath);
        control.SetVisible(true);
        return control;
    }

    // The form rendered, and its pixel at a client point.
    std::uint32_t RenderedPixel(int x, int y) {
        form_->RenderClient(rendered_);
        return rendered_.Pixel(x, y);
    }

    TPicture tile_;
    TfrmBase* form_ = nullptr;
    TBitmap32 rendered_;
};

TEST_F(SkinnedDrawing, PanelBlendsItsSkinOverTheTiledColouredForm) {
    TBitmap32 beneath;
    auto& panel = AddOver<TImagePanel>(beneath, 60, 60, 24, 24);
    panel.SetBackground(BandedSkin(Argb(255, 0, 0, 0)));
    form_->RenderClient(rendered_);
    for (int y = 60; y < 84; y += 5) {
        // Clear: the form's own pixels, tile included (both tile colours occur).
        for (int x : {60, 62, 63, 66}) {
            EXPECT_EQ(rendered_.Pixel(x, y) & 0xFFFFFF, beneath.Pixel(x, y) & 0xFFFFFF) << x << "," << y;
        }
        for (int x : {68, 70, 73}) {
            EXPECT_TRUE(NearPixel(rendered_.Pixel(x, y), HalfWhiteOver(beneath.Pixel(x, y)), 2))
                << x << "," << y << " " << PixelText(rendered_.Pixel(x, y)) << " over "
                << PixelText(beneath.Pixel(x, y));
        }
        for (int x : {76, 80, 83}) EXPECT_EQ(rendered_.Pixel(x, y) & 0xFFFFFF, 0u) << x << "," << y;
    }
    // The tile really shows beneath: red and green columns differ.
    EXPECT_NE(beneath.Pixel(60, 60) & 0xFFFFFF, beneath.Pixel(63, 60) & 0xFFFFFF);
}

TEST_F(SkinnedDrawing, OpaquePanelFillsWithItsColourAndEmptySkinDrawsNothingElse) {
    TBitmap32 beneath;
    auto& panel = AddOver<TImagePanel>(beneath, 10, 60, 30, 30);
    EXPECT_EQ(RenderedPixel(20, 70) & 0xFFFFFF, beneath.Pixel(20, 70) & 0xFFFFFF);  // transparent, no skin
    panel.SetTransparent(false);
    panel.SetColor(RGB(10, 20, 30));
    EXPECT_EQ(RenderedPixel(20, 70) & 0xFFFFFF, 0x0A141Eu);
}

TEST_F(SkinnedDrawing, KeyedSkinShowsTheBackgroundWhereMagentaWas) {
    const std::uint32_t magenta = Argb(255, 255, 0, 255);
    TBitmap32 beneath;
    auto& panel = AddOver<TImagePanel>(beneath, 100, 60, 20, 20);
    panel.SetBackground(MakePicture(
        20, 20, [&](int x, int) { return x < 10 ? magenta : Argb(255, 0, 0, 255); }, false, false));
    form_->RenderClient(rendered_);
    EXPECT_EQ(rendered_.Pixel(103, 70) & 0xFFFFFF, beneath.Pixel(103, 70) & 0xFFFFFF);
    EXPECT_EQ(rendered_.Pixel(115, 70) & 0xFFFFFF, 0x0000FFu);
}

TEST_F(SkinnedDrawing, ButtonDrawsTheSkinOfItsStateOverTheParentsPixels) {
    TBitmap32 beneath;
    auto& button = AddOver<TImageButton>(beneath, 100, 100, 24, 24);
    button.SetBackground(BandedSkin(Argb(255, 255, 0, 0)));
    button.SetBackgroundSelected(BandedSkin(Argb(255, 0, 255, 0)));
    button.SetBackgroundDowned(BandedSkin(Argb(255, 0, 0, 255)));

    EXPECT_EQ(RenderedPixel(120, 110) & 0xFFFFFF, 0xFF0000u);
    EXPECT_EQ(rendered_.Pixel(102, 110) & 0xFFFFFF, beneath.Pixel(102, 110) & 0xFFFFFF);
    EXPECT_TRUE(NearPixel(rendered_.Pixel(110, 110), HalfWhiteOver(beneath.Pixel(110, 110)), 2));
    // The copy of the parent's pixels matches what lies beneath.
    EXPECT_EQ(button.BackgroundCopy().Pixel(2, 10) & 0xFFFFFF, beneath.Pixel(102, 110) & 0xFFFFFF);

    testing::SendMouse(*form_, WM_MOUSEMOVE, 0, 110, 110);
    EXPECT_EQ(button.State(), TImageButtonState::selected);
    EXPECT_EQ(RenderedPixel(120, 110) & 0xFFFFFF, 0x00FF00u);

    testing::SendMouse(*form_, WM_LBUTTONDOWN, MK_LBUTTON, 110, 110);
    EXPECT_EQ(button.State(), TImageButtonState::downed);
    EXPECT_EQ(RenderedPixel(120, 110) & 0xFFFFFF, 0x0000FFu);
    testing::SendMouse(*form_, WM_MOUSEMOVE, MK_LBUTTON, 111, 111);
    EXPECT_EQ(button.State(), TImageButtonState::downed);  // held: moves change nothing
    testing::SendMouse(*form_, WM_LBUTTONUP, 0, 111, 111);
    EXPECT_EQ(button.State(), TImageButtonState::downed);  // releasing changes nothing

    testing::SendMouse(*form_, WM_MOUSEMOVE, 0, 10, 140);  // onto the body: leaves the button
    EXPECT_EQ(button.State(), TImageButtonState::normal);
}

TEST_F(SkinnedDrawing, ButtonSeesTheCurrentBackgroundAfterTheFormChanges) {
    auto& button = form_->Add<TImageButton>();
    button.SetBounds(100, 100, 24, 24);
    button.SetBackground(BandedSkin(Argb(255, 255, 0, 0)));
    form_->RenderClient(rendered_);
    const std::uint32_t before = rendered_.Pixel(102, 110);
    form_->SetColor(RGB(0, 200, 200));
    tile_.Clear();
    form_->RenderClient(rendered_);
    EXPECT_NE(rendered_.Pixel(102, 110), before);
    EXPECT_EQ(button.BackgroundCopy().Pixel(2, 10) & 0xFFFFFF, rendered_.Pixel(102, 110) & 0xFFFFFF);
}

TEST_F(SkinnedDrawing, EmptySelectedSkinLeavesTheNormalSkin) {
    auto& button = form_->Add<TImageButton>();
    button.SetBackground(BandedSkin(Argb(255, 255, 0, 0)));
    button.SetBackgroundSelected(BandedSkin(Argb(255, 0, 255, 0)));
    button.SetBackgroundSelected(TPicture());
    EXPECT_TRUE(button.AlphaBitmap(TImageButtonState::selected).Empty());
    EXPECT_EQ(button.AlphaBitmap(TImageButtonState::normal).Size(), (IntSize{24, 24}));
}

// The bounding box of the pixels where two renders differ inside `area`.
IntRect Difference(const TBitmap32& a, const TBitmap32& b, IntRect area) {
    IntRect box{area.right, area.bottom, area.left, area.top};
    for (int y = area.top; y < area.bottom; ++y) {
        for (int x = area.left; x < area.right; ++x) {
            if ((a.Pixel(x, y) & 0xFFFFFF) == (b.Pixel(x, y) & 0xFFFFFF)) continue;
            box = {std::min(box.left, x), std::min(box.top, y), std::max(box.right, x + 1),
                   std::max(box.bottom, y + 1)};
        }
    }
    return box;
}

TEST_F(SkinnedDrawing, PressedCaptionIsDrawnOnePixelLower) {
    auto& button = form_->Add<TImageButton>();
    button.SetBounds(40, 60, 100, 40);
    TBitmap32 bare;
    form_->RenderClient(bare);
    button.SetCaption("OK");

    TBitmap32 normal;
    form_->RenderClient(normal);
    const IntRect area = button.BoundsRect();
    const IntRect up = Difference(bare, normal, area);
    ASSERT_FALSE(up.IsEmpty());

    testing::SendMouse(*form_, WM_LBUTTONDOWN, MK_LBUTTON, 50, 65);
    TBitmap32 pressed;
    form_->RenderClient(pressed);
    const IntRect down = Difference(bare, pressed, area);
    EXPECT_EQ(down, up.Offset(0, 1));
    testing::SendMouse(*form_, WM_LBUTTONUP, 0, 50, 65);
}

TEST_F(SkinnedDrawing, ButtonWithPictureAndCaptionDrawsBoth) {
    auto& button = form_->Add<TImageButton>();
    button.SetBounds(40, 60, 100, 40);
    TBitmap32 bare;
    form_->RenderClient(bare);
    button.Picture.Assign(MakePicture(
        10, 10, [](int, int) { return Argb(255, 255, 255, 0); }, true, false));
    button.SetCaption("Go");
    form_->RenderClient(rendered_);
    const IntRect drawn = Difference(bare, rendered_, button.BoundsRect());
    // The yellow picture starts the centred pair and sits centred vertically
    // (rows 75 to 84 of the form).
    const int pictureLeft = drawn.left;
    EXPECT_EQ(rendered_.Pixel(pictureLeft, 75) & 0xFFFFFF, 0xFFFF00u);
    EXPECT_EQ(rendered_.Pixel(pictureLeft + 9, 84) & 0xFFFFFF, 0xFFFF00u);
    EXPECT_NE(rendered_.Pixel(pictureLeft, 74) & 0xFFFFFF, 0xFFFF00u);
    EXPECT_NE(rendered_.Pixel(pictureLeft, 85) & 0xFFFFFF, 0xFFFF00u);
    EXPECT_GT(drawn.right, pictureLeft + 10);  // the caption follows the picture
}

TEST_F(SkinnedDrawing, NineSliceLimitsTheSidesOfANarrowControl) {
    // Corners 10 wide of distinct colours; a 15-pixel control gets corners of 7.
    const TPicture skin = MakePicture(
        30, 30,
        [](int x, int) {
            return x < 10 ? Argb(255, 255, 0, 0) : x >= 20 ? Argb(255, 0, 0, 255) : Argb(255, 0, 255, 0);
        },
        true, true);
    auto& panel = form_->Add<TImagePanel>();
    panel.SetBounds(50, 60, 15, 30);
    panel.SetSideWidth(10);
    panel.SetSideHeight(10);
    panel.SetBackground(skin);
    form_->RenderClient(rendered_);
    EXPECT_EQ(rendered_.Pixel(50, 62) & 0xFFFFFF, 0xFF0000u);
    EXPECT_EQ(rendered_.Pixel(56, 62) & 0xFFFFFF, 0xFF0000u);
    EXPECT_EQ(rendered_.Pixel(58, 62) & 0xFFFFFF, 0x0000FFu);
    EXPECT_EQ(rendered_.Pixel(64, 88) & 0xFFFFFF, 0x0000FFu);
}

}  // namespace
}  // namespace vh::win32
