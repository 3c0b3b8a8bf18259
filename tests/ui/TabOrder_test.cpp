#include "ui/TabOrder.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace vh {
namespace {

// Each case names its controls by letter; the expected text is the Tab order.
TEST(TabOrder, RowsTopToBottomEachLeftToRight) {
    struct Case {
        const char* what;
        std::vector<IntRect> bounds;
        std::string order;
    } cases[] = {
        {"one column", {{0, 60, 80, 80}, {0, 0, 80, 20}, {0, 30, 80, 50}}, "bca"},
        {"a row given right to left", {{200, 0, 280, 20}, {100, 0, 180, 20}, {0, 0, 80, 20}}, "cba"},
        {"an edit 3 px lower than its label's row", {{100, 13, 300, 36}, {0, 10, 90, 30}, {0, 50, 90, 70}}, "bac"},
        {"a button below the row's middle starts a row", {{100, 11, 180, 31}, {0, 0, 90, 20}}, "ba"},
        {"a tall list beside a column of buttons",
         {{0, 0, 200, 300}, {210, 0, 290, 25}, {210, 30, 290, 55}, {0, 310, 80, 335}},
         "abcd"},
        {"empty controls keep their given order", {{0, 0, 0, 0}, {0, 0, 0, 0}}, "ab"},
        {"none", {}, ""},
    };
    for (const Case& c : cases) {
        std::string order;
        for (std::size_t i : ReadingOrder(c.bounds)) order += static_cast<char>('a' + i);
        EXPECT_EQ(order, c.order) << c.what;
    }
}

}  // namespace
}  // namespace vh
