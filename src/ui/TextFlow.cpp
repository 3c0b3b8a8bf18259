#include "ui/TextFlow.h"

namespace vh {
namespace {

// Words: runs of non-blanks, except that a word overlapping `together` is
// joined with the others it overlaps.
std::vector<TextRange> Words(std::string_view text, TextRange together) {
    std::vector<TextRange> words;
    std::size_t i = 0;
    while (i < text.size()) {
        while (i < text.size() && text[i] == ' ') ++i;
        if (i >= text.size()) break;
        std::size_t end = i;
        while (end < text.size() && text[end] != ' ') ++end;
        if (!together.Empty() && i < together.end && end > together.begin) {
            // Extend to the end of the last word the kept part touches.
            end = end < together.end ? together.end : end;
            while (end < text.size() && text[end] != ' ') ++end;
        }
        words.push_back({i, end});
        i = end;
    }
    return words;
}

}  // namespace

std::vector<TextRange> FlowParagraph(std::string_view text, int width, const TextMeasure& measure, TextRange together) {
    std::vector<TextRange> lines;
    for (const TextRange& word : Words(text, together)) {
        if (!lines.empty() && measure(lines.back().begin, word.end) <= width) {
            lines.back().end = word.end;
        } else {
            lines.push_back(word);
        }
    }
    return lines;
}

IntRect PlaceInFlow(const std::vector<TextRange>& lines, TextRange part, int lineHeight, const TextMeasure& measure) {
    for (std::size_t i = 0; i < lines.size(); ++i) {
        const TextRange& line = lines[i];
        if (part.begin >= line.begin && part.end <= line.end && !part.Empty()) {
            const int left = measure(line.begin, part.begin);
            const int top = static_cast<int>(i) * lineHeight;
            return {left, top, left + measure(part.begin, part.end), top + lineHeight};
        }
    }
    return {};
}

}  // namespace vh
