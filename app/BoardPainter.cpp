#include "app/BoardPainter.h"

#include "awt/DibSurface.h"

#include <algorithm>
#include <cstring>

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
    if (top >= surface.getHeight()) {
        return;
    }
    const int left = first * cellSize;
    const int right = std::min(last * cellSize, surface.getWidth());
    std::uint32_t* const pixels = surface.row(top);
    if (cellSize == 1) {
        // Only the changed cells take a new value, so cells drawn earlier keep their colour.
        for (int c = first; c < last; ++c) {
            const std::uint32_t changed = 0u - static_cast<std::uint32_t>(next[c] ^ previous[c]);
            pixels[c] = (pixels[c] & ~changed) | ((0u - next[c]) & live & changed);
        }
    } else {
        for (int c = first; c < last; ++c) {
            if (next[c] != previous[c]) {
                const int x = c * cellSize;
                std::fill(pixels + x, pixels + std::min(x + cellSize, right), next[c] ? live : 0u);
            }
        }
    }
    copyDown(top, left, right);
    surface.markDirty(left, top, right, top + cellSize);
}

void BoardPainter::copyDown(int top, int left, int right) noexcept {
    const int bottom = std::min(top + cellSize, surface.getHeight());
    const std::uint32_t* const source = surface.row(top) + left;
    const std::size_t bytes = static_cast<std::size_t>(right - left) * sizeof(std::uint32_t);
    for (int y = top + 1; y < bottom; ++y) {
        std::memcpy(surface.row(y) + left, source, bytes);
    }
}
