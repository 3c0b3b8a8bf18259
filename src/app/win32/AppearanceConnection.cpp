#include "app/win32/AppearanceConnection.h"

#include <string>

#include "storage/AppearancePreferences.h"
#include "ui/win32/skin/BaseFRM.h"

namespace vh::win32 {
namespace {

// A colour preference as a COLORREF; only the red, green and blue bytes count.
COLORREF ColorOf(std::int32_t value) {
    return static_cast<COLORREF>(value) & 0x00FFFFFFu;
}

// The forms keep a pointer to this one picture; it follows the "Image"
// preference whenever the appearance is asked for.
struct SharedBackground {
    TPicture picture;
    std::string path;
    bool loaded = false;

    const TPicture* Follow(TAppearancePreferences& preferences) {
        const std::string wanted = preferences.GetBackgroundImage();
        if (!loaded || wanted != path) {
            const TImage32& image = preferences.GetBackgroundPicture();
            if (image.Empty()) {
                picture.Clear();
            } else {
                TGraphic graphic;
                graphic.size = {image.Width, image.Height};
                graphic.pixels = image.Pixels;
                graphic.png = image.Format == TPictureFormat::Png;
                graphic.transparency = image.HasAlpha;
                picture.SetGraphic(std::move(graphic));
            }
            path = wanted;
            loaded = true;
        }
        return &picture;
    }
};

SharedBackground& Background() {
    static SharedBackground background;
    return background;
}

}  // namespace

void ConnectAppearancePreferences(TAppearancePreferences& preferences) {
    SetAppearanceSource([&preferences] {
        TFormAppearance appearance;
        appearance.color = ColorOf(preferences.GetBackgroundColor());
        appearance.textColor = ColorOf(preferences.GetTextColor());
        appearance.transparency = preferences.GetTransparency();
        appearance.backgroundPicture = Background().Follow(preferences);
        return appearance;
    });
}

}  // namespace vh::win32
