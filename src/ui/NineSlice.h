#pragma once
// Nine-slice geometry: the corners of a skin keep their size, the edges and
// the centre stretch. The sides are limited to half the destination only,
// never to the bitmap, so a small bitmap yields source rectangles that may be
// empty, inverted or outside the bitmap; those parts are skipped (they would draw nothing).

#include <array>

#include "ui/Geometry.h"

namespace vh {

struct SlicePart {
    IntRect source;  // relative to the bitmap
    IntRect dest;    // relative to the destination rectangle's top-left corner
};

// The nine parts in drawing order: four corners (top-left, top-right,
// bottom-left, bottom-right), left and right edges, top and bottom edges,
// centre.
std::array<SlicePart, 9> NineSliceParts(IntSize bitmap, IntSize dest, int sideWidth, int sideHeight) noexcept;

// Whether a part copies anything: both rectangles have positive extents and
// the source lies inside the bitmap (AlphaBlend refuses anything else).
bool IsDrawable(const SlicePart& part, IntSize bitmap) noexcept;

}  // namespace vh
