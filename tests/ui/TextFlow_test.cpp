#include "ui/TextFlow.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace vh {
namespace {

// Every character 7 pixels wide, blanks 3: a proportional font in miniature.
TextMeasure MeasureOf(const std::string& text) {
    return [&text](std::size_t begin, std::size_t end) {
        int width = 0;
        for (std::size_t i = begin; i < end; ++i) width += text[i] == ' ' ? 3 : 7;
        return width;
    };
}

std::vector<std::string> LinesOf(const std::string& text, const std::vector<TextRange>& lines) {
    std::vector<std::string> result;
    for (const TextRange& line : lines) result.push_back(text.substr(line.begin, line.end - line.begin));
    return result;
}

TEST(TextFlow, BreaksAtBlanksWithinTheWidthAndKeepsInnerBlanks) {
    const std::string text = "Here's a reminder of  your tasks";
    struct Case {
        int width;
        std::vector<std::string> lines;
    };
    for (const Case& c : {Case{1000, {"Here's a reminder of  your tasks"}},
                          Case{100, {"Here's a", "reminder of ", "your tasks"}},  // 12 chars: 7*10+3*2=76
                          Case{20, {"Here's", "a", "reminder", "of", "your", "tasks"}}}) {
        const auto lines = FlowParagraph(text, c.width, MeasureOf(text));
        auto got = LinesOf(text, lines);
        for (auto& line : got) {
            while (!line.empty() && line.back() == ' ') line.pop_back();
        }
        std::vector<std::string> expected = c.lines;
        for (auto& line : expected) {
            while (!line.empty() && line.back() == ' ') line.pop_back();
        }
        EXPECT_EQ(got, expected) << "width " << c.width;
        for (const TextRange& line : lines) {
            // Only a single word wider than the width may exceed it.
            if (text.substr(line.begin, line.end - line.begin).find(' ') != std::string::npos) {
                EXPECT_LE(MeasureOf(text)(line.begin, line.end), c.width);
            }
        }
    }
}

TEST(TextFlow, ALinkStaysOnOneLineAndIsPlacedWhereItsWordsFall) {
    const std::string text = "If you see this again then contact us with a copy";
    const std::size_t at = text.find("contact us");
    const TextRange link{at, at + 10};
    const TextMeasure measure = MeasureOf(text);
    // "If you see this again then contact" fits in 220 pixels (214), with " us"
    // it would not: the link moves to the next line whole.
    const auto lines = FlowParagraph(text, 220, measure, link);
    const auto got = LinesOf(text, lines);
    ASSERT_EQ(got.size(), 2u);
    EXPECT_EQ(got[0], "If you see this again then");
    EXPECT_EQ(got[1], "contact us with a copy");
    EXPECT_EQ(PlaceInFlow(lines, link, 16, measure), (IntRect{0, 16, 66, 32}));
    // On a wide line it sits after the words before it.
    const auto wide = FlowParagraph(text, 1000, measure, link);
    const int left = measure(0, at);
    EXPECT_EQ(PlaceInFlow(wide, link, 16, measure), (IntRect{left, 0, left + 66, 16}));
    // Without keeping it together the words break between "contact" and "us",
    // and the part is on no single line.
    const auto split = FlowParagraph(text, 220, measure);
    EXPECT_TRUE(PlaceInFlow(split, link, 16, measure).IsEmpty());
}

}  // namespace
}  // namespace vh
