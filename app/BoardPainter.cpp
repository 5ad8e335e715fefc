#include "app/BoardPainter.h"

#include "app/Bits.h"
#include "awt/DibSurface.h"

#include <algorithm>
#include <cstring>

BoardPainter::BoardPainter(awt::DibSurface& surface, int cellSize, COLORREF colour) noexcept
    : surface(surface), cellSize(cellSize), chunkRows(std::max(1, (1 << 20) / (4 * surface.getWidth()))) {
    setColor(colour);
}

void BoardPainter::presentWhileDrawing(HDC dc) noexcept {
    presentDC = dc;
    chunk = 0;
}

void BoardPainter::setColor(COLORREF colour) noexcept {
    const std::uint32_t value = awt::DibSurface::toPixel(colour);
    oneColour = oneColour && value == live;
    live = value;
    // Pattern n holds the pixels of four cells, cell i alive when bit i of n is set.
    for (int n = 0; n < 16; ++n) {
        for (int i = 0; i < 4; ++i) patterns[n][i] = (n >> i) & 1 ? live : 0u;
    }
}

void BoardPainter::paintAll(const LifeBoard& board) {
    const int width = surface.getWidth();
    const std::uint32_t colour = live;  // a local, so stores to the pixels cannot be taken to change it
    for (int row = 0; row < board.getRows() && row * cellSize < surface.getHeight(); ++row) {
        const std::uint64_t* const cells = board.words(row);
        std::uint32_t* const pixels = surface.row(row * cellSize);
        int x = 0;
        if (cellSize == 1) {
            // Four cells at a time from their pattern, the rest of the row one by one.
            for (; x + 4 <= width; x += 4) {
                std::memcpy(pixels + x, patterns[(cells[x / 64] >> (x % 64)) & 15], sizeof patterns[0]);
            }
        } else if (cellSize == 2) {
            // Two cells at a time: the pattern of four cells holds two pairs of pixels.
            for (int column = 0; x + 4 <= width; x += 4, column += 2) {
                const unsigned two = (cells[column / 64] >> (column % 64)) & 3;
                std::memcpy(pixels + x, patterns[(two & 1) * 3 + (two >> 1) * 12], sizeof patterns[0]);
            }
        }
        for (int column = x / cellSize; x < width; ++column) {
            // All bits of the colour where alive, none where dead.
            const std::uint32_t alive = static_cast<std::uint32_t>((cells[column / 64] >> (column % 64)) & 1);
            const std::uint32_t value = (0u - alive) & colour;
            for (const int end = std::min(x + cellSize, width); x < end; ++x) pixels[x] = value;
        }
        copyDown(row * cellSize, 0, width);
    }
    surface.markAllDirty();
    oneColour = true;
}

void BoardPainter::paintCell(int column, int row, bool alive) {
    const int top = row * cellSize;
    const int bottom = std::min(top + cellSize, surface.getHeight());
    fillCell(column, top, bottom, surface.getWidth(), alive ? live : 0u);
    surface.markDirty(column * cellSize, top, (column + 1) * cellSize, bottom);
}

void BoardPainter::rowChanged(int row, const std::uint64_t* next, const std::uint64_t* previous, int first,
                              int last) {
    const int top = row * cellSize;
    const int bottom = std::min(top + cellSize, surface.getHeight());
    const int right = std::min(last * cellSize, surface.getWidth());
    if (top >= bottom) {
        return;
    }
    if (presentDC != nullptr && top / chunkRows != chunk) {
        // A failed copy (the window going away) loses nothing: the surface keeps the picture.
        surface.present(presentDC);
        chunk = top / chunkRows;
    }
    // Only the changed cells take a new value, so cells drawn earlier keep their colour. Changed
    // cells are found 64 at a time.
    const std::uint32_t colour = live;
    std::uint32_t* const pixels = surface.row(top);
    const std::size_t stride = static_cast<std::size_t>(surface.getWidth());
    // Whole cells of the common sizes are written with stores of their own size; the rest, and
    // the cells cut by the surface's edges, through fillCell.
    const bool wholeSquares = cellSize == 2 && bottom - top == 2;
    const int wholeColumns = wholeSquares ? right / 2 : 0;
    if (cellSize == 1 && oneColour) {
        // Every cell of a word with changes is written, four at a time from its pattern: whole runs
        // of pixels in order, which the processor writes faster than single scattered pixels. The
        // unchanged cells among them keep their colour, as all cells have the current one.
        for (int k = first / 64; k <= (last - 1) / 64; ++k) {
            if (next[k] == previous[k]) continue;
            const int end = std::min(64, surface.getWidth() - k * 64);
            std::uint32_t* const out = pixels + k * 64;
            int x = 0;
            for (; x + 4 <= end; x += 4) std::memcpy(out + x, patterns[(next[k] >> x) & 15], sizeof patterns[0]);
            for (; x < end; ++x) out[x] = (next[k] >> x) & 1 ? colour : 0u;
        }
        surface.markDirty(first, top, right, bottom);
        return;
    }
    for (int k = first / 64; k <= (last - 1) / 64; ++k) {
        for (std::uint64_t changed = next[k] ^ previous[k]; changed != 0; changed &= changed - 1) {
            const int bit = bits::lowest(changed);
            const std::uint32_t value = (next[k] >> bit) & 1 ? colour : 0u;
            const int column = k * 64 + bit;
            if (cellSize == 1) {
                pixels[column] = value;
            } else if (column < wholeColumns) {
                const std::uint32_t pair[2] = {value, value};
                std::memcpy(pixels + 2 * column, pair, sizeof pair);
                std::memcpy(pixels + stride + 2 * column, pair, sizeof pair);
            } else {
                fillCell(column, top, bottom, right, value);
            }
        }
    }
    surface.markDirty(first * cellSize, top, right, bottom);
}

void BoardPainter::fillCell(int column, int top, int bottom, int right, std::uint32_t value) noexcept {
    const int left = column * cellSize;
    const int count = std::min(left + cellSize, right) - left;
    const std::size_t stride = static_cast<std::size_t>(surface.getWidth());
    std::uint32_t* pixels = surface.row(top) + left;
    for (int y = top; y < bottom; ++y, pixels += stride) {
        for (int x = 0; x < count; ++x) pixels[x] = value;
    }
}

void BoardPainter::copyDown(int top, int left, int right) noexcept {
    const int bottom = std::min(top + cellSize, surface.getHeight());
    const std::uint32_t* const source = surface.row(top) + left;
    const std::size_t bytes = static_cast<std::size_t>(right - left) * sizeof(std::uint32_t);
    for (int y = top + 1; y < bottom; ++y) {
        std::memcpy(surface.row(y) + left, source, bytes);
    }
}
