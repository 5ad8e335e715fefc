#include "app/PlacedPicture.h"

#include <algorithm>
#include <cstdint>

namespace {

RECT validated(const RECT& area) noexcept {
    return RECT{area.left, area.top, std::max(area.left, area.right), std::max(area.top, area.bottom)};
}

// Held indices whose coordinate origin + index x step lies in [from, to), as [first, last).
void heldRange(LONG origin, int step, int count, LONG from, LONG to, int& first, int& last) noexcept {
    const auto index = [&](LONG at) {
        const std::int64_t offset = std::max<std::int64_t>(0, static_cast<std::int64_t>(at) - origin);
        return static_cast<int>(std::min<std::int64_t>(count, (offset + step - 1) / step));
    };
    first = index(from);
    last = std::max(first, index(to));
}

}  // namespace

PlacedPicture::PlacedPicture(const RECT& area, int step)
    : area(validated(area)),
      step(std::max(1, step)),
      columns((this->area.right - this->area.left + this->step - 1) / this->step),
      rows((this->area.bottom - this->area.top + this->step - 1) / this->step),
      pixels(static_cast<std::size_t>(columns) * static_cast<std::size_t>(rows), UNREADABLE) {}

void PlacedPicture::heldColumns(LONG from, LONG to, int& first, int& last) const noexcept {
    heldRange(area.left, step, columns, from, to, first, last);
}

void PlacedPicture::heldRows(LONG from, LONG to, int& first, int& last) const noexcept {
    heldRange(area.top, step, rows, from, to, first, last);
}

void PlacedPicture::fill(const RECT& rect, COLORREF colour) noexcept {
    int left = 0, right = 0, top = 0, bottom = 0;
    heldColumns(rect.left, rect.right, left, right);
    heldRows(rect.top, rect.bottom, top, bottom);
    const std::uint32_t pixel = (GetRValue(colour) << 16) | (GetGValue(colour) << 8) | GetBValue(colour);
    for (int row = top; row < bottom; ++row) {
        std::fill(heldRow(row) + left, heldRow(row) + right, pixel);
    }
}

const std::uint32_t* PlacedPicture::held(int x, int y) const noexcept {
    if (x < area.left || x >= area.right || y < area.top || y >= area.bottom || (x - area.left) % step != 0 ||
        (y - area.top) % step != 0) {
        return nullptr;
    }
    return pixels.data() + static_cast<std::size_t>((y - area.top) / step) * static_cast<std::size_t>(columns) +
           static_cast<std::size_t>((x - area.left) / step);
}

COLORREF PlacedPicture::getPixel(int x, int y) const noexcept {
    const std::uint32_t* const pixel = held(x, y);
    if (pixel == nullptr || *pixel == UNREADABLE) {
        return CLR_INVALID;
    }
    return RGB((*pixel >> 16) & 0xFF, (*pixel >> 8) & 0xFF, *pixel & 0xFF);
}

const std::uint32_t* PlacedPicture::readableRun(int x, int y, int count) const noexcept {
    // Beyond one pixel, a run holds the pixels between the held ones only when every pixel is held.
    return step == 1 || count == 1 ? sampledRun(x, y, step, count) : nullptr;
}

const std::uint32_t* PlacedPicture::sampledRun(int x, int y, int runStep, int count) const noexcept {
    if (count <= 0 || (runStep != step && count > 1)) {
        return nullptr;
    }
    const std::uint32_t* const run = held(x, y);
    if (run == nullptr || held(x + (count - 1) * step, y) == nullptr) {
        return nullptr;
    }
    // A run holds readable pixels only; the rare row that crosses a gap between monitors is read pixel by pixel.
    return std::find(run, run + count, UNREADABLE) == run + count ? run : nullptr;
}
