#include "app/BoardPainter.h"

#include "awt/OneBitSurface.h"

#include <algorithm>
#include <cstring>

BoardPainter::BoardPainter(awt::OneBitSurface& surface, int cellSize) noexcept
    : surface(surface), cellSize(cellSize), stride(surface.getStride()),
      chunkRows(std::max(1, (1 << 20) / surface.getStride())), widener(cellSize) {}

void BoardPainter::presentWhileDrawing(HDC dc) noexcept {
    presentDC = dc;
    chunk = 0;
}

int BoardPainter::writeWord(std::uint8_t* out, int k, std::uint64_t word) const noexcept {
    // A DIB row is rounded up to 4 bytes, the board's words to 8: the last word is cut.
    const int begin = k * 8 * cellSize;
    const int bytes = std::min(8 * cellSize, stride - begin);
    if (bytes <= 0) {
        return begin;
    }
    if (cellSize == 1) {
        // Measured faster than the table (see the benchmark's painting figures). The reversed
        // word's bytes in memory order are the pixels in order on a little-endian processor.
        const std::uint64_t pixels = cellpixels::reverseEachByte(word);
        std::memcpy(out + begin, &pixels, static_cast<std::size_t>(bytes));
    } else if (bytes == 8 * cellSize) {
        widener.widen(word, out + begin);
    } else {
        std::uint8_t whole[8 * cellpixels::Widener::MAX_CELL_SIZE];
        widener.widen(word, whole);
        std::memcpy(out + begin, whole, static_cast<std::size_t>(bytes));
    }
    return begin + bytes;
}

void BoardPainter::paintAll(const LifeBoard& board) {
    const int words = (board.getColumns() + 63) / 64;
    for (int row = 0; row < board.getRows() && row * cellSize < surface.getHeight(); ++row) {
        const std::uint64_t* const cells = board.words(row);
        std::uint8_t* const out = surface.row(row * cellSize);
        int end = 0;
        for (int k = 0; k < words; ++k) end = writeWord(out, k, cells[k]);
        copyDown(row * cellSize, 0, end);
    }
    surface.markAllDirty();
}

void BoardPainter::paintCell(int column, int row, bool alive) {
    const int top = row * cellSize;
    const int bottom = std::min(top + cellSize, surface.getHeight());
    const int left = column * cellSize;
    const int right = std::min(left + cellSize, surface.getWidth());
    for (int y = top; y < bottom; ++y) {
        std::uint8_t* const out = surface.row(y);
        for (int x = left; x < right; ++x) {
            const auto bit = static_cast<std::uint8_t>(0x80 >> (x % 8));
            out[x / 8] = static_cast<std::uint8_t>(alive ? out[x / 8] | bit : out[x / 8] & ~bit);
        }
    }
    surface.markDirty(left, top, right, bottom);
}

void BoardPainter::rowChanged(int row, const std::uint64_t* next, const std::uint64_t* previous, int first,
                              int last) {
    const int top = row * cellSize;
    const int bottom = std::min(top + cellSize, surface.getHeight());
    if (top >= bottom) {
        return;
    }
    if (presentDC != nullptr && top / chunkRows != chunk) {
        // A failed copy (the window going away) loses nothing: the surface keeps the picture.
        surface.present(presentDC);
        chunk = top / chunkRows;
    }
    // Whole words of cells are written, 64 at a time: the unchanged cells among them keep their
    // value, since every pixel row shows the board's cells.
    std::uint8_t* const out = surface.row(top);
    int begin = -1;
    int end = 0;
    for (int k = first / 64; k <= (last - 1) / 64; ++k) {
        if (next[k] == previous[k]) continue;
        if (begin < 0) begin = k * 8 * cellSize;
        end = writeWord(out, k, next[k]);
    }
    if (begin >= 0) {
        // The pixel rows of a cell row are equal, so the span between the changed words copies as one.
        copyDown(top, begin, end);
    }
    surface.markDirty(first * cellSize, top, last * cellSize, bottom);
}

void BoardPainter::copyDown(int top, int begin, int end) noexcept {
    const int bottom = std::min(top + cellSize, surface.getHeight());
    const std::uint8_t* const source = surface.row(top) + begin;
    for (int y = top + 1; y < bottom; ++y) {
        std::memcpy(surface.row(y) + begin, source, static_cast<std::size_t>(end - begin));
    }
}
