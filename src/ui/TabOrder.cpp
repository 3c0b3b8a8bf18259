#include "ui/TabOrder.h"

#include <algorithm>
#include <numeric>

namespace vh {

std::vector<std::size_t> ReadingOrder(const std::vector<IntRect>& bounds) {
    std::vector<std::size_t> order(bounds.size());
    std::iota(order.begin(), order.end(), std::size_t{0});
    std::stable_sort(order.begin(), order.end(),
                     [&](std::size_t a, std::size_t b) { return bounds[a].top < bounds[b].top; });
    // Rows: each starts at the highest control not yet placed and takes
    // every later one whose top lies above the row's middle.
    std::vector<std::size_t> result;
    result.reserve(order.size());
    for (std::size_t first = 0; first < order.size();) {
        const IntRect& leader = bounds[order[first]];
        const int middle = leader.top + leader.Height() / 2;
        std::size_t end = first + 1;
        while (end < order.size() && bounds[order[end]].top < std::max(middle, leader.top + 1)) ++end;
        std::stable_sort(order.begin() + static_cast<std::ptrdiff_t>(first),
                         order.begin() + static_cast<std::ptrdiff_t>(end),
                         [&](std::size_t a, std::size_t b) { return bounds[a].left < bounds[b].left; });
        result.insert(result.end(), order.begin() + static_cast<std::ptrdiff_t>(first),
                      order.begin() + static_cast<std::ptrdiff_t>(end));
        first = end;
    }
    return result;
}

}  // namespace vh
