#include "ui/AutoHide.h"

#include <algorithm>

#include "ui/Docking.h"

namespace vh {

bool KeepShown(bool paused, bool foreground, const IntRect& clientOnScreen, IntPoint cursor) noexcept {
    if (paused) return false;
    return foreground || clientOnScreen.Contains(cursor.x, cursor.y);
}

int HiddenLeft(const IntRect& workArea, int width, std::uint8_t side, int sliver) noexcept {
    return DockedLeft(side) ? workArea.left + sliver - width : workArea.right - sliver;
}

void TAutoHide::DeactivationTick(bool keepShown, bool autohide) noexcept {
    if (paused_) return;
    if (!keepShown && state_ == TSlideState::Shown && !autohideTimer_ && autohide) autohideTimer_ = true;
}

void TAutoHide::AutohideTick(bool windowNormal, bool keepShown, bool autohide) noexcept {
    if (paused_) return;
    if (!windowNormal || keepShown || !autohide) return;
    autohideTimer_ = false;
    if (state_ == TSlideState::Shown) slideTimer_ = true;
}

int TAutoHide::SlideTick(int left, int width, const IntRect& workArea, std::uint8_t side, bool autohide) noexcept {
    if (paused_) return left;
    if (state_ == TSlideState::Shown) state_ = TSlideState::Hiding;
    if (state_ == TSlideState::Hidden) state_ = TSlideState::Showing;
    // A window narrower than ten pixels still moves, so the slide ends.
    const int step = std::max(1, width / 10);
    const bool onLeft = DockedLeft(side);
    const bool hiding = state_ == TSlideState::Hiding;
    const int moved = hiding == onLeft ? left - step : left + step;

    bool done = false;
    int finalLeft = 0;
    if (hiding) {
        done = onLeft ? moved + width < workArea.left : moved > workArea.right;
        finalLeft = HiddenLeft(workArea, width, side, sliver_);
    } else {
        done = onLeft ? moved > workArea.left : moved + width < workArea.right;
        finalLeft = onLeft ? workArea.left : workArea.right - width;
    }
    if (!done) return moved;

    autohideTimer_ = false;
    slideTimer_ = false;
    state_ = hiding ? TSlideState::Hidden : TSlideState::Shown;
    if (state_ == TSlideState::Shown && autohide) autohideTimer_ = true;
    return finalLeft;
}

void TAutoHide::BodyMouseMove(bool autohide) noexcept {
    if (state_ == TSlideState::Hidden && autohide) slideTimer_ = true;
}

void TAutoHide::ShowHidden() noexcept {
    if (state_ == TSlideState::Hidden) slideTimer_ = true;
}

}  // namespace vh
