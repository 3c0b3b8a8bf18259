#include "ui/ButtonLayout.h"

namespace vh {

ButtonContentLayout LayoutButtonContent(IntSize client, IntSize picture, IntSize caption) noexcept {
    const int cw = client.width;
    const int ch = client.height;
    const int pw = picture.width;
    const int ph = picture.height;
    const int tw = caption.width;
    const int th = caption.height;
    ButtonContentLayout layout;
    if (ph != 0) layout.picture = {0, 0, pw, ph};
    if (th != 0) layout.caption = {pw, 0, pw + tw, th};
    if (ph == 0) {
        layout.caption = IntRect{0, 0, tw, th}.Offset((cw - tw) / 2, (ch - th) / 2);
    } else if (th == 0) {
        layout.picture = layout.picture.Offset((cw - pw) / 2, (ch - ph) / 2);
    } else {
        layout.picture = layout.picture.Offset((cw - pw - tw) / 2, (ch - ph) / 2);
        layout.caption = IntRect{0, 0, tw, th}.Offset(layout.picture.right, (ch - th) / 2);
    }
    if (th == 0) layout.caption = {};
    return layout;
}

IntRect CaptionRectForState(IntRect caption, TImageButtonState state) noexcept {
    return state == TImageButtonState::downed ? caption.Offset(0, 1) : caption;
}

std::optional<TImageButtonState> NextButtonState(ButtonMouseEvent event, bool buttonHeld) noexcept {
    switch (event) {
        case ButtonMouseEvent::pressed: return TImageButtonState::downed;
        case ButtonMouseEvent::moved:
            if (buttonHeld) return std::nullopt;
            return TImageButtonState::selected;
        case ButtonMouseEvent::left: return TImageButtonState::normal;
    }
    return std::nullopt;
}

}  // namespace vh
