#include "ui/Docking.h"

namespace vh {

bool DockedLeft(std::uint8_t side) noexcept {
    return side == kDockLeft;
}

int DockedWindowHeight(const IntRect& workArea, bool liteView, int liteHeight) noexcept {
    return liteView ? liteHeight : workArea.Height();
}

IntPoint DockPosition(const IntRect& workArea, IntSize window, std::uint8_t side, std::uint8_t verticalPlace,
                      bool liteView) noexcept {
    IntPoint place;
    place.x = DockedLeft(side) ? workArea.left : workArea.right - window.width + 1;
    place.y = liteView && verticalPlace == kPlaceBottom ? workArea.bottom - window.height : workArea.top;
    return place;
}

DockChange DockChangeForDrag(IntPoint wanted, const IntRect& workArea, std::uint8_t side, bool liteView) noexcept {
    // C++ division truncates toward zero, as the rule wants.
    const int middleX = workArea.left + workArea.Width() / 2;
    const int middleY = workArea.top + workArea.Height() / 2;
    DockChange change;
    if (liteView) change.verticalPlace = wanted.y <= middleY ? kPlaceTopAgain : kPlaceBottom;
    if (!DockedLeft(side) && wanted.x < middleX) change.side = kDockLeft;
    if (DockedLeft(side) && wanted.x > middleX) change.side = kDockRight;
    return change;
}

}  // namespace vh
