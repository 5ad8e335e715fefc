#include "awt/DibSurface.h"

namespace awt {

DibSurface::DibSurface(int width, int height)
    : DibSection(width, height, 32, nullptr, 0), pixels(static_cast<std::uint32_t*>(getBits())) {}

COLORREF DibSurface::getPixel(int x, int y) const noexcept {
    if (x < 0 || x >= getWidth() || y < 0 || y >= getHeight()) {
        return CLR_INVALID;
    }
    const std::uint32_t rgb = row(y)[x];
    return RGB((rgb >> 16) & 0xFF, (rgb >> 8) & 0xFF, rgb & 0xFF);
}

}  // namespace awt
