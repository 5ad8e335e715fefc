#include "app/BoardPainter.h"

#include "awt/DibSurface.h"

#include <algorithm>
#include <cstring>

namespace {

std::uint64_t load64(const std::uint8_t* bytes) noexcept {
    std::uint64_t word;
    std::memcpy(&word, bytes, sizeof(word));
    return word;
}

bool unchanged(const std::uint8_t* next, const std::uint8_t* previous, int count) noexcept {
    std::uint64_t difference = 0;
    int c = 0;
    for (; c + 8 <= count; c += 8) difference |= load64(next + c) ^ load64(previous + c);
    for (; c < count; ++c) difference |= next[c] ^ previous[c];
    return difference == 0;
}

// Cells [first, last) of a row at one pixel each: the colour for a birth, black for a death, the old
// pixel otherwise. Restrict pointers and no branches, so the compiler vectorises it.
void blendRow(std::uint32_t* __restrict pixels, const std::uint8_t* __restrict next,
              const std::uint8_t* __restrict previous, int first, int last, std::uint32_t colour) noexcept {
    for (int c = first; c < last; ++c) {
        const std::uint32_t changed = 0u - static_cast<std::uint32_t>(next[c] ^ previous[c]);
        pixels[c] = (pixels[c] & ~changed) | ((0u - next[c]) & colour & changed);
    }
}

}  // namespace

BoardPainter::BoardPainter(awt::DibSurface& surface, int cellSize, COLORREF colour) noexcept
    : surface(surface), cellSize(cellSize), live(awt::DibSurface::toPixel(colour)) {}

void BoardPainter::setColor(COLORREF colour) noexcept {
    live = awt::DibSurface::toPixel(colour);
}

void BoardPainter::paintAll(const LifeBoard& board) {
    const int width = surface.getWidth();
    for (int row = 0; row < board.getRows() && row * cellSize < surface.getHeight(); ++row) {
        const std::uint8_t* const cells = board.cells(row);
        std::uint32_t* const pixels = surface.row(row * cellSize);
        // Branch-free, so it vectorises: all bits of the colour where alive, none where dead.
        if (cellSize == 1) {
            for (int x = 0; x < width; ++x) pixels[x] = (0u - cells[x]) & live;
        } else {
            for (int x = 0; x < width; ++x) pixels[x] = (0u - cells[x / cellSize]) & live;
        }
        copyDown(row * cellSize, 0, width);
    }
    surface.markAllDirty();
}

void BoardPainter::paintCell(int column, int row, bool alive) {
    const int left = column * cellSize;
    const int top = row * cellSize;
    const int right = std::min(left + cellSize, surface.getWidth());
    const int bottom = std::min(top + cellSize, surface.getHeight());
    for (int y = top; y < bottom; ++y) {
        std::fill(surface.row(y) + left, surface.row(y) + right, alive ? live : 0u);
    }
    surface.markDirty(left, top, right, bottom);
}

void BoardPainter::rowChanged(int row, const std::uint8_t* next, const std::uint8_t* previous, int first, int last) {
    const int top = row * cellSize;
    const int bottom = std::min(top + cellSize, surface.getHeight());
    const int right = std::min(last * cellSize, surface.getWidth());
    if (top >= bottom) {
        return;
    }
    // Only the changed cells take a new value, so cells drawn earlier keep their colour.
    const std::uint32_t colour = live;  // a local, so stores to the pixels cannot be taken to change it
    if (cellSize == 1) {
        std::uint32_t* const pixels = surface.row(top);
        // Stretches of 64 unchanged cells are skipped whole; the rest is blended branch-free.
        for (int c = first; c < last; c += 64) {
            const int end = std::min(c + 64, last);
            if (!unchanged(next + c, previous + c, end - c)) {
                blendRow(pixels, next, previous, c, end, colour);
            }
        }
    } else {
        // Runs of eight unchanged cells are skipped whole.
        for (int c = first; c < last; ++c) {
            if ((c & 7) == 0 && c + 8 <= last && load64(next + c) == load64(previous + c)) {
                c += 7;
                continue;
            }
            if (next[c] != previous[c]) {
                const int left = c * cellSize;
                const int cellRight = std::min(left + cellSize, right);
                const std::uint32_t value = next[c] ? colour : 0u;
                for (int y = top; y < bottom; ++y) std::fill(surface.row(y) + left, surface.row(y) + cellRight, value);
            }
        }
    }
    surface.markDirty(first * cellSize, top, right, bottom);
}

void BoardPainter::copyDown(int top, int left, int right) noexcept {
    const int bottom = std::min(top + cellSize, surface.getHeight());
    const std::uint32_t* const source = surface.row(top) + left;
    const std::size_t bytes = static_cast<std::size_t>(right - left) * sizeof(std::uint32_t);
    for (int y = top + 1; y < bottom; ++y) {
        std::memcpy(surface.row(y) + left, source, bytes);
    }
}
