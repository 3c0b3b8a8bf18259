#include "ui/DpiScale.h"

#include <cstdint>

namespace vh {
namespace {

constexpr int kLowestDpi = 48;
constexpr int kHighestDpi = 960;

// n / d rounded to nearest, halves away from zero (d > 0).
int RoundedQuotient(std::int64_t n, std::int64_t d) noexcept {
    const std::int64_t half = d / 2;
    return static_cast<int>(n >= 0 ? (n + half) / d : -((-n + half) / d));
}

}  // namespace

int ValidDpi(int dpi) noexcept {
    return dpi >= kLowestDpi && dpi <= kHighestDpi ? dpi : kDesignDpi;
}

int ScaleToDpi(int value, int dpi) noexcept {
    return RoundedQuotient(std::int64_t{value} * ValidDpi(dpi), kDesignDpi);
}

int UnscaleFromDpi(int value, int dpi) noexcept {
    return RoundedQuotient(std::int64_t{value} * kDesignDpi, ValidDpi(dpi));
}

IntRect ScaleRectToDpi(IntRect rect, int dpi) noexcept {
    return {ScaleToDpi(rect.left, dpi), ScaleToDpi(rect.top, dpi), ScaleToDpi(rect.right, dpi),
            ScaleToDpi(rect.bottom, dpi)};
}

IntSize ScaleSizeToDpi(IntSize size, int dpi) noexcept {
    return {ScaleToDpi(size.width, dpi), ScaleToDpi(size.height, dpi)};
}

}  // namespace vh
