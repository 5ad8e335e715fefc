#pragma once

#include <windows.h>

#include <cstddef>
#include <cstdint>
#include <vector>

#include "app/SeedPicture.h"

// The pixels of a rectangle of the screen, held in memory as 0x00RRGGBB: what the desktop would show
// there. A pixel nothing has been placed on (outside every monitor) cannot be read.
class PlacedPicture final : public SeedPicture {
public:
    static constexpr std::uint32_t UNREADABLE = 0xFFFFFFFF;

    // Throws std::bad_alloc when the area does not fit in memory.
    explicit PlacedPicture(const RECT& area);

    const RECT& getArea() const noexcept { return area; }
    int getWidth() const noexcept { return area.right - area.left; }
    int getHeight() const noexcept { return area.bottom - area.top; }
    // The pixels of row y (screen coordinates, inside the area) from the area's left edge on.
    std::uint32_t* row(int y) noexcept { return pixels.data() + offset(area.left, y); }
    // Gives rect (screen coordinates, cut to the area) the colour.
    void fill(const RECT& rect, COLORREF colour) noexcept;

    COLORREF getPixel(int x, int y) const noexcept override;
    const std::uint32_t* readableRun(int x, int y, int count) const noexcept override;

private:
    bool contains(int x, int y) const noexcept {
        return x >= area.left && x < area.right && y >= area.top && y < area.bottom;
    }
    std::size_t offset(int x, int y) const noexcept {
        return static_cast<std::size_t>(y - area.top) * static_cast<std::size_t>(getWidth()) +
               static_cast<std::size_t>(x - area.left);
    }

    RECT area;
    std::vector<std::uint32_t> pixels;
};
