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

// The index of the lowest non-zero byte of a non-zero word (little-endian: the first changed cell),
// by a de Bruijn multiplication: portable, and without a branch per byte.
int lowestSetByte(std::uint64_t word) noexcept {
    static const unsigned char bitIndex[64] = {
        0,  1,  48, 2,  57, 49, 28, 3,  61, 58, 50, 42, 38, 29, 17, 4,  62, 55, 59, 36, 53, 51,
        43, 22, 45, 39, 33, 30, 24, 18, 12, 5,  63, 47, 56, 27, 60, 41, 37, 16, 54, 35, 52, 21,
        44, 32, 23, 11, 46, 26, 40, 15, 34, 20, 31, 10, 25, 14, 19, 9,  13, 8,  7,  6};
    const std::uint64_t lowest = word & (0 - word);
    return bitIndex[(lowest * 0x03F79D71B4CB0A89ull) >> 58] / 8;
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
    const std::uint32_t colour = live;  // a local, so stores to the pixels cannot be taken to change it
    for (int row = 0; row < board.getRows() && row * cellSize < surface.getHeight(); ++row) {
        const std::uint8_t* const cells = board.cells(row);
        std::uint32_t* const pixels = surface.row(row * cellSize);
        // Branch-free, so it vectorises: all bits of the colour where alive, none where dead.
        if (cellSize == 1) {
            for (int x = 0; x < width; ++x) pixels[x] = (0u - cells[x]) & colour;
        } else {
            for (int x = 0; x < width; ++x) pixels[x] = (0u - cells[x / cellSize]) & colour;
        }
        copyDown(row * cellSize, 0, width);
    }
    surface.markAllDirty();
}

void BoardPainter::paintCell(int column, int row, bool alive) {
    const int top = row * cellSize;
    const int bottom = std::min(top + cellSize, surface.getHeight());
    fillCell(column, top, bottom, surface.getWidth(), alive ? live : 0u);
    surface.markDirty(column * cellSize, top, (column + 1) * cellSize, bottom);
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
        // Eight cells are compared at once; only the changed ones among them are filled.
        for (int c = first; c < last; c += 8) {
            const int count = std::min(8, last - c);
            std::uint64_t difference = 0;
            if (count == 8) {
                difference = load64(next + c) ^ load64(previous + c);
            } else {
                for (int i = 0; i < count; ++i) {
                    difference |= static_cast<std::uint64_t>(next[c + i] ^ previous[c + i]) << (8 * i);
                }
            }
            while (difference != 0) {
                const int i = lowestSetByte(difference);
                difference &= ~(std::uint64_t{0xFF} << (8 * i));
                fillCell(c + i, top, bottom, right, next[c + i] ? colour : 0u);
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
