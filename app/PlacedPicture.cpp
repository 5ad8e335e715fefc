#include "app/PlacedPicture.h"

#include <algorithm>

namespace {

RECT validated(const RECT& area) noexcept {
    return RECT{area.left, area.top, std::max(area.left, area.right), std::max(area.top, area.bottom)};
}

}  // namespace

PlacedPicture::PlacedPicture(const RECT& area)
    : area(validated(area)),
      pixels(static_cast<std::size_t>(getWidth()) * static_cast<std::size_t>(getHeight()), UNREADABLE) {}

void PlacedPicture::fill(const RECT& rect, COLORREF colour) noexcept {
    RECT part;
    if (!IntersectRect(&part, &rect, &area)) {
        return;
    }
    const std::uint32_t pixel = (GetRValue(colour) << 16) | (GetGValue(colour) << 8) | GetBValue(colour);
    for (int y = part.top; y < part.bottom; ++y) {
        std::fill(pixels.begin() + static_cast<std::ptrdiff_t>(offset(part.left, y)),
                  pixels.begin() + static_cast<std::ptrdiff_t>(offset(part.right, y)), pixel);
    }
}

COLORREF PlacedPicture::getPixel(int x, int y) const noexcept {
    if (!contains(x, y)) {
        return CLR_INVALID;
    }
    const std::uint32_t pixel = pixels[offset(x, y)];
    return pixel == UNREADABLE ? CLR_INVALID : RGB((pixel >> 16) & 0xFF, (pixel >> 8) & 0xFF, pixel & 0xFF);
}

const std::uint32_t* PlacedPicture::readableRun(int x, int y, int count) const noexcept {
    if (count <= 0 || !contains(x, y) || !contains(x + count - 1, y)) {
        return nullptr;
    }
    // A run holds readable pixels only; the rare row that crosses a gap between monitors is read pixel by pixel.
    const std::uint32_t* const run = pixels.data() + offset(x, y);
    return std::find(run, run + count, UNREADABLE) == run + count ? run : nullptr;
}
