#pragma once

#include <windows.h>

#include <cstddef>
#include <cstdint>
#include <vector>

#include "app/SeedPicture.h"

// The pixels of a rectangle of the screen, held in memory as 0x00RRGGBB: what the desktop would show
// there. Only the pixels a board with cells of step pixels reads are held: the area's top-left pixel
// and every step-th one right of and below it (step 1: all of them). A pixel not held, or one
// nothing has been placed on (outside every monitor), cannot be read.
class PlacedPicture final : public SeedPicture {
public:
    static constexpr std::uint32_t UNREADABLE = 0xFFFFFFFF;

    // Throws std::bad_alloc when the held pixels do not fit in memory. A step below 1 is 1.
    explicit PlacedPicture(const RECT& area, int step = 1);

    const RECT& getArea() const noexcept { return area; }
    int getStep() const noexcept { return step; }
    // The held pixels a row, and the held rows.
    int getColumns() const noexcept { return columns; }
    int getRows() const noexcept { return rows; }
    // The held columns (or rows) whose screen coordinate lies in [from, to), as [first, last) indices.
    void heldColumns(LONG from, LONG to, int& first, int& last) const noexcept;
    void heldRows(LONG from, LONG to, int& first, int& last) const noexcept;
    // The held pixels of held row index, from the area's left edge on.
    std::uint32_t* heldRow(int index) noexcept {
        return pixels.data() + static_cast<std::size_t>(index) * static_cast<std::size_t>(columns);
    }
    // Gives the held pixels in rect (screen coordinates) the colour.
    void fill(const RECT& rect, COLORREF colour) noexcept;

    COLORREF getPixel(int x, int y) const noexcept override;
    const std::uint32_t* readableRun(int x, int y, int count) const noexcept override;
    const std::uint32_t* sampledRun(int x, int y, int step, int count) const noexcept override;

private:
    // The held pixels from screen point (x, y) on, or null unless it is held.
    const std::uint32_t* held(int x, int y) const noexcept;

    RECT area;
    int step;
    int columns, rows;
    std::vector<std::uint32_t> pixels;
};
