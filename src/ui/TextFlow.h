#pragma once
// Word wrapping measured in the font actually used: a paragraph broken into
// lines no wider than a width, with one part (a link inside the paragraph)
// kept on one line, and where that part then falls.

#include <cstddef>
#include <functional>
#include <string_view>
#include <vector>

#include "ui/Geometry.h"

namespace vh {

// Byte offsets [begin, end) into the paragraph's text.
struct TextRange {
    std::size_t begin = 0;
    std::size_t end = 0;
    bool Empty() const noexcept { return end <= begin; }
    bool operator==(const TextRange&) const = default;
};

// The width in pixels of the text's bytes [begin, end) in the font in use.
using TextMeasure = std::function<int(std::size_t begin, std::size_t end)>;

// Lines of the paragraph (blanks where a line breaks are dropped; blanks
// inside a line kept): words are broken at blanks only, a word wider than
// the width gets a line of its own, and `together` (if not empty) is never
// broken.
std::vector<TextRange> FlowParagraph(std::string_view text, int width, const TextMeasure& measure,
                                     TextRange together = {});

// Where `part` falls in the flowed lines (each `lineHeight` high), relative to
// the paragraph's top-left; empty when it is not wholly on one line.
IntRect PlaceInFlow(const std::vector<TextRange>& lines, TextRange part, int lineHeight, const TextMeasure& measure);

}  // namespace vh
