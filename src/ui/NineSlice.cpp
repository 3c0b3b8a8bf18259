#include "ui/NineSlice.h"

namespace vh {

std::array<SlicePart, 9> NineSliceParts(IntSize bitmap, IntSize dest, int sideWidth, int sideHeight) noexcept {
    const int bw = bitmap.width;
    const int bh = bitmap.height;
    const int dw = dest.width;
    const int dh = dest.height;
    int sw = sideWidth;
    int sh = sideHeight;
    // A narrow control gets two corners of half its width each; an odd width
    // leaves the middle column to the centre.
    if (2 * sw > dw) sw = dw / 2;
    if (2 * sh > dh) sh = dh / 2;
    return {{
        {{0, 0, sw, sh}, {0, 0, sw, sh}},
        {{bw - sw, 0, bw, sh}, {dw - sw, 0, dw, sh}},
        {{0, bh - sh, sw, bh}, {0, dh - sh, sw, dh}},
        {{bw - sw, bh - sh, bw, bh}, {dw - sw, dh - sh, dw, dh}},
        {{0, sh, sw, bh - sh}, {0, sh, sw, dh - sh}},
        {{bw - sw, sh, bw, bh - sh}, {dw - sw, sh, dw, dh - sh}},
        {{sw, 0, bw - sw, sh}, {sw, 0, dw - sw, sh}},
        {{sw, bh - sh, bw - sw, bh}, {sw, dh - sh, dw - sw, dh}},
        {{sw, sh, bw - sw, bh - sh}, {sw, sh, dw - sw, dh - sh}},
    }};
}

bool IsDrawable(const SlicePart& part, IntSize bitmap) noexcept {
    const IntRect& s = part.source;
    return !s.IsEmpty() && !part.dest.IsEmpty() && s.left >= 0 && s.top >= 0 && s.right <= bitmap.width &&
           s.bottom <= bitmap.height;
}

}  // namespace vh
